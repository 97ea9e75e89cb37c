// Arbitrary bytes as Windows-1252 text (the user text of a settings file or a data record)
// and as UTF-8 (what the user text box hands over). Any byte string must decode to UTF-8
// and encode back to itself; any UTF-8, valid or not, must encode without reading past its
// end, keeping only bytes that decode to a character it held.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Cp1252.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tidemar;
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const Cp1252Encoding back = Utf8ToCp1252(Cp1252ToUtf8(input));
    if (back.Bytes != input || !back.Missing.empty()) std::abort();

    const Cp1252Encoding encoded = Utf8ToCp1252(input);
    if (encoded.Bytes.size() > input.size()) std::abort();
    const std::string kept = Cp1252ToUtf8(encoded.Bytes);
    if (Utf8ToCp1252(kept).Bytes != encoded.Bytes) std::abort();
    return 0;
}
