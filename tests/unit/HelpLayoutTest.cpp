// Help pages: the markup, pictures and wrapping of the layout, its limits,
// the BMP reader, and every page the program ships.
#include "ui/HelpLayout.h"
#include "FakePlatform.h"
#include "text/Paths.h"
#include "text/ShiftJis.h"
#include "ui/HelpBitmap.h"
#include "ui/HelpViewer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace wavora {
namespace {

using namespace test;

struct Layout : ::testing::Test {
    FakePlatform fake;
    std::vector<std::string> asked; // pictures the layout asked for
    HelpPage lay(const std::string& utf8) {
        return layoutHelpPage(fake, utf8ToShiftJis(utf8), "Wavora部品\\Help試し.txt",
                              [&](const std::string& name) {
                                  asked.push_back(name);
                                  return name == "p.bmp" ? std::make_shared<Surface>(40, 50) : nullptr;
                              });
    }
    static std::string text(const HelpLine& l) { return shiftJisToUtf8(l.sjis); }
};

TEST_F(Layout, MarkupChoosesFontHeightAndColour) {
    HelpPage p = lay("[[大見出し\n{{太字の行\n[{大きな太字\n前半((r後半は赤\n次の行\nab\nabc\n");
    ASSERT_EQ(p.lines.size(), 7u);
    struct Want {
        const char* text;
        HelpFontKind font;
        int top, height;
    } want[] = {{"大見出し", HelpFontKind::Large, 0, 18},
                {"太字の行", HelpFontKind::Bold, 18, 15},
                {"大きな太字", HelpFontKind::LargeBold, 33, 18},
                {"前半後半は赤", HelpFontKind::Body, 51, 15},
                {"次の行", HelpFontKind::Body, 66, 15},
                {"", HelpFontKind::Body, 81, 15},
                {"abc", HelpFontKind::Body, 96, 15}};
    for (std::size_t i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(text(p.lines[i]), want[i].text);
        EXPECT_EQ(p.lines[i].font, want[i].font);
        EXPECT_EQ(p.lines[i].top, want[i].top);
        EXPECT_EQ(p.lines[i].height, want[i].height);
    }
    EXPECT_EQ(p.bottom, 111);
    EXPECT_EQ(p.scrollHeight(), 181);
    // "((r" turns the rest of its line red; the next line starts black again.
    const HelpLine& mixed = p.lines[3];
    EXPECT_EQ(mixed.colour.front(), Black);
    EXPECT_EQ(mixed.colour.back(), HelpRed);
    EXPECT_EQ(std::count(mixed.colour.begin(), mixed.colour.end(), Black), 4); // "前半"
    EXPECT_EQ(p.lines[4].colour.front(), Black);

    // Drawn in two runs, the red one starting where the black one ends, and
    // the heading in the 18-pixel font without its "[[".
    Surface page(HelpPageWidth, p.surfaceHeight());
    drawHelpPage(fake, page, p);
    EXPECT_EQ(page.get(549, 2999), HelpBackground);
    ASSERT_GE(fake.texts.size(), 6u);
    EXPECT_EQ(fake.texts[0].text, "大見出し");
    EXPECT_EQ(fake.texts[0].font.height, 18);
    EXPECT_EQ(fake.texts[3].text, "前半");
    EXPECT_EQ(fake.texts[4].text, "後半は赤");
    EXPECT_EQ(fake.texts[4].colour, HelpRed);
    EXPECT_EQ(fake.texts[4].x, 30);
    EXPECT_EQ(fake.texts[4].y, 51);
}

TEST_F(Layout, PictureSetsTheLineHeightAndPushesTextAside) {
    HelpPage p = lay("前誂p.bmp後ろ\n下の行\n");
    ASSERT_EQ(p.pictures.size(), 1u);
    const HelpPicture& pic = p.pictures[0];
    EXPECT_EQ(pic.name, "p.bmp");
    EXPECT_EQ(pic.x, 15); // after "前"
    EXPECT_EQ(pic.y, 0);
    EXPECT_EQ(p.lines[0].height, 50);
    EXPECT_EQ(p.lines[1].top, 50);
    // "後ろ" starts past the picture's right edge.
    const std::string& line = p.lines[0].sjis;
    std::size_t after = line.find(utf8ToShiftJis("後"));
    ASSERT_NE(after, std::string::npos);
    int x = fake.textExtent(helpFont(HelpFontKind::Body), shiftJisToUtf8(line.substr(0, after))).width;
    EXPECT_GE(x, 55);
    EXPECT_LE(x, 55 + 3 * 7);
    // The picture is drawn over the text, at its place.
    Surface page(HelpPageWidth, p.surfaceHeight());
    drawHelpPage(fake, page, p);
    EXPECT_EQ(page.get(15, 0), Black);
    EXPECT_EQ(page.get(54, 49), Black);
    EXPECT_EQ(page.get(55, 49), HelpBackground);
}

TEST_F(Layout, PictureProblemsAreReported) {
    // A missing picture warns with its name and leaves its place empty.
    HelpPage missing = lay("誂nothing.bmpのあと\n");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.lastBox().caption, "画像ファイルがありません");
    EXPECT_EQ(fake.lastBox().text, "nothing.bmp");
    EXPECT_TRUE(missing.pictures.empty());
    EXPECT_EQ(text(missing.lines[0]), "のあと");

