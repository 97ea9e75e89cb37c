#include "files/CaptureNames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace tidemar {

namespace {

constexpr unsigned long MaxCaptureNumber = 9999;

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The number a matching name carries, or -1 when the name is not prefix-????extension.
long CaptureNumberOf(const std::string& name, const std::string& stem, const std::string& extension) {
    if (name.size() != stem.size() + 4 + extension.size()) return -1;
    if (!SameIgnoringCase(name.substr(0, stem.size()), stem)) return -1;
    if (!SameIgnoringCase(name.substr(stem.size() + 4), extension)) return -1;
    long number = 0;
    for (size_t i = stem.size(); i < stem.size() + 4; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (!std::isdigit(c)) break;
        number = number * 10 + (c - '0');
    }
    return number;
}

}  // namespace

std::string CaptureDatePrefix(const std::string& dateText) {
    std::string prefix;
    for (size_t i : {0u, 1u, 3u, 4u, 5u, 7u, 8u, 9u, 10u}) {
        if (i < dateText.size()) prefix += dateText[i];
    }
    return prefix;
}

std::string NextNumberedName(const std::string& directory, const std::string& stem, const std::string& extension) {
    unsigned long largest = 0;
    std::error_code error;
    const std::filesystem::path folder = directory.empty() ? "." : directory;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const long number = CaptureNumberOf(it->path().filename().string(), stem, extension);
        if (number > 0) largest = std::max(largest, static_cast<unsigned long>(number));
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04lu", std::min(largest + 1, MaxCaptureNumber));
    const std::string name = stem + digits + extension;
    if (directory.empty()) return name;
    if (directory.back() == '/') return directory + name;
    return directory + "/" + name;
}

std::string NextCaptureName(const std::string& directory, const std::string& dateText, const std::string& extension) {
    return NextNumberedName(directory, CaptureDatePrefix(dateText) + "-", extension);
}

std::string ProfileCaptureName(const std::string& directory, const SonarState& state, const std::string& extension) {
    return NextCaptureName(directory, state.DateText, extension);
}

}  // namespace tidemar
