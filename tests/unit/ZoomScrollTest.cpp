// Zoom, the scroll bars and the sound window's own messages: which positions
// the bars accept, what each request moves, and what activation, closing and
// destroying leave behind.
#include "FakePlatform.h"
#include "core/WindowSurfaces.h"
#include "input/SoundWindowLifetime.h"
#include "view/SoundView.h"
#include "view/SoundWindowEvents.h"
#include "view/SoundWindows.h"

#include <gtest/gtest.h>

using namespace wavora;
using wavora::test::FakePlatform;
using wavora::test::FakeWindow;

namespace {

struct Window {
    FakePlatform p;
    EditorState s{p};
    int slot = -1;

    explicit Window(std::int32_t dataLen, int width = 1100, int height = 400) {
        createSharedSurfaces(s);
        slot = open("音", dataLen, width, height);
    }
    int open(const std::string& title, std::int32_t dataLen, int width, int height) {
        int n = createSoundWindow(s, title, width, height);
        s.docs[static_cast<std::size_t>(n)].DataLen = dataLen;
        fitViewToLength(s, n);
        onSize(s, n, width, height);
        return n;
    }
    SoundDoc& doc() { return s.docs[static_cast<std::size_t>(slot)]; }
    ViewState& view() { return doc().view; }
    FakeWindow& fake() { return p.windows[doc().WindowHandle]; }
    void press(int x, int y) {
        s.mouse.PressClientX = x;
        s.mouse.PressClientY = y;
        s.mouse.PressX = std::max(0, x - 200);
        s.mouse.PressY = y + view().ScrollY;
    }
};

} // namespace

TEST(Zoom, InAtFullScaleStaysAtOne) {
    Window w(100000);
    w.view().FirstByte = 0;
    w.press(700, 100);
    ZoomIn(w.s, w.slot);
    EXPECT_EQ(w.view().XScale, 1.0f);
    EXPECT_EQ(w.view().YScale, 1.0f);
    EXPECT_EQ(w.view().FirstByte, 0);
}

TEST(Zoom, OutHalvesTheWidthAndHoldsTheHeightAtAHalf) {
    Window w(100000);
    w.press(300, 100);
    ZoomOut(w.s, w.slot);
    EXPECT_EQ(w.view().XScale, 0.5f);
    EXPECT_EQ(w.view().YScale, 0.5f);
    ZoomOut(w.s, w.slot);
    EXPECT_EQ(w.view().XScale, 0.25f);
    EXPECT_EQ(w.view().YScale, 0.5f);
    // The bar follows: page 1100 / 0.25, extent 200 / 0.25 + DataLen.
    EXPECT_EQ(w.fake().hbar.page, 4400);
    EXPECT_EQ(w.fake().hbar.max, 800 + 100000 - 1);
    // trunc(100 - 300 / 0.25) is negative: refused, the view stays at the start.
    EXPECT_EQ(w.view().FirstByte, 0);
    EXPECT_GT(w.fake().invalidations, 0);
}

TEST(Zoom, OutOfASoundThatFitsChangesNothing) {
    Window w(901); // 900 bytes at scale 1 fit the 900 content pixels of a 1100 window
    w.view().FirstByte = 0;
    const int before = w.fake().invalidations;
    const FakeWindow::Bar bar = w.fake().hbar;
    ZoomOut(w.s, w.slot);
    EXPECT_EQ(w.view().XScale, 1.0f);
    EXPECT_EQ(w.view().YScale, 1.0f);
    EXPECT_EQ(w.fake().invalidations, before);
    EXPECT_EQ(w.fake().hbar.page, bar.page);

    Window longer(902);
    ZoomOut(longer.s, longer.slot);
    EXPECT_EQ(longer.view().XScale, 0.5f);

    // A window narrower than its label strip never fits, but the scale stops
    // long before it could reach zero.
    Window narrow(1000, 150, 400);
    for (int i = 0; i < 100; ++i)
        ZoomOut(narrow.s, narrow.slot);
    EXPECT_GT(narrow.view().XScale, 0.0f);
    EXPECT_EQ(narrow.view().XScale, 1.0f / 1048576.0f);
    PaintSoundWindow(narrow.s, narrow.slot);
}

TEST(Zoom, InScrollsTowardsThePressAndStopsShortOfTheEnd) {
    Window w(100000);
    w.press(300, 100);
    ZoomOut(w.s, w.slot);
    ZoomOut(w.s, w.slot); // 0.25 / 0.5
    w.press(500, 100);    // PressX 300
    ZoomIn(w.s, w.slot);  // 0.5 / 0.5: first byte 0 + 300 / 0.5
    EXPECT_EQ(w.view().XScale, 0.5f);
    EXPECT_EQ(w.view().YScale, 0.5f);
    EXPECT_EQ(w.view().FirstByte, 600);
    w.press(300, 100); // PressX 100
    w.s.mouse.PressY = 250;
    ZoomIn(w.s, w.slot); // 1 / 1: 600 + 100, and ScrollY = trunc(250 - 100 / 1)
    EXPECT_EQ(w.view().XScale, 1.0f);
    EXPECT_EQ(w.view().YScale, 1.0f);
    EXPECT_EQ(w.view().FirstByte, 700);
    EXPECT_EQ(w.view().ScrollY, 150);
    EXPECT_EQ(w.fake().vbar.pos, 150);

    // Near the end: DataLen - visible - 2 instead.
    Window end(3000);
    end.press(300, 100);
    ZoomOut(end.s, end.slot); // 0.5
    ZoomOut(end.s, end.slot); // 0.25
    end.press(1000, 100);     // PressX 800: 0 + 800 / 0.5 = 1600 > 3000 - 1800
    ZoomIn(end.s, end.slot);
    EXPECT_EQ(end.view().FirstByte, 3000 - 1800 - 2);
}

