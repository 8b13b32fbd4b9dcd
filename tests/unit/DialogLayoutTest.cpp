// Where the general dialog puts its controls, how big it is, and where it
// opens: the window adapter copies these numbers onto real controls, so a
// wrong one here is a wrong dialog on screen.
#include "DialogDriver.h"
#include "FakePlatform.h"
#include "app/Settings.h"
#include "text/Paths.h"
#include "ui/DialogLayout.h"
#include "ui/DialogPosition.h"
#include "ui/GeneralDialog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace wavora {
namespace {

using test::FakePlatform;

// Stands in for the device context: each label is as wide as the test says,
// anything else 6 pixels per byte.
struct Measure {
    std::map<std::string, int> widths;
    int operator()(const std::string& t) const {
        auto it = widths.find(t);
        return it != widths.end() ? it->second : static_cast<int>(t.size()) * 6;
    }
};

DialogRequest request(const std::string& caption, int rows) {
    DialogRequest r;
    beginDialog(r, caption, rows);
    return r;
}

void expectRect(const ControlRect& r, int x, int y, int w, int h, bool shown) {
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.w, w);
    EXPECT_EQ(r.h, h);
    EXPECT_EQ(r.shown, shown);
}

TEST(DialogLayout, HeightFollowsTheRowCountAndNarrowDialogsKeepTheirMinimumWidth) {
    DialogRequest eight = request("", 8);
    for (int i = 0; i < 8; ++i)
        addDialogRow(eight, RowRadio, "", "", 0, 0);
    DialogLayout l8 = computeDialogLayout(eight, Measure{});
    EXPECT_EQ(l8.height, 290);
    // Radio rows with empty labels are 70 wide, the empty caption 10: the
    // minimum 120 wins over 90.
    EXPECT_EQ(l8.width, 120);
    // Buttons share the width: (120 - 10) / 2 - 5 = 50, the second at 120 / 2.
    expectRect(l8.ok, 9, 210, 50, 40, true);
    expectRect(l8.cancel, 60, 210, 50, 40, true);

    DialogRequest one = request("x", 1);
    addDialogRow(one, RowHeading, "", "", 0, 0);
    DialogLayout l1 = computeDialogLayout(one, Measure{});
    EXPECT_EQ(l1.height, 115);
    EXPECT_EQ(l1.width, 120);
}

TEST(DialogLayout, WidthIsTheWidestRowOrCaptionPlusTwenty) {
    Measure m{{{"title", 300}, {"a", 40}, {"bb", 70}, {"c", 90}}};
    DialogRequest r = request("title", 3);
    addDialogRow(r, RowNumber, "a", "1", 10, 0);
    addDialogRow(r, RowText, "bb", "", 0, 0);
    addDialogRow(r, RowSlider, "c", "5", 10, 0);
    // Caption 310; number 20 + 70 + 100 + 20 = 210; wide text 20 + 70 + 300 = 390;
    // slider 30 + 90 + 80 + 100 + 20 = 320.
    EXPECT_EQ(computeDialogLayout(r, m).width, 410);
    m.widths["title"] = 500;
    EXPECT_EQ(computeDialogLayout(r, m).width, 530);

    // An odd width: (251 - 10) / 2 - 5 is 115.5, cut to 115; cancel at 125.
    DialogRequest odd = request("", 1);
    addDialogRow(odd, RowHeading, "h", "", 0, 0);
    DialogLayout lo = computeDialogLayout(odd, Measure{{{"h", 211}}});
    EXPECT_EQ(lo.width, 251);
    EXPECT_EQ(lo.ok.w, 115);
    EXPECT_EQ(lo.cancel.x, 125);
}

// Row 1 and row 7 of one kind, headings between: the rows of one kind share
// their group's label column, and a row's y follows its position.
DialogLayout kindAtRows1And7(std::uint8_t kind, float max, const std::string& value, Measure& m) {
    DialogRequest r = request("", 7);
    addDialogRow(r, kind, "長さ（秒）", value, max, 1.5f);
    for (int i = 2; i <= 6; ++i)
        addDialogRow(r, RowHeading, "見出し", "", 0, 0);
    addDialogRow(r, kind, "ab", value, max, 1.5f);
    m.widths["長さ（秒）"] = 64;
    m.widths["ab"] = 30;
    m.widths["見出し"] = 500; // headings never widen a control column
    return computeDialogLayout(r, m);
}

