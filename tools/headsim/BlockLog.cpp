#include "BlockLog.h"

namespace tidemar::headsim {

std::string HexLine(std::span<const uint8_t> bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string line;
    line.reserve(bytes.size() * 3);
    for (uint8_t b : bytes) {
        if (!line.empty()) line += ' ';
        line += digits[b >> 4];
        line += digits[b & 0x0F];
    }
    return line;
}

BlockLog::~BlockLog() {
    if (file_ != nullptr) std::fclose(file_);
}

bool BlockLog::Open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "we");
    return file_ != nullptr;
}

void BlockLog::Write(std::span<const uint8_t> bytes) {
    if (file_ == nullptr) return;
    const std::string line = HexLine(bytes);
    std::fprintf(file_, "%s\n", line.c_str());
    std::fflush(file_);
}

void BlockLog::Note(const std::string& text) {
    if (file_ == nullptr) return;
    std::fprintf(file_, "# %s\n", text.c_str());
    std::fflush(file_);
}

}  // namespace tidemar::headsim
