// Texts of data files in the JSON and summaries tidemar-cli prints.
#include "CliCommands.h"
#include "core/Cp1252.h"
#include "export/MarkupText.h"

namespace tidemar::cli {

std::string JsonString(std::string_view bytes) { return JsonQuoted(Cp1252ToUtf8(bytes)); }

}  // namespace tidemar::cli
