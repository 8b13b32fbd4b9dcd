#include "pattern/ToolStrips.h"

#include "bmp/BmpFile.h"
#include "core/Platform.h"
#include "core/TextFiles.h"
#include "text/Paths.h"
#include "ui/HelpBitmap.h"

#include <algorithm>

namespace wavora {

const std::array<const char*, 3> StripFiles = {"ToolBarBmp＠＠.bmp", "ToolBarHotBmp＠＠.bmp",
                                               "ToolBarMukouBmp＠＠.bmp"};

const std::array<ToolButtonEntry, 3>& patternToolButtons() {
    static const std::array<ToolButtonEntry, 3> buttons{{
        {5100, "Kyokusen.bmp", "KyokusenHot.bmp", "KyokusenMukou.bmp", "曲線"},
        {5101, "Chokusen.bmp", "ChokusenHot.bmp", "ChokusenMukou.bmp", "直線"},
        {5102, "Clear.bmp", "Clear Hot.bmp", "", "消しゴム"},
    }};
    return buttons;
}

const char* toolTipOf(int id) {
    for (const ToolButtonEntry& b : patternToolButtons())
        if (b.id == id) return b.tip;
    return nullptr;
}

namespace {

bool named(const char* file) {
    return file && *file;
}

// A disabled image is pasted only where there is a highlighted one too.
void pasteImage(EditorState& s, Surface& strips, const char* file, int x, int row) {
    const std::filesystem::path path = s.root / pathFromUtf8(PartsFolder) / pathFromUtf8(file);
    const std::shared_ptr<Surface> image = loadBmpFile(utf8FromPath(path));
    if (!image) {
        MessageBoxSpec box{"画像ファイルの読み込みに失敗", "BmpToPrompt"};
        box.ownedByFrame = false;
        s.platform.messageBox(box);
        return;
    }
    copyPixels(strips, x, row * ToolImageSize, *image, 0, 0, ToolImageSize, ToolImageSize);
}

} // namespace

std::unique_ptr<Surface> pasteToolStrips(EditorState& s, std::span<const ToolButtonEntry> buttons) {
    const int width = std::max<int>(1, ToolImageSize * static_cast<int>(buttons.size()));
    auto strips = std::make_unique<Surface>(width, 3 * ToolImageSize);
    strips->fill(ToolMaskColour);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const ToolButtonEntry& b = buttons[i];
        const int x = ToolImageSize * static_cast<int>(i);
        if (!named(b.normal)) continue;
        pasteImage(s, *strips, b.normal, x, NormalStrip);
        if (!named(b.hot)) continue;
        pasteImage(s, *strips, b.hot, x, HotStrip);
        if (named(b.disabled)) pasteImage(s, *strips, b.disabled, x, DisabledStrip);
    }
    return strips;
}

std::vector<std::uint8_t> stripBmpBytes(const Surface& surface, int x, int y, int width, int height) {
    bmp::BitmapImage image;
    image.width = width;
    image.height = height;
    image.bitsPerPixel = 24;
    const std::size_t stride = bmp::bmpStride(width, 24);
    image.pixels.assign(stride * static_cast<std::size_t>(std::max(height, 0)), 0);
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) {
            const Pixel p = surface.get(x + col, y + row);
            std::uint8_t* at = image.pixels.data() + stride * static_cast<std::size_t>(row) +
                               3 * static_cast<std::size_t>(col);
            at[0] = static_cast<std::uint8_t>(p);       // blue
            at[1] = static_cast<std::uint8_t>(p >> 8);  // green
            at[2] = static_cast<std::uint8_t>(p >> 16); // red
        }
    return bmp::bmpFileBytes(image, bmp::ImageSizeField::Zero);
}

bool WriteStripBmp(const std::filesystem::path& path, const Surface& surface, int x, int y, int width,
                   int height) {
    const std::vector<std::uint8_t> bytes = stripBmpBytes(surface, x, y, width, height);
    return !bytes.empty() && bmp::writeFileReplacing(path, bytes);
}

std::unique_ptr<Surface> makeToolStrips(EditorState& s, std::span<const ToolButtonEntry> buttons) {
    std::unique_ptr<Surface> strips = pasteToolStrips(s, buttons);
    const int width = ToolImageSize * static_cast<int>(buttons.size());
    for (int row = NormalStrip; row <= DisabledStrip; ++row)
        WriteStripBmp(s.root / pathFromUtf8(StripFiles[static_cast<std::size_t>(row)]), *strips, 0,
                      row * ToolImageSize, width, ToolImageSize);
    return strips;
}

} // namespace wavora