    // No "." after the mark: the message names the page, and the page ends there.
    HelpPage stopped = lay("一行目\nここまで誂拡張子なし\n三行目\n");
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.lastBox().caption, "HelpDialogChange");
    EXPECT_EQ(fake.lastBox().text, "「誂」のあとに拡張子がありません。 ファイル名＝Wavora部品\\Help試し.txt");
    EXPECT_TRUE(stopped.stopped);
    ASSERT_EQ(stopped.lines.size(), 2u);
    EXPECT_EQ(text(stopped.lines[1]), "ここまで");

    // The bytes E6 6F of "誂" inside another character ("域" is 88 E6, then
    // an 'o') are text, not a picture.
    asked.clear();
    HelpPage plain = lay("域o.bmpです\n");
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(text(plain.lines[0]), "域o.bmpです");
    EXPECT_EQ(fake.boxes.size(), 2u);
}

TEST_F(Layout, LongLinesWrapWithinTheWidthWithoutSplittingCharacters) {
    std::string source;
    for (int i = 0; i < 40; ++i)
        source += "あa漢字bc";
    HelpPage p = lay(source + "\n");
    ASSERT_GT(p.lines.size(), 3u);
    std::string joined;
    for (const HelpLine& l : p.lines) {
        EXPECT_LE(fake.textExtent(helpFont(l.font), text(l)).width, HelpWrapWidth);
        EXPECT_EQ(text(l).find("\xEF\xBF\xBD"), std::string::npos); // no half character
        joined += text(l);
    }
    EXPECT_EQ(joined, source);
}

TEST_F(Layout, OversizedPagesAreCutVisibly) {
    // More lines than the tallest page: cut, marked, and within the surface.
    std::string tall;
    for (int i = 0; i < 2500; ++i)
        tall += "行の中身\n";
    HelpPage p = lay(tall);
    EXPECT_TRUE(p.cut);
    EXPECT_EQ(text(p.lines.back()), HelpCutMark);
    EXPECT_EQ(p.lines.back().colour.front(), HelpRed);
    EXPECT_LE(p.bottom, HelpPageMaxHeight);
    EXPECT_GT(p.lines.size(), 201u); // more than the old fixed table held
    Surface page(HelpPageWidth, p.surfaceHeight());
    drawHelpPage(fake, page, p);

    // A file larger than the text limit (lines of colour switches only, so
    // its height stays small): cut at a whole line and marked too.
    std::string line;
    for (int i = 0; i < 1000; ++i)
        line += "((r";
    std::string big;
    while (big.size() <= HelpTextMaxBytes)
        big += line + "\n";
    HelpPage q = layoutHelpPage(fake, big, "big.txt", nullptr);
    EXPECT_TRUE(q.cut);
    EXPECT_EQ(text(q.lines.back()), HelpCutMark);
    EXPECT_EQ(q.lines.size(), HelpTextMaxBytes / 3001 + 1);
    // A single source line of 5000 bytes never makes a display line over the limit.
    HelpPage r = lay(std::string(5000, '.') + "\n");
    for (const HelpLine& l : r.lines)
        EXPECT_LE(l.sjis.size(), HelpLineMaxBytes);
}

