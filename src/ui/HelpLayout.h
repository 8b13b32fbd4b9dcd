#pragma once
// A help page is a small Shift-JIS text with a light markup; it is laid out
// once into display lines and pictures, then drawn onto the tall page surface
// that the help window scrolls.
//
//   "[[" at the start of a line: large font     "{{": bold
//   "[{" or "{[": large bold                    "((r", "((b", "((g": the rest
//   of the line red, blue or green              "誂name.bmp": a picture
//
// Text is measured through the platform, so the same layout runs with the
// real fonts in the program and with a stand-in measure in the tests.
#include "core/Platform.h"
#include "core/Surface.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wavora {

enum class HelpFontKind : std::uint8_t { Body, Large, Bold, LargeBold };
TextFont helpFont(HelpFontKind kind);

constexpr int HelpPageWidth = 550;                   // the page surface
constexpr int HelpPageMinHeight = 3000;              // the page surface is never shorter
constexpr int HelpPageMaxHeight = 30000;             // nor taller: a longer page is cut, visibly
constexpr int HelpWrapWidth = 500;                   // a display line ends before it passes this
constexpr std::size_t HelpTextMaxBytes = 256 * 1024; // a larger file is cut, visibly
constexpr std::size_t HelpLineMaxBytes = 3300;       // no display line holds more
constexpr Pixel HelpBackground = rgb(255, 255, 234);
constexpr Pixel HelpRed = rgb(255, 0, 0);
constexpr Pixel HelpBlue = rgb(0, 0, 255);
constexpr Pixel HelpGreen = rgb(0, 128, 0);

// Shown in red at the end of a page that was too long to show whole.
extern const char* const HelpCutMark;

struct HelpLine {
    int top = 0;
    int height = 0;
    HelpFontKind font = HelpFontKind::Body;
    std::string sjis;          // the bytes shown, Shift-JIS
    std::vector<Pixel> colour; // one per byte of `sjis`
};

struct HelpPicture {
    std::string name; // as written after "誂", UTF-8
    int x = 0, y = 0;
    std::shared_ptr<const Surface> bitmap;
    int width() const { return bitmap ? bitmap->width() : 0; }
    int height() const { return bitmap ? bitmap->height() : 0; }
};

struct HelpPage {
    std::vector<HelpLine> lines;
    std::vector<HelpPicture> pictures;
    int bottom = 0;       // bottom of the last line
    bool cut = false;     // the page was too long and ends with HelpCutMark
    bool stopped = false; // a picture without extension stopped the layout
    int scrollHeight() const { return bottom + 70; }
    // Height of the surface the page is drawn on.
    int surfaceHeight() const;
};

// Loads a picture by the name written in the page; null when it cannot.
using HelpPictureLoader = std::function<std::shared_ptr<const Surface>(const std::string& nameUtf8)>;

// Lays out the page text (Shift-JIS bytes). `pagePath` is only named in the
// message about a picture without extension. Missing pictures and that
// message are reported with message boxes, as the page is laid out.
HelpPage layoutHelpPage(Platform& platform, std::string_view sjisText, const std::string& pagePath,
                        const HelpPictureLoader& loadPicture);

// Clears the page surface to the background and draws the lines, then the
// pictures over them.
void drawHelpPage(Platform& platform, Surface& page, const HelpPage& layout);

// The Shift-JIS bytes of a page file, at most one byte more than
// HelpTextMaxBytes (so that the layout sees, cuts and marks a longer file);
// empty when the file cannot be read.
std::string readHelpText(const std::string& pathUtf8);

} // namespace wavora
