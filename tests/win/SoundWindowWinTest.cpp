// Real sound windows: a new sound painted on screen, the active window
// deciding where commands act, the undo captions following it, and the first
// generator filling a window that undo empties again.
#include "WinHarness.h"

#include "ui/GeneralDialogWin32.h"
#include "undo/UndoStore.h"

#include <algorithm>

namespace wintest {
namespace {

using namespace std::chrono_literals;

struct SoundWindows : EditorTest {
    // New sound with the dialog's defaults, OK pressed by the user.
    HWND newSound() {
        int before = state().WindowCount;
        EXPECT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { command(1001); }, [](HWND d) {
            PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }));
        pump(300ms);
        EXPECT_EQ(state().WindowCount, before + 1);
        return reinterpret_cast<HWND>(state().active().WindowHandle);
    }
    void activate(HWND w) {
        SendMessageW(wavora::app().mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(w), 0);
        pump(250ms); // the frame's timer brings the active slot along
    }
    std::string menuText(int pos) {
        wchar_t buf[256] = {};
        GetMenuStringW(wavora::app().popups[1], static_cast<UINT>(pos), buf, 256, MF_BYPOSITION);
        // The caption without the key shown after the tab (the menu test checks the keys).
        const std::string text = utf8(buf);
        return text.substr(0, text.find('\t'));
    }
    COLORREF screenPixel(HWND w, int x, int y) {
        HDC dc = GetDC(w);
        COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(w, dc);
        return c;
    }
};

TEST_F(SoundWindows, NewSoundIsPaintedOnScreen) {
    HWND w = newSound();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(utf8(textOf(w)), "ウィンドウ0");
    EXPECT_TRUE(GetWindowLongPtrW(w, GWL_STYLE) & WS_HSCROLL);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pump(300ms);
    // Silence: one black dot per byte on row 129 of the waveform band, right
    // of the 200-pixel label strip; red centre and band lines.
    EXPECT_EQ(screenPixel(w, 260, 129), RGB(0, 0, 0));
    EXPECT_EQ(screenPixel(w, 260, 140), RGB(255, 255, 255));
    EXPECT_EQ(screenPixel(w, 260, 128), RGB(255, 0, 0));
    EXPECT_EQ(screenPixel(w, 260, 256), RGB(255, 0, 0));
    EXPECT_EQ(screenPixel(w, 199, 50), RGB(255, 0, 0)); // the label strip's edge
    EXPECT_EQ(screenPixel(w, 5, 5), RGB(254, 255, 255));
}

TEST_F(SoundWindows, CommandsActOnTheActiveWindowAndCaptionsFollowIt) {
    HWND first = newSound();
    HWND second = newSound();
    ASSERT_NE(first, second);
    activate(first);
    EXPECT_EQ(state().ActWndNum, 0);
    command(1220); // reset the volume graph of the first sound only
    EXPECT_EQ(state().docs[0].UnDoFlag, "0011");
    EXPECT_EQ(state().docs[1].UnDoFlag, "00");
    EXPECT_EQ(menuText(0), "音量グラフのリセット の取消し(&U)");

    activate(second);
    EXPECT_EQ(state().ActWndNum, 1);
    EXPECT_EQ(menuText(0), "<(_ _)>元に戻せません(&U)");
    EXPECT_TRUE(GetMenuState(wavora::app().popups[1], 0, MF_BYPOSITION) & MF_GRAYED);
    // A drawn pitch graph, recorded as drawing records it.
    std::fill_n(state().docs[1].PitchGraph.begin(), 50, std::uint8_t{9});
    wavora::snapshot(state(), 15);
    command(1221);
    EXPECT_EQ(state().docs[1].PitchGraph[0], 128);
    command(1212); // undo of the pitch reset brings the drawn graph back
    EXPECT_EQ(state().docs[1].PitchGraph[49], 9);
    EXPECT_EQ(menuText(1), "音の高さグラフのリセット のやり直し(&Y)");

    activate(first);
    EXPECT_EQ(menuText(0), "音量グラフのリセット の取消し(&U)");
    EXPECT_EQ(menuText(1), "<(_ _)>やり直せません(&Y)");
}

TEST_F(SoundWindows, SineFillsTheWindowAndUndoBringsBackTheSilence) {
    newSound();
    ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", L"Sin波（サイン波）", [&] { command(1101); }, [](HWND d) {
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }));
    pump(300ms);
    const auto& d = state().docs[0];
    EXPECT_EQ(d.Samples[0], 128);
    EXPECT_EQ(d.Samples[1], 134);
    EXPECT_EQ(d.UnDoFlag, "0020");
    EXPECT_EQ(menuText(0), "Sin波 の取消し(&U)");
    HWND w = reinterpret_cast<HWND>(d.WindowHandle);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pump(200ms);
    // Byte 1 (134) is drawn at row 135, byte 25 near the crest at 226.
    EXPECT_EQ(screenPixel(w, 201, 135), RGB(0, 0, 0));
    EXPECT_EQ(screenPixel(w, 201, 129), RGB(255, 255, 255));

    command(1212);
    EXPECT_TRUE(std::all_of(d.Samples.begin(), d.Samples.begin() + d.DataLen,
                            [](std::uint8_t b) { return b == 128; }));
    EXPECT_EQ(menuText(0), "<(_ _)>元に戻せません(&U)");
    EXPECT_EQ(menuText(1), "Sin波 のやり直し(&Y)");
}

TEST_F(SoundWindows, ClosingAWindowAsksToSaveAndFreesItsSlot) {
    HWND w = newSound();
    answerWith([](const std::string&, const std::string&) { return IDNO; });
    PostMessageW(w, WM_CLOSE, 0, 0);
    pump(1500ms, [&] { return !IsWindow(w); });
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(state().WindowCount, 0);
    EXPECT_EQ(state().docs[0].WindowHandle, 0u);
    auto seen = boxes->seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "閉じる");
    EXPECT_EQ(seen[0].text, "ウィンドウ0を保存しますか？");
}

} // namespace
} // namespace wintest