TEST(HelpLayoutCost, EachCharacterIsMeasuredOnceNotTheLineAgain) {
    struct Counting : FakePlatform {
        int calls = 0, bytes = 0; // measurements and the bytes they measured
        Size textExtent(const TextFont& font, const std::string& text) override {
            ++calls;
            bytes += static_cast<int>(text.size());
            return FakePlatform::textExtent(font, text);
        }
    } fake;
    std::string line;
    for (int i = 0; i < 1100; ++i)
        line += "波a"; // 3300 bytes of Shift-JIS, wrapped into about 50 display lines
    HelpPage p = layoutHelpPage(fake, utf8ToShiftJis(line) + "\n", "Help.txt", nullptr);
    EXPECT_GT(p.lines.size(), 40u);
    EXPECT_LE(fake.calls, 10); // the body height, "波", "a"
    EXPECT_LE(fake.bytes, 20);
}

TEST(HelpBitmap, ReadsTheDepthsItWritesAndRefusesBrokenFiles) {
    // 2 x 2, 24 bits, bottom-up: rows of 6 bytes padded to 8.
    std::string b = "BM";
    auto put32 = [&](std::string& s, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            s += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto header = [&](std::uint32_t pixelsAt, int bits, std::uint32_t colours) {
        std::string h = "BM";
        put32(h, 0);
        put32(h, 0);
        put32(h, pixelsAt);
        put32(h, 40);
        put32(h, 2);
        put32(h, 2);
        h += std::string("\x01\x00", 2) + static_cast<char>(bits) + '\0';
        for (int i = 0; i < 4; ++i)
            put32(h, 0);
        put32(h, colours);
        put32(h, 0);
        return h;
    };
    std::string rgb24 = header(54, 24, 0) + std::string("\x00\x00\xFF\x00\xFF\x00\0\0", 8) +
                        std::string("\xFF\x00\x00\xFF\xFF\xFF\0\0", 8);
    auto s = readBmp(rgb24);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->get(0, 1), rgb(255, 0, 0)); // the first row stored is the lowest
    EXPECT_EQ(s->get(1, 1), rgb(0, 255, 0));
    EXPECT_EQ(s->get(0, 0), rgb(0, 0, 255));
    EXPECT_EQ(s->get(1, 0), White);
    // 4 bits with a palette of two colours.
    std::string pal4 = header(62, 4, 2) + std::string("\x00\x00\x00\x00\xEA\xFF\xFF\x00", 8) +
                       std::string("\x10\0\0\0\x01\0\0\0", 8);
    s = readBmp(pal4);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->get(0, 1), HelpBackground);
    EXPECT_EQ(s->get(1, 1), Black);
    EXPECT_EQ(s->get(1, 0), HelpBackground);
    // Short pixel data, a palette past the end, a zero width: refused.
    EXPECT_EQ(readBmp(rgb24.substr(0, rgb24.size() - 1)), nullptr);
    EXPECT_EQ(readBmp(header(62, 8, 200) + std::string(40, '\0')), nullptr);
    std::string noWidth = rgb24;
    noWidth[18] = 0;
    EXPECT_EQ(readBmp(noWidth), nullptr);
}

// Every page of the index as the program will read it: the Shift-JIS that
// staging makes of its UTF-8 source, with the pictures it names.
TEST(HelpPages, EveryPageIsShiftJisWithItsPicturesAndLaysOutCleanly) {
    const std::filesystem::path help = pathFromUtf8(WAVORA_ASSETS_DIR) / "help";
    int withPictures = 0;
    for (const HelpTopic& t : HelpTopics) {
        SCOPED_TRACE(t.file);
        std::ifstream in(help / pathFromUtf8(t.file), std::ios::binary);
        ASSERT_TRUE(in) << "missing page";
        std::stringstream utf8;
        utf8 << in.rdbuf();
        std::string sjis = utf8ToShiftJis(utf8.str());
        EXPECT_EQ(shiftJisToUtf8(sjis), utf8.str()) << "not all of it has a Shift-JIS form";
        FakePlatform fake;
        HelpPage p =
            layoutHelpPage(fake, sjis, std::string("Wavora部品\\") + t.file, [&](const std::string& name) {
                return loadBmpFile(utf8FromPath(help / "pictures" / pathFromUtf8(name)));
            });
        for (const RecordedBox& b : fake.boxes)
            ADD_FAILURE() << b.caption << ": " << b.text;
        EXPECT_FALSE(p.cut);
        EXPECT_GT(p.lines.size(), 20u);
        for (const HelpPicture& pic : p.pictures)
            EXPECT_LE(pic.x + pic.width(), HelpPageWidth) << pic.name;
        withPictures += !p.pictures.empty();
    }
    EXPECT_GE(withPictures, 11);
}

} // namespace
} // namespace wavora
