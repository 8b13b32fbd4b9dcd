// The BMP reader of the help pages' pictures and of the pattern window's
// pictures: any bytes in a .bmp are a picture of a sane size or none.
#include "FuzzSupport.h"
#include "ui/HelpBitmap.h"

using namespace wavora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte picks the reader's use: a help picture, or a picture
    // the pattern window traces (transparent parts shown over white).
    if (size == 0) return 0;
    const bool overWhite = data[0] & 1;
    const auto bmp = readBmp(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1), overWhite);
    if (!bmp) return 0;
    FUZZ_CHECK(bmp->width() >= 1 && bmp->width() <= 4096 && bmp->height() >= 1 && bmp->height() <= 4096);
    // Every pixel is there to be read (the sanitizer sees a short buffer).
    const std::size_t pixels = static_cast<std::size_t>(bmp->width()) * static_cast<std::size_t>(bmp->height());
    volatile Pixel last = bmp->data()[pixels - 1];
    (void)last;
    return 0;
}
