// The real help window: the index at its places, every topic button opening
// its staged page, and the page and scroll position coming back when help is
// opened again.
#include "WinHarness.h"

#include "ui/HelpViewer.h"
#include "ui/HelpWindowWin32.h"

namespace wintest {
namespace {

using namespace std::chrono_literals;

struct HelpWindow : EditorTest {
    HWND help() const { return wavora::app().helpWindow; }
    RECT childRect(int id) {
        RECT r{};
        HWND b = GetDlgItem(help(), id);
        GetWindowRect(b, &r);
        MapWindowPoints(nullptr, help(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    void click(int id) {
        SendMessageW(help(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(help(), id)));
        pump(100ms);
    }
};

TEST_F(HelpWindow, IndexButtonsOpenEveryPageWithItsTitle) {
    ASSERT_NE(help(), nullptr);
    EXPECT_FALSE(IsWindowVisible(help())); // made hidden at start-up
    command(1250);
    pump(200ms);
    ASSERT_TRUE(IsWindowVisible(help()));
    EXPECT_EQ(utf8(textOf(help())), "Wavoraヘルプ");
    RECT back = childRect(wavora::HelpMenuButtonId);
    EXPECT_EQ(back.left, 50);
    EXPECT_EQ(back.top, 2);
    EXPECT_EQ(back.right - back.left, 400);
    EXPECT_EQ(utf8(textOf(GetDlgItem(help(), wavora::HelpMenuButtonId))), "メニューに戻る");
    for (const wavora::HelpTopic& t : wavora::HelpTopics) {
        SCOPED_TRACE(t.label);
        HWND b = GetDlgItem(help(), t.id);
        ASSERT_NE(b, nullptr);
        EXPECT_TRUE(IsWindowVisible(b));
        EXPECT_EQ(utf8(textOf(b)), t.label);
        RECT r = childRect(t.id);
        EXPECT_EQ(r.left, t.x);
        EXPECT_EQ(r.top, t.y);
        EXPECT_EQ(r.right - r.left, t.width);
        EXPECT_EQ(r.bottom - r.top, t.height);
    }

    for (const wavora::HelpTopic& t : wavora::HelpTopics) {
        SCOPED_TRACE(t.file);
        click(t.id);
        EXPECT_EQ(utf8(textOf(help())), std::string("Wavoraヘルプ 【 ") + t.title + " 】");
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(help(), t.id)));
        const wavora::HelpViewer* v = wavora::helpViewer();
        ASSERT_NE(v, nullptr);
        EXPECT_GT(v->page().lines.size(), 20u); // the staged page was found and read
        click(wavora::HelpMenuButtonId);
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(help(), t.id)));
    }
    // No page named a picture that is missing, nor one without its extension.
    EXPECT_TRUE(boxes->seen().empty());
}

TEST_F(HelpWindow, OpeningAgainShowsTheLastPageAtItsLastPosition) {
    command(1250);
    pump(200ms);
    click(1082); // グラフの使い方
    for (int i = 0; i < 3; ++i)
        SendMessageW(help(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(GetScrollPos(help(), SB_VERT), 45);
    SendMessageW(help(), WM_CLOSE, 0, 0);
    pump(100ms);
    EXPECT_FALSE(IsWindowVisible(help()));
    EXPECT_TRUE(IsWindow(help()));

    command(1250);
    pump(200ms);
    EXPECT_TRUE(IsWindowVisible(help()));
    EXPECT_EQ(utf8(textOf(help())), "Wavoraヘルプ 【 グラフの使い方 】");
    EXPECT_EQ(GetScrollPos(help(), SB_VERT), 45);

    // The right button's one item keeps the window above the others.
    wavora::helpViewer()->command(wavora::HelpTopmostCommand);
    EXPECT_TRUE(GetWindowLongPtrW(help(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_STREQ(wavora::helpViewer()->topmostCaption(), "最全面表示をやめる");
}

} // namespace
} // namespace wintest
