// The pattern window's tool-bar strips: any rectangle of any surface is
// written as a 24-bit BMP that reads back with the same pixels, and a
// rectangle that does not fit gives no file rather than bytes from outside.
#include "FuzzSupport.h"
#include "pattern/ToolStrips.h"
#include "ui/HelpBitmap.h"

using namespace wavora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Reader in(data, size);
    const int w = in.byte() % 80, h = in.byte() % 80;
    Surface surface(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) surface.set(x, y, rgb(in.byte(), in.byte(), in.byte()));
    const auto signedByte = [&in] { return static_cast<int>(static_cast<std::int8_t>(in.byte())); };
    const int x = signedByte(), y = signedByte(), width = signedByte(), height = signedByte();
    const std::vector<std::uint8_t> bytes = stripBmpBytes(surface, x, y, width, height);
    if (bytes.empty()) return 0;
    const auto back = readBmp(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (width < 1 || height < 1) return 0;
    FUZZ_CHECK(back && back->width() == width && back->height() == height);
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col)
            if (x + col >= 0 && x + col < w && y + row >= 0 && y + row < h)
                FUZZ_CHECK(back->get(col, row) == (surface.get(x + col, y + row) & 0xFFFFFFu));
    return 0;
}
