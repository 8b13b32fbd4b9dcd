// The icons and cursors staged into the parts folder: every file the tool
// window and the sound window load is there, in the shape the loaders expect.
#include "text/Paths.h"
#include "ui/ToolWindow.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace wavora {
namespace {

std::vector<unsigned char> part(const std::string& name) {
    std::ifstream in(std::filesystem::path(WAVORA_ASSETS_DIR) / "parts" / pathFromUtf8(name),
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int word(const std::vector<unsigned char>& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }

// Type, and the width of every image the directory lists (0 stands for 256).
std::vector<int> directory(const std::vector<unsigned char>& b, int type) {
    std::vector<int> sizes;
    if (b.size() < 6 || word(b, 0) != 0 || word(b, 2) != type) return sizes;
    for (int i = 0; i < word(b, 4) && b.size() >= 6 + 16 * (i + 1u); ++i) sizes.push_back(b[6 + 16 * i]);
    return sizes;
}

TEST(PartsFiles, EveryToolIconHasBothSizesAndTheCursorsAreThere) {
    for (const ToolButton& button : toolButtons())
        EXPECT_EQ(directory(part(button.icon), 1), (std::vector<int>{16, 32})) << button.icon;
    for (const char* cursor : {"名無し0のカーソルのカーソル.cur", "拡大カーソル.cur", "縮小カーソル.cur"})
        EXPECT_EQ(directory(part(cursor), 2), std::vector<int>{32}) << cursor;
}

} // namespace
} // namespace wavora
