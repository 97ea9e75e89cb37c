#pragma once
// File-name checks shared by every file the program writes or reads by name. Names keep
// their case on Linux; only the extension is compared without it.

#include <cctype>
#include <string_view>

namespace tidemar {

// True when the last path element ends in "." plus exactly `extension` (lower case given),
// in any case: "Survey.K7T" has "k7t", "a.k7tx" and "k7t" do not.
inline bool HasExtension(std::string_view name, std::string_view extension) {
    const size_t slash = name.find_last_of('/');
    const std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
    const size_t dot = base.find_last_of('.');
    if (dot == std::string_view::npos || base.size() - dot - 1 != extension.size()) return false;
    for (size_t i = 0; i < extension.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(base[dot + 1 + i])) != extension[i]) return false;
    return true;
}

}  // namespace tidemar