TEST(Scroll, VerticalLineDownMovesOneAndLineUpTen) {
    Window w(10000); // client height 400: page 400 of 768 rows
    onVerticalScroll(w.s, w.slot, ScrollRequest::ThumbPosition, 50);
    EXPECT_EQ(w.view().ScrollY, 50);
    onVerticalScroll(w.s, w.slot, ScrollRequest::LineDown, 0);
    EXPECT_EQ(w.view().ScrollY, 51);
    onVerticalScroll(w.s, w.slot, ScrollRequest::LineUp, 0);
    EXPECT_EQ(w.view().ScrollY, 41);
    EXPECT_EQ(w.fake().vbar.pos, 41);
    EXPECT_EQ(w.fake().vbar.page, 400);
    EXPECT_EQ(w.fake().vbar.max, 767);
    const int before = w.fake().invalidations;
    onVerticalScroll(w.s, w.slot, ScrollRequest::Other, 300); // only a repaint
    EXPECT_EQ(w.view().ScrollY, 41);
    EXPECT_EQ(w.fake().invalidations, before + 1);
}

TEST(Scroll, PositionsOutOfRangeAreRefused) {
    Window w(10000); // horizontal: extent 200 + 10000, page 1100: last position 9100
    onHorizontalScroll(w.s, w.slot, ScrollRequest::ThumbPosition, 9100);
    EXPECT_EQ(w.view().FirstByte, 9100);
    onHorizontalScroll(w.s, w.slot, ScrollRequest::LineRight, 0);
    EXPECT_EQ(w.view().FirstByte, 9100);
    EXPECT_EQ(w.fake().hbar.pos, 9100);
    onHorizontalScroll(w.s, w.slot, ScrollRequest::LineLeft, 0);
    EXPECT_EQ(w.view().FirstByte, 9090);
    onHorizontalScroll(w.s, w.slot, ScrollRequest::Other, 5); // any other request carries its position
    EXPECT_EQ(w.view().FirstByte, 5);
    onHorizontalScroll(w.s, w.slot, ScrollRequest::LineLeft, 0); // -5
    EXPECT_EQ(w.view().FirstByte, 5);
    onHorizontalScroll(w.s, w.slot, ScrollRequest::ThumbPosition, -1);
    EXPECT_EQ(w.view().FirstByte, 5);
    const int before = w.fake().invalidations;
    onHorizontalScroll(w.s, w.slot, ScrollRequest::EndScroll, 700);
    EXPECT_EQ(w.view().FirstByte, 5);
    EXPECT_EQ(w.fake().invalidations, before);

    // Vertically: 368 + 400 ends the range, 369 passes it.
    onVerticalScroll(w.s, w.slot, ScrollRequest::ThumbPosition, 368);
    EXPECT_EQ(w.view().ScrollY, 368);
    onVerticalScroll(w.s, w.slot, ScrollRequest::ThumbPosition, 369);
    EXPECT_EQ(w.view().ScrollY, 368);
    onVerticalScroll(w.s, w.slot, ScrollRequest::LineDown, 0);
    EXPECT_EQ(w.view().ScrollY, 368);
}

TEST(Scroll, AViewThatNoLongerFitsItsPositionComesBackIntoRange) {
    Window w(10000);
    onVerticalScroll(w.s, w.slot, ScrollRequest::ThumbPosition, 300);
    onHorizontalScroll(w.s, w.slot, ScrollRequest::ThumbPosition, 9000);
    // The window grows: page 900 rows > 768, page 1300 > what is left of the bytes.
    onSize(w.s, w.slot, 1300, 900);
    EXPECT_EQ(w.view().ScrollY, 0);
    EXPECT_EQ(w.view().FirstByte, 10200 - 1300);
    EXPECT_EQ(w.view().ClientWidth, 1300);
    EXPECT_EQ(w.fake().hbar.page, 1300);
    EXPECT_EQ(w.fake().vbar.pos, 0);
    // From there ordinary requests work again.
    onHorizontalScroll(w.s, w.slot, ScrollRequest::LineLeft, 0);
    EXPECT_EQ(w.view().FirstByte, 10200 - 1300 - 10);
}

