#pragma once
// The per-ping table: one header row, then one row per record. RFC 4180 quoting (a field
// with a comma, a quote or a line end is quoted, its quotes doubled), '.' decimals
// whatever the locale, LF line ends, UTF-8 text.

#include <string>
#include <string_view>

#include "export/ExportRecord.h"

namespace tidemar {

// The header row, LF included.
const std::string& CsvHeader();

// One field as RFC 4180 writes it.
void AppendCsvField(std::string& out, std::string_view field);

// The row of one record, LF included.
void AppendCsvRow(std::string& out, const ExportRecord& record);

}  // namespace tidemar
