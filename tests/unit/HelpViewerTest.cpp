// The help window's memory: the last page and each page's scroll position,
// the window's rectangle and the scroll limits.
#include "ui/HelpViewer.h"
#include "FakePlatform.h"
#include "TempFolder.h"
#include "text/Paths.h"
#include "text/ShiftJis.h"

#include <gtest/gtest.h>

#include <fstream>

namespace wavora {
namespace {

using namespace test;

struct FakeHost : HelpWindowHost {
    std::string title;
    bool buttons = false, shown = false, topmost = false;
    HelpRect rect{100, 80, 600, 734};
    int client() const { return rect.height() - 30; }
    int barMax = 0, barPage = 0, barPos = 0;
    void setTitle(const std::string& t) override { title = t; }
    void showTopicButtons(bool s) override { buttons = s; }
    HelpRect windowRect() override { return rect; }
    void placeWindow(const HelpRect& r) override { rect = r; }
    int clientHeight() override { return client(); }
    int scrollBarHeight() override { return 17; }
    int workAreaHeight() override { return 1000; }
    void setScrollBar(int max, int page, int pos) override {
        barMax = max;
        barPage = page;
        barPos = pos;
    }
    void show() override { shown = true; }
    void hide() override { shown = false; }
    void repaint() override {}
    void setTopmost(bool on) override { topmost = on; }
};

struct Viewer : ::testing::Test {
    TempRoot root;
    FakePlatform fake;
    FakeHost host;
    HelpViewer v{fake, host, root.path};
    Viewer() {
        auto parts = root.path / pathFromUtf8("Wavora部品");
        std::filesystem::create_directories(parts);
        std::string page;
        for (int i = 0; i < 100; ++i)
            page += "説明の行です\r\n"; // 100 lines of 15 pixels
        for (const char* f : {"Help画面の説明.txt", "Helpツールバー.txt"})
            std::ofstream(parts / pathFromUtf8(f), std::ios::binary) << utf8ToShiftJis(page);
    }
};

TEST_F(Viewer, ReopensTheLastPageAtItsLastPosition) {
    v.open(); // nothing shown yet: the index at the window's own place
    EXPECT_TRUE(host.shown);
    EXPECT_TRUE(host.buttons);
    EXPECT_EQ(host.title, "Wavoraヘルプ");

    v.command(1002);
    EXPECT_EQ(host.title, "Wavoraヘルプ 【 画面の説明 】");
    EXPECT_FALSE(host.buttons);
    // The window fits the page: 17 + 530 wide, 1500 + 17 + 70 high but
    // within the work area; the page scrolls over 1500 + 70 pixels.
    EXPECT_EQ(host.rect.width(), 547);
    EXPECT_EQ(host.rect.height(), 990);
    EXPECT_EQ(host.rect.left, 100);
    EXPECT_EQ(v.pageHeight(), 1570);
    EXPECT_EQ(host.barMax, 1569);
    EXPECT_EQ(host.barPage, 960);
    ASSERT_NE(v.surface(), nullptr);
    EXPECT_EQ(v.surface()->height(), 3000);

    v.scroll(HelpScroll::LineDown);
    v.scroll(HelpScroll::LineDown);
    v.wheel(-120);
    EXPECT_EQ(v.scrollPos(), 60);
    v.close();
    EXPECT_FALSE(host.shown);
    EXPECT_EQ(v.surface(), nullptr);

    v.open();
    EXPECT_EQ(host.title, "Wavoraヘルプ 【 画面の説明 】");
    EXPECT_EQ(v.scrollPos(), 60);
    EXPECT_EQ(host.barPos, 60);

    // Another page starts at its top; coming back finds the old position.
    v.command(1003);
    EXPECT_EQ(v.scrollPos(), 0);
    v.command(1000);
    EXPECT_TRUE(host.buttons);
    EXPECT_EQ(host.title, "Wavoraヘルプ");
    EXPECT_EQ(host.rect.width(), 500);
    v.command(1002);
    EXPECT_EQ(v.scrollPos(), 60);
}

TEST_F(Viewer, ScrollingStaysWithinThePage) {
    v.open();
    v.command(1002);
    const int last = v.pageHeight() - host.client(); // 610
    struct Step {
        HelpScroll request;
        int thumb, wheel, want;
    } steps[] = {
        {HelpScroll::LineUp, 0, 0, 0},           // at the top already
        {HelpScroll::Other, 0, 120, 0},          // the wheel stops at 0
        {HelpScroll::Thumb, last + 29, 0, last}, // within the slack: the end
        {HelpScroll::Thumb, 300, 0, 300},
        {HelpScroll::Thumb, last + 30, 0, 300}, // too far: refused, the old place kept
        {HelpScroll::Thumb, -30, 0, 300},
        {HelpScroll::Other, 0, -240, 360}, // two notches, 30 pixels each
        {HelpScroll::Other, 0, 0, 360},
    };
    for (const Step& s : steps) {
        if (s.wheel)
            v.wheel(s.wheel);
        else
            v.scroll(s.request, s.thumb);
        EXPECT_EQ(v.scrollPos(), s.want);
    }
}

} // namespace
} // namespace wavora
