#include "image/PngFile.h"

#include <png.h>

#include <csetjmp>

#include "core/FileNames.h"
#include "image/BmpFile.h"

namespace tidemar {

namespace {

struct PngSink {
    std::vector<uint8_t> Bytes;
    std::string Error;
};

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    sink->Bytes.insert(sink->Bytes.end(), data, data + length);
}

void FlushNothing(png_structp) {}

[[noreturn]] void RaiseError(png_structp png, png_const_charp message) {
    auto* sink = static_cast<PngSink*>(png_get_error_ptr(png));
    sink->Error = message ? message : "PNG error";
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Everything libpng touches between setjmp and a longjmp lives outside this function's
// frame or is set before setjmp, so nothing is clobbered by the jump.
bool EncodePng(PngSink& sink, int width, int height, const uint8_t* pixels,
               const std::array<uint8_t, 1024>& colorTable) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, RaiseError, IgnoreWarning);
    if (!png) {
        sink.Error = "out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        if (sink.Error.empty()) sink.Error = "out of memory";
        return false;
    }
    png_set_write_fn(png, &sink, AppendBytes, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    for (int i = 0; i < 256; ++i) {
        palette[i].blue = colorTable[4 * i];
        palette[i].green = colorTable[4 * i + 1];
        palette[i].red = colorTable[4 * i + 2];
    }
    png_set_PLTE(png, info, palette, 256);
    png_write_info(png, info);
    for (int row = 0; row < height; ++row)
        png_write_row(png, const_cast<png_bytep>(pixels + static_cast<size_t>(row) * static_cast<size_t>(width)));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::vector<uint8_t> IndexedPngBytes(int width, int height, const uint8_t* pixels,
                                     const std::array<uint8_t, 1024>& colorTable, std::string* reason) {
    PngSink sink;
    if (!EncodePng(sink, width, height, pixels, colorTable)) {
        if (reason) *reason = sink.Error;
        return {};
    }
    return std::move(sink.Bytes);
}

bool WriteIndexedPng(const std::string& path, int width, int height, const uint8_t* pixels,
                     const std::array<uint8_t, 1024>& colorTable, std::string* reason) {
    const std::vector<uint8_t> bytes = IndexedPngBytes(width, height, pixels, colorTable, reason);
    return !bytes.empty() && WriteWholeFile(path, bytes, reason);
}

bool HasPngExtension(const std::string& name) { return HasExtension(name, "png"); }

bool ParsePictureFormat(const std::string& text, PictureFormat& format) {
    // The text is read as the extension of a name, so case does not matter.
    if (text.find('.') != std::string::npos) return false;
    if (HasExtension("." + text, "bmp"))
        format = PictureFormat::Bmp;
    else if (HasExtension("." + text, "png"))
        format = PictureFormat::Png;
    else
        return false;
    return true;
}

const char* PictureExtension(PictureFormat format) { return format == PictureFormat::Png ? "png" : "bmp"; }

std::vector<uint8_t> IndexedPictureBytes(PictureFormat format, int width, int height, const uint8_t* pixels,
                                         const std::array<uint8_t, 1024>& colorTable, std::string* reason) {
    if (format == PictureFormat::Png) return IndexedPngBytes(width, height, pixels, colorTable, reason);
    return IndexedBmpBytes(width, height, pixels, colorTable);
}

}  // namespace tidemar
