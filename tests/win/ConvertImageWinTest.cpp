// Images made by ImageMagick, converted by the real Pictra at the editor's
// request: the BMP keeps the depth of each kind of image.
#include "Driver.h"
#include "WinHarness.h"

#include "converter/HelperClient.h"

namespace wintest {
namespace {

namespace fs = std::filesystem;

std::uint32_t u32(const std::string& b, std::size_t at) {
    auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

struct ConvertImage : EditorTest {
    fs::path output() { return folder / L"Pictraが変換保存.bmp"; }
    std::string convert(const fs::path& image) {
        EXPECT_TRUE(wavora::requestImageConversion(state(), utf8(image.wstring())));
        return e2e::readBytes(output());
    }
};

TEST_F(ConvertImage, GifJpegAndTransparentPngKeepTheirDepth) {
    const fs::path gif = folder / L"絵.gif", jpg = folder / L"photo.jpg", png = folder / L"clear.png";
    ASSERT_TRUE(e2e::runUnix("convert -size 8x6 xc:red -fill blue -draw 'point 1,1' " + e2e::quoted(gif) +
                             "; convert -size 8x6 gradient:red-blue " + e2e::quoted(jpg) +
                             "; convert -size 8x6 xc:none -fill red -draw 'point 2,2' PNG32:" + e2e::quoted(png)));

    // GIF: 8 bits with its palette; pixel (1, 1) of the top row pair is blue.
    const std::string g = convert(gif);
    ASSERT_GE(g.size(), 54u);
    EXPECT_EQ(u32(g, 2), g.size());
    EXPECT_EQ(g[28], 8);
    const std::uint32_t colours = u32(g, 46), offset = u32(g, 10);
    ASSERT_GE(colours, 2u);
    EXPECT_EQ(offset, 54 + 4 * colours);
    const std::size_t stride = 8, row1 = offset + stride * (6 - 1 - 1); // rows are stored from the bottom
    const auto index = static_cast<unsigned char>(g[row1 + 1]), other = static_cast<unsigned char>(g[row1 + 2]);
    EXPECT_EQ(u32(g, 54 + 4 * index) & 0xFFFFFF, 0x0000FFu);  // blue
    EXPECT_EQ(u32(g, 54 + 4 * other) & 0xFFFFFF, 0xFF0000u);  // red
    EXPECT_EQ(convert(gif), g); // the same image gives the same file

    const std::string j = convert(jpg);
    ASSERT_GE(j.size(), 54u);
    EXPECT_EQ(j[28], 24);
    EXPECT_EQ(u32(j, 34), 24u * 6); // rows of 8 x 3 bytes

    const std::string p = convert(png);
    ASSERT_GE(p.size(), 54u + 8 * 6 * 4);
    EXPECT_EQ(p[28], 32);
    const std::size_t top = 54 + 8 * 4 * (6 - 1 - 2); // row 2 from the top
    EXPECT_EQ(static_cast<unsigned char>(p[top + 2 * 4 + 3]), 255); // the red point is opaque
    EXPECT_EQ(static_cast<unsigned char>(p[top + 2 * 4 + 2]), 255);
    EXPECT_EQ(static_cast<unsigned char>(p[top + 3]), 0);           // the rest transparent

    // Not an image: nothing is written, the last output stays.
    e2e::writeBytes(folder / L"broken.png", "not an image");
    EXPECT_EQ(convert(folder / L"broken.png"), p);
    // The helper keeps the title the editor finds it by.
    EXPECT_EQ(textOf(wavora::app().helper), L"圧縮ファイルBMP変換だぞ");
}

} // namespace
} // namespace wintest
