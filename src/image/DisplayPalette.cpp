#include "image/DisplayPalette.h"

namespace tidemar {

DisplayPalette BuildDisplayPalette(const ImageColorTable& table) {
    DisplayPalette palette;
    for (std::size_t i = 0; i < palette.Entries.size(); ++i)
        palette.Entries[i] = {table[i].Red, table[i].Green, table[i].Blue, PC_RESERVED};
    return palette;
}

}  // namespace tidemar
