#include "export/FileExport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "export/CsvRow.h"

namespace tidemar {

namespace {

constexpr size_t FlushBytes = 64 * 1024;

// Points of a track while the document's head is not known yet: in memory up to a
// limit, then in an unnamed temporary file.
class PointSpool {
public:
    explicit PointSpool(size_t memoryLimit) : memoryLimit_(memoryLimit) {}
    ~PointSpool() {
        if (file_) std::fclose(file_);
    }

    bool Add(std::string& text, std::string* reason) {
        if (!file_ && memory_.size() + text.size() <= memoryLimit_) {
            memory_ += text;
            text.clear();
            return true;
        }
        if (!file_) {
            file_ = std::tmpfile();
            if (!file_ || !Write(memory_)) return Fail(reason);
            memory_.clear();
            memory_.shrink_to_fit();
        }
        if (!Write(text)) return Fail(reason);
        text.clear();
        return true;
    }

    bool Replay(const ExportSink& sink, std::string* reason) {
        if (!file_) return sink(memory_);
        if (std::fflush(file_) != 0 || std::fseek(file_, 0, SEEK_SET) != 0) return Fail(reason);
        std::vector<char> chunk(FlushBytes);
        for (;;) {
            const size_t got = std::fread(chunk.data(), 1, chunk.size(), file_);
            if (got > 0 && !sink(std::string_view(chunk.data(), got))) return false;
            if (got < chunk.size()) return !std::ferror(file_) || Fail(reason);
        }
    }

private:
    bool Write(const std::string& text) { return std::fwrite(text.data(), 1, text.size(), file_) == text.size(); }
    bool Fail(std::string* reason) {
        *reason = std::string("cannot keep the track aside in a temporary file: ") + std::strerror(errno);
        return false;
    }

    size_t memoryLimit_;
    std::string memory_;
    std::FILE* file_ = nullptr;
};

void CountDamage(std::vector<DamagedRegion>& damage, ExportResult& result) {
    for (const DamagedRegion& region : damage) {
        if (result.DamagedStretches == 0) {
            result.FirstDamageOffset = region.Offset;
            result.FirstDamageReason = region.Reason;
        }
        ++result.DamagedStretches;
        result.SkippedBytes += region.Length;
    }
    damage.clear();
}

}  // namespace

ExportResult ExportDataFile(const DataFileReader& reader, const ExportOptions& options, const ExportSink& sink) {
    const ExportFormat format = options.Format;
    ExportResult result;
    std::string out;
    auto emit = [&](bool force) {
        if (result.Failed || (!force && out.size() < FlushBytes)) return !result.Failed;
        if (!out.empty() && !sink(out)) {
            result.Failed = true;
            result.FailReason = "write failed";
        }
        out.clear();
        return !result.Failed;
    };

    const bool csv = format == ExportFormat::Csv;
    PointSpool spool(options.SpoolMemoryBytes);
    TrackSummary summary;
    summary.Name = options.Name;
    SoundVelocityInEffect velocity(options.SettingsSoundVelocity);
    TrackCollapser collapser;
    std::vector<DamagedRegion> damage;
    if (csv) out = CsvHeader();

    int64_t offset = 0;
    while (const auto record = reader.ReadNextRecord(offset, &damage)) {
        CountDamage(damage, result);
        if (options.Stop && options.Stop->load()) {
            result.Failed = true;
            result.FailReason = "interrupted";
            return result;
        }
        const int size = static_cast<int>(record->Bytes.size());
        ExportRecord e = DecodeExportRecord(record->Bytes.data(), size, result.Records, record->Offset);
        e.SoundVelocity = velocity.Next(e.Header);
        offset = record->Offset + size;
        ++result.Records;
        if (e.Position) ++result.Positions;
        if (csv) {
            AppendCsvRow(out, e);
            if (!emit(false)) return result;
            continue;
        }
        if (e.Position && collapser.IsNew(*e.Position)) {
            const TrackPoint point{*e.Position, IsoDateTime(e.Header)};
            AppendTrackPoint(format, out, point, summary.Points);
            summary.Add(e, &point);
            if (out.size() >= FlushBytes && !spool.Add(out, &result.FailReason)) {
                result.Failed = true;
                return result;
            }
        } else {
            summary.Add(e, nullptr);
        }
    }
    CountDamage(damage, result);
    if (csv) {
        emit(true);
        return result;
    }

    result.Points = summary.Points;
    if (!spool.Add(out, &result.FailReason)) {
        result.Failed = true;
        return result;
    }
    out = TrackHead(format, summary);
    if (!emit(true)) return result;
    if (TrackHasBody(format, summary) && !spool.Replay(sink, &result.FailReason)) {
        result.Failed = true;
        if (result.FailReason.empty()) result.FailReason = "write failed";
        return result;
    }
    out = TrackTail(format, summary);
    emit(true);
    return result;
}

}  // namespace tidemar
