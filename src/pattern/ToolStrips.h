#pragma once
// The pattern window's tool bar is made from one small bitmap per button and
// state. They are pasted side by side into three strips (normal, highlighted,
// disabled), which are written as 24-bit BMP files for the tool bar to load
// as its image lists.
#include "core/EditorState.h"
#include "core/Surface.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace wavora {

constexpr int ToolImageSize = 22;
// Shown as the tool bar's own face: the bitmaps' background, and what stands
// where an image could not be loaded.
constexpr Pixel ToolMaskColour = rgb(255, 0, 255);

struct ToolButtonEntry {
    int id;               // the command the button sends; a separator's width
    const char* normal;   // bitmap in the parts folder; empty: a separator
    const char* hot;      // may be empty
    const char* disabled; // may be empty
    const char* tip;
};

// "曲線", "直線" and "消しゴム" of the pattern window.
const std::array<ToolButtonEntry, 3>& patternToolButtons();
// The tool tip of a button id, or null.
const char* toolTipOf(int id);

// The strips, as written: rows 0, 22 and 44 of the surface.
enum StripRow { NormalStrip = 0, HotStrip = 1, DisabledStrip = 2 };
extern const std::array<const char*, 3> StripFiles; // "ToolBarBmp＠＠.bmp", ...

// Loads every image of the buttons (telling the user, without an owner, of
// each one that cannot be loaded; the work goes on) and pastes it into its
// strip. The surface is 22 x count wide and 66 high.
std::unique_ptr<Surface> pasteToolStrips(EditorState& s, std::span<const ToolButtonEntry> buttons);

// The BMP file of a rectangle of the surface: 24 bits, rows from the lowest
// up, each padded to 4 bytes, the image-size field left 0.
std::vector<std::uint8_t> stripBmpBytes(const Surface& surface, int x, int y, int width, int height);
// The same written to `path`, replacing it whole or not at all.
bool WriteStripBmp(const std::filesystem::path& path, const Surface& surface, int x, int y, int width,
                   int height);

// Pastes the strips and writes the three files into the editor's folder.
// Returns the strips (for a tool bar that cannot read the files back).
std::unique_ptr<Surface> makeToolStrips(EditorState& s, std::span<const ToolButtonEntry> buttons);

} // namespace wavora