TEST(DialogLayout, ControlsOfEachKindSitInTheirColumn) {
    Measure m;
    // Label: 8 pixels per Shift-JIS byte ("長さ（秒）" is 10 bytes, 15 in UTF-8).
    DialogLayout text = kindAtRows1And7(RowText, 0, "t", m);
    expectRect(text.rows[1].label, 10, 12, 80, 22, true);
    expectRect(text.rows[7].label, 10, 162, 16, 22, true);
    expectRect(text.rows[1].edit, 84, 10, 300, 22, true); // 10 + (10 + 64), wide without a Max
    expectRect(text.rows[7].edit, 84, 160, 300, 22, true);
    EXPECT_FALSE(text.rows[1].spin.shown);
    EXPECT_FALSE(text.rows[1].check.shown || text.rows[1].radio.shown || text.rows[1].trackbar.shown);

    DialogLayout bounded = kindAtRows1And7(RowText, 44100, "t", m);
    EXPECT_EQ(bounded.rows[1].edit.w, 100);

    for (std::uint8_t kind : {RowNumber, RowLength}) {
        DialogLayout num = kindAtRows1And7(kind, 255.9f, "12.8", m);
        expectRect(num.rows[1].edit, 84, 10, 100, 22, true);
        expectRect(num.rows[1].spin, 184, 8, 20, 26, true);
        expectRect(num.rows[7].spin, 184, 158, 20, 26, true);
        // Ranges and positions are cut toward zero.
        EXPECT_EQ(num.rows[7].spinRange.min, 1);
        EXPECT_EQ(num.rows[7].spinRange.max, 255);
        EXPECT_EQ(num.rows[7].spinRange.pos, 12);
        EXPECT_FALSE(num.rows[1].trackbar.shown);
    }

    DialogLayout check = kindAtRows1And7(RowCheck, 0, "1", m);
    expectRect(check.rows[1].check, 84, 10, 100, 22, true);
    expectRect(check.rows[7].check, 84, 160, 100, 22, true);
    EXPECT_FALSE(check.rows[1].edit.shown || check.rows[1].radio.shown || check.rows[1].spin.shown);

    DialogLayout radio = kindAtRows1And7(RowRadio, 0, "1", m);
    expectRect(radio.rows[7].radio, 84, 160, 100, 22, true);
    EXPECT_FALSE(radio.rows[7].check.shown || radio.rows[7].edit.shown);

    DialogLayout slider = kindAtRows1And7(RowSlider, 255.9f, "-3.7", m);
    expectRect(slider.rows[1].trackbar, 84, 10, 80, 21, true);
    expectRect(slider.rows[1].edit, 164, 10, 100, 22, true); // moved right by the trackbar
    expectRect(slider.rows[1].spin, 264, 8, 20, 26, true);
    EXPECT_EQ(slider.rows[1].trackbarRange.min, 1);
    EXPECT_EQ(slider.rows[1].trackbarRange.max, 255);
    EXPECT_EQ(slider.rows[1].trackbarRange.pos, -3);
    // Only rows 1..6 own a trackbar; row 7 keeps the gap where it would be.
    EXPECT_FALSE(slider.rows[7].trackbar.shown);
    expectRect(slider.rows[7].edit, 164, 160, 100, 22, true);

    DialogLayout heading = kindAtRows1And7(RowHeading, 0, "", m);
    EXPECT_TRUE(heading.rows[1].label.shown);
    EXPECT_FALSE(heading.rows[1].edit.shown || heading.rows[1].spin.shown || heading.rows[1].check.shown);
    // Rows past the count stay hidden.
    EXPECT_FALSE(heading.rows[8].label.shown);
}

