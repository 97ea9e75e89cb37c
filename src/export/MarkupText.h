#pragma once
// Text placed in the JSON and XML documents. File names are bytes and need not be UTF-8:
// a byte that does not belong to a valid UTF-8 sequence becomes U+FFFD, so the documents
// always parse.

#include <string>
#include <string_view>

namespace tidemar {

// A JSON string, quotes included, control characters escaped.
std::string JsonQuoted(std::string_view text);

// XML character data with & < > " ' escaped; control characters XML 1.0 cannot hold
// (all below 0x20 but tab, LF and CR) are left out.
std::string XmlEscaped(std::string_view text);

}  // namespace tidemar
