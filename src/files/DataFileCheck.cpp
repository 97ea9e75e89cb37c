#include "files/DataFileCheck.h"

#include <algorithm>
#include <cstdio>

#include "files/DataRecord.h"

namespace tidemar {

void ScanDataFile(const DataFileReader& reader, const std::function<void(const FileRecord&)>& onRecord,
                  std::vector<DamagedRegion>* damage) {
    int64_t offset = 0;
    while (const auto record = reader.ReadNextRecord(offset, damage)) {
        onRecord(*record);
        offset = record->Offset + static_cast<int64_t>(record->Bytes.size());
    }
}

std::vector<FileProblem> VerifyDataFile(const DataFileReader& reader) {
    std::vector<FileProblem> problems;
    std::vector<DamagedRegion> damage;
    int64_t previousOffset = -1;
    char text[160];
    ScanDataFile(
        reader,
        [&](const FileRecord& record) {
            const int size = static_cast<int>(record.Bytes.size());
            const int backLink = RecordBackLink(record.Bytes.data(), size);
            if (backLink == 0) {
                problems.push_back({record.Offset, "no back-link"});
            } else if (previousOffset < 0) {
                if (backLink != size) {
                    std::snprintf(text, sizeof text, "back-link %d of the first record is not its size %d", backLink,
                                  size);
                    problems.push_back({record.Offset, text});
                }
            } else {
                const int64_t target = record.Offset + size - backLink;
                if (target != previousOffset) {
                    std::snprintf(text, sizeof text,
                                  "back-link %d leads to offset %lld, not to the record before at %lld", backLink,
                                  static_cast<long long>(target), static_cast<long long>(previousOffset));
                    problems.push_back({record.Offset, text});
                }
            }
            previousOffset = record.Offset;
        },
        &damage);

    for (const DamagedRegion& region : damage) {
        std::snprintf(text, sizeof text, "%s (%lld bytes passed over)", region.Reason.c_str(),
                      static_cast<long long>(region.Length));
        problems.push_back({region.Offset, text});
    }
    if (previousOffset < 0) problems.push_back({0, "no record in the file"});
    std::stable_sort(problems.begin(), problems.end(),
                     [](const FileProblem& a, const FileProblem& b) { return a.Offset < b.Offset; });
    return problems;
}

}  // namespace tidemar
