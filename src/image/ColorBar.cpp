#include "image/ColorBar.h"

namespace tidemar {

std::array<std::uint8_t, ColorBarRows> ColorBarIndices() {
    // The level steps down row by row and is kept in single precision between steps.
    std::array<std::uint8_t, ColorBarRows> indices{};
    float level = 111.0f;
    for (int k = 0; k < ColorBarRows; ++k) {
        indices[k] = static_cast<std::uint8_t>(static_cast<int>(level));
        level = static_cast<float>(level - 0.218504);
    }
    return indices;
}

}  // namespace tidemar