TEST(Scroll, TheWheelMovesByAFifthOfItsDelta) {
    Window w(10000);
    onVerticalScroll(w.s, w.slot, ScrollRequest::ThumbPosition, 100);
    onMouseWheel(w.s, w.slot, 120); // away from the user: up by 24
    EXPECT_EQ(w.view().ScrollY, 76);
    onMouseWheel(w.s, w.slot, -120); // towards: down by trunc(119 / 5)
    EXPECT_EQ(w.view().ScrollY, 99);
    onMouseWheel(w.s, w.slot, -4); // trunc(3 / 5) = 0
    EXPECT_EQ(w.view().ScrollY, 99);
    onMouseWheel(w.s, w.slot, 600); // would pass the top: refused
    EXPECT_EQ(w.view().ScrollY, 99);
}

TEST(WindowEvents, ActivationAndPaintChooseTheActiveSlot) {
    Window w(1000);
    int second = w.open("二つ目", 1000, 1100, 400);
    SoundDoc& first = w.doc();
    first.UnDoFlag = "0020";
    w.s.docs[static_cast<std::size_t>(second)].UnDoFlag = "00";
    w.p.activeWindow = first.WindowHandle;
    onMdiActivate(w.s);
    EXPECT_EQ(w.s.ActWndNum, w.slot);
    const wavora::test::FakeMenuItem* undo = nullptr;
    for (auto& [key, item] : w.p.menu)
        if (item.id == 1212) undo = &item;
    ASSERT_NE(undo, nullptr);
    EXPECT_TRUE(undo->enabled);
    EXPECT_EQ(undo->caption.substr(undo->caption.size() - std::string(" の取消し(&U)").size()),
              " の取消し(&U)");

    // During painting the active slot stays, the menu still follows it.
    w.p.activeWindow = w.s.docs[static_cast<std::size_t>(second)].WindowHandle;
    w.s.frame.PaintingFlag = 1;
    onMdiActivate(w.s);
    EXPECT_EQ(w.s.ActWndNum, w.slot);
    EXPECT_FALSE(onPaint(w.s, second));
    EXPECT_EQ(w.s.ActWndNum, w.slot);
    w.s.frame.PaintingFlag = 0;

    // While a command waits for its dialog, a window uncovered and painted
    // meanwhile is painted but does not become the command's target.
    w.s.frame.DialogBusy = 1;
    EXPECT_TRUE(onPaint(w.s, second));
    onMdiActivate(w.s);
    EXPECT_EQ(w.s.ActWndNum, w.slot);
    w.s.frame.DialogBusy = 0;

    EXPECT_TRUE(onPaint(w.s, second));
    EXPECT_EQ(w.s.ActWndNum, second);
    EXPECT_EQ(w.s.surfaces[static_cast<std::size_t>(second)]->ComposeSurface->get(600, 256), Red);
}

TEST(WindowEvents, ClosingAsksThenDestroyingFreesTheSlotAndItsLayers) {
    Window w(1000);
    w.p.onDestroy = [&](WindowId id) { onDestroy(w.s, w.s.slotOfWindow(id)); };
    SoundDoc& d = w.doc();
    const WindowId handle = d.WindowHandle;
    // Two layers on this window, one elsewhere.
    int other = w.open("他", 1000, 1100, 400);
    for (int id : {1, 2}) {
        d.LayerIds[static_cast<std::size_t>(++d.LayerCount)] = id;
        w.s.layers.LyInUse[static_cast<std::size_t>(id)] = 1;
    }
    SoundDoc& o = w.s.docs[static_cast<std::size_t>(other)];
    o.LayerIds[static_cast<std::size_t>(++o.LayerCount)] = 3;
    w.s.layers.LyInUse[3] = 1;
    w.s.layers.LayerPoolNext = 4;
    d.Channels = 2;
    w.s.ActWndNum = other;

    w.p.answers.push_back(MsgAnswer::No);
    onClose(w.s, w.slot);
    ASSERT_EQ(w.p.boxes.size(), 1u);
    EXPECT_EQ(w.p.lastBox().caption, "閉じる");
    EXPECT_EQ(w.p.lastBox().text, "音を保存しますか？");
    EXPECT_EQ(w.p.lastBox().buttons, MsgButtons::YesNo);
    EXPECT_TRUE(w.p.windows[handle].destroyed);

    EXPECT_EQ(d.WindowHandle, 0u);
    EXPECT_EQ(w.s.WindowCount, 1);
    EXPECT_EQ(w.s.ActWndNum, w.slot);
    EXPECT_EQ(d.Channels, 1);
    EXPECT_EQ(d.LayerCount, 0);
    EXPECT_EQ(w.s.surfaces[static_cast<std::size_t>(w.slot)], nullptr);
    EXPECT_EQ(w.s.layers.LyInUse[1], 0);
    EXPECT_EQ(w.s.layers.LyInUse[2], 0);
    EXPECT_EQ(w.s.layers.LyInUse[3], 1);
    EXPECT_EQ(w.s.layers.LayerPoolNext, 2);

    // Yes with no save command yet still closes; a second destroy is harmless.
    onClose(w.s, other);
    EXPECT_EQ(w.s.WindowCount, 0);
    onDestroy(w.s, other);
    EXPECT_EQ(w.s.WindowCount, 0);
    EXPECT_EQ(w.s.layers.LayerPoolNext, 1);
}