TEST(DialogLayout, EachKindGroupHasItsOwnLabelColumn) {
    Measure m{{{"number", 50}, {"length", 90}, {"check", 20}, {"radio", 35}, {"slide", 60}}};
    DialogRequest r = request("", 5);
    addDialogRow(r, RowLength, "length", "1", 10, 0);
    addDialogRow(r, RowNumber, "number", "1", 10, 0);
    addDialogRow(r, RowCheck, "check", "0", 0, 0);
    addDialogRow(r, RowRadio, "radio", "0", 0, 0);
    addDialogRow(r, RowSlider, "slide", "1", 10, 0);
    DialogLayout l = computeDialogLayout(r, m);
    // The length row's long label widens the column of the number row too, so
    // neither label runs into its edit box.
    EXPECT_EQ(l.rows[1].edit.x, 110);
    EXPECT_EQ(l.rows[2].edit.x, 110);
    EXPECT_EQ(l.rows[3].check.x, 40);
    EXPECT_EQ(l.rows[4].radio.x, 55);
    EXPECT_EQ(l.rows[5].trackbar.x, 80);
}

TEST(DialogLayout, AbsurdBoundsAndValuesStopAtTheIntRange) {
    DialogRequest r = request("", 1);
    addDialogRow(r, RowSlider, "", "99999999999999999999", 1e30f, -1e30f);
    DialogLayout l = computeDialogLayout(r, Measure{});
    EXPECT_EQ(l.rows[1].spinRange.min, INT_MIN);
    EXPECT_EQ(l.rows[1].spinRange.max, INT_MAX);
    EXPECT_EQ(l.rows[1].spinRange.pos, INT_MAX);
    EXPECT_EQ(cutToInt(-7.9), -7);
    EXPECT_EQ(cutToInt(7.9), 7);
}

// ---- The position file

class DialogPositionTest : public ::testing::Test {
  protected:
    FakePlatform fake;
    std::filesystem::path root;
    std::unique_ptr<EditorState> s;

    void SetUp() override {
        root = std::filesystem::temp_directory_path() / ("wavora-dialogpos-" + std::to_string(getpid()));
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
        s = std::make_unique<EditorState>(fake, root);
    }
    void TearDown() override {
        s.reset();
        std::filesystem::remove_all(root);
    }
    std::string fileBytes() {
        std::ifstream in(s->path(DialogPositionFile), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(DialogPositionTest, DefaultsWithoutAFileAndTheLastPositionAfterAClose) {
    DialogPosition p = readDialogPosition(*s);
    EXPECT_EQ(p.left, 13);
    EXPECT_EQ(p.top, 50);
    // Without the settings folder the write fails quietly.
    EXPECT_FALSE(writeDialogPosition(*s, {1, 2}));
    EXPECT_TRUE(fake.boxes.empty());

    createWorkingFolders(*s);
    // Closing a dialog that was moved saves where it was; the next one opens there.
    dialogDestroyed(*s, DialogPosition{321, -4});
    EXPECT_EQ(fileBytes(), std::string("321\r\n-4\r\n\0", 10));
    EXPECT_TRUE(std::filesystem::exists(root / pathFromUtf8("Wavora個人設定") /
                                        pathFromUtf8("　汎用ダイアログ個人設定ファイル.txt")));
    p = readDialogPosition(*s);
    EXPECT_EQ(p.left, 321);
    EXPECT_EQ(p.top, -4);
}

TEST_F(DialogPositionTest, AHandEditedFileIsReadLineByLine) {
    createWorkingFolders(*s);
    std::ofstream(s->path(DialogPositionFile), std::ios::binary) << "  200.9\n\r77x\n";
    DialogPosition p = readDialogPosition(*s);
    EXPECT_EQ(p.left, 200);
    EXPECT_EQ(p.top, 77);

    // A line of digits beyond the int range must not wrap into a random place.
    std::ofstream(s->path(DialogPositionFile), std::ios::binary | std::ios::trunc)
        << "99999999999999999999\r\n-99999999999999999999\r\n";
    p = readDialogPosition(*s);
    EXPECT_EQ(p.left, INT_MAX);
    EXPECT_EQ(p.top, INT_MIN);
}

} // namespace
} // namespace wavora
