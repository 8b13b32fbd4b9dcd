// The real general dialog: its controls for each kind of row at the places the
// layout gives, Enter and Escape, the trackbar, a refused value, and the
// remembered position.
#include "WinHarness.h"

#include "core/Platform.h"
#include "ui/DialogLayout.h"
#include "ui/DialogPosition.h"
#include "ui/GeneralDialogWin32.h"

#include <commctrl.h>

namespace wintest {
namespace {

using namespace std::chrono_literals;
using wavora::addDialogRow;
using wavora::beginDialog;

// A request shaped like the sine generator's: numbers, a heading, radios, a
// check, and one slider row.
void sinLikeRequest(wavora::EditorState& s) {
    beginDialog(s.dialog, "Sin波（サイン波）", 9);
    addDialogRow(s.dialog, wavora::RowNumber, "振幅（音の大きさ）", "100", 255, 1);
    addDialogRow(s.dialog, wavora::RowNumber, "周波数（音の高さ）", "440", 4000, 1);
    addDialogRow(s.dialog, wavora::RowSlider, "位相（波を横にずらす0～99）", "0", 99, 0);
    addDialogRow(s.dialog, wavora::RowHeading, "　　　-----　入力先　-----", "", 0, 0);
    addDialogRow(s.dialog, wavora::RowRadio, "波", "1", 0, 0);
    addDialogRow(s.dialog, wavora::RowRadio, "音量", "0", 0, 0);
    addDialogRow(s.dialog, wavora::RowRadio, "音の高さ", "0", 0, 0);
    addDialogRow(s.dialog, wavora::RowCheck, "リアルタイム変化(波)", "0", 0, 0);
    addDialogRow(s.dialog, wavora::RowText, "名前", "あ", 0, 0);
}

HWND item(HWND dialog, int id) { return GetDlgItem(dialog, id); }

RECT placeOf(HWND dialog, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void expectAt(HWND dialog, HWND control, const wavora::ControlRect& want, const char* what, int row) {
    SCOPED_TRACE(std::string(what) + " of row " + std::to_string(row));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(IsWindowVisible(control) != FALSE, want.shown);
    if (!want.shown) return;
    RECT r = placeOf(dialog, control);
    EXPECT_EQ(r.left, want.x);
    EXPECT_EQ(r.top, want.y);
    EXPECT_EQ(r.right - r.left, want.w);
    EXPECT_EQ(r.bottom - r.top, want.h);
}

HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

struct GeneralDialog : EditorTest {
    int run() { return state().platform.runModalWindow(state(), "HanyouDialog"); }
};

TEST_F(GeneralDialog, ControlsOfEachKindAtTheLaidOutPlaces) {
    sinLikeRequest(state());
    int result = 1;
    bool opened = whileWindowOpen(L"NORMALDLG", L"Sin波（サイン波）", [&] { result = run(); }, [&](HWND d) {
        // The same measurement the dialog made, so the places can be compared.
        wavora::DialogLayout layout = wavora::computeDialogLayout(state().dialog, [&](const std::string& t) {
            HWND label = item(d, wavora::DialogLabelId(1));
            HDC dc = GetDC(label);
            std::wstring w = wide(t);
            SIZE size{};
            GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
            ReleaseDC(label, dc);
            return static_cast<int>(size.cx);
        });
        RECT frame{};
        GetWindowRect(d, &frame);
        EXPECT_EQ(frame.right - frame.left, layout.width);
        EXPECT_EQ(frame.bottom - frame.top, 10 + 25 * 9 + 80);
        for (int r = 1; r <= 13; ++r) {
            const wavora::RowLayout& rl = layout.rows[static_cast<std::size_t>(r)];
            expectAt(d, item(d, wavora::DialogLabelId(r)), rl.label, "label", r);
            expectAt(d, item(d, wavora::DialogEditId(r)), rl.edit, "edit", r);
            expectAt(d, item(d, wavora::DialogSpinId(r)), rl.spin, "spin", r);
            expectAt(d, item(d, wavora::DialogCheckId(r)), rl.check, "check", r);
            expectAt(d, item(d, wavora::DialogRadioId(r)), rl.radio, "radio", r);
            if (r <= 6) expectAt(d, item(d, wavora::DialogTrackbarId(r)), rl.trackbar, "trackbar", r);
        }
        // What the kinds need, independently of the layout's own flags.
        EXPECT_TRUE(IsWindowVisible(item(d, wavora::DialogSpinId(1))));
        EXPECT_FALSE(IsWindowVisible(item(d, wavora::DialogEditId(4))));
        EXPECT_TRUE(IsWindowVisible(item(d, wavora::DialogRadioId(5))));
        EXPECT_FALSE(IsWindowVisible(item(d, wavora::DialogEditId(5))));
        EXPECT_TRUE(IsWindowVisible(item(d, wavora::DialogCheckId(8))));
        EXPECT_TRUE(IsWindowVisible(item(d, wavora::DialogTrackbarId(3))));
        EXPECT_FALSE(IsWindowVisible(item(d, wavora::DialogSpinId(9))));
        EXPECT_EQ(utf8(textOf(item(d, wavora::DialogLabelId(2)))), "周波数（音の高さ）");
        EXPECT_EQ(utf8(textOf(item(d, wavora::DialogEditId(2)))), "440");
        EXPECT_EQ(utf8(textOf(item(d, wavora::DialogEditId(9)))), "あ");
        EXPECT_EQ(SendMessageW(item(d, wavora::DialogRadioId(5)), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(SendMessageW(item(d, wavora::DialogCheckId(8)), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_EQ(focusOf(d), item(d, wavora::DialogEditId(1)));
        EXPECT_FALSE(IsWindowEnabled(GetWindow(d, GW_OWNER)));
        PostMessageW(item(d, wavora::DialogCancelId), BM_CLICK, 0, 0);
    });
    ASSERT_TRUE(opened);
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(IsWindowEnabled(frame()));
}

TEST_F(GeneralDialog, EnterPressesOkAndEscapeDoesNothing) {
    sinLikeRequest(state());
    int result = 1;
    ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { result = run(); }, [&](HWND d) {
        HWND edit = item(d, wavora::DialogEditId(2));
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"880"));
        PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(edit, WM_KEYUP, VK_ESCAPE, 0);
        Sleep(400);
        EXPECT_TRUE(IsWindow(d)) << "Escape closed the dialog";
        PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(edit, WM_KEYUP, VK_RETURN, 0);
    }));
    pump(300ms);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(state().dialog.DialogRows[2].Value, "880");
    EXPECT_EQ(state().dialog.DialogRows[5].Value, "1");
    EXPECT_EQ(state().dialog.DialogRows[8].Value, "0");
    EXPECT_EQ(state().dialog.DialogAnswer, 1);
}

TEST_F(GeneralDialog, TrackbarWritesItsPositionIntoTheRowsEdit) {
    sinLikeRequest(state());
    ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { run(); }, [&](HWND d) {
        HWND bar = item(d, wavora::DialogTrackbarId(3));
        SendMessageW(bar, TBM_SETPOS, TRUE, 37);
        // What the trackbar tells its parent when the user lets go of it.
        SendMessageW(d, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 37), reinterpret_cast<LPARAM>(bar));
        EXPECT_EQ(utf8(textOf(item(d, wavora::DialogEditId(3)))), "37");
        EXPECT_EQ(focusOf(d), item(d, wavora::DialogEditId(3)));
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }));
    EXPECT_EQ(state().dialog.DialogRows[3].Value, "37");
}

TEST_F(GeneralDialog, OutOfRangeValueKeepsTheDialogOpenWithTheMessage) {
    sinLikeRequest(state());
    answerWith([](const std::string&, const std::string&) { return IDOK; });
    int result = 1;
    ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { result = run(); }, [&](HWND d) {
        HWND edit = item(d, wavora::DialogEditId(2));
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"4001"));
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        Sleep(800);
        EXPECT_TRUE(IsWindow(d));
        EXPECT_EQ(utf8(textOf(edit)), "4001");
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"4000"));
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }));
    EXPECT_EQ(result, 0);
    auto seen = boxes->seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "<(;_ _)>");
    EXPECT_EQ(seen[0].text, "上から2番目のデータが大きすぎます。\r\n範囲は1～4000のあいだです。");
    EXPECT_EQ(state().dialog.DialogRows[2].Value, "4000");
}

TEST_F(GeneralDialog, ReopensWhereItWasLeft) {
    sinLikeRequest(state());
    ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { run(); }, [&](HWND d) {
        RECT r{};
        GetWindowRect(d, &r);
        EXPECT_EQ(r.left, 13);
        EXPECT_EQ(r.top, 50);
        SetWindowPos(d, nullptr, 230, 170, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PostMessageW(item(d, wavora::DialogCancelId), BM_CLICK, 0, 0);
    }));
    EXPECT_EQ(readDialogPosition(state()).left, 230);
    sinLikeRequest(state());
    ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { run(); }, [&](HWND d) {
        RECT r{};
        GetWindowRect(d, &r);
        EXPECT_EQ(r.left, 230);
        EXPECT_EQ(r.top, 170);
        PostMessageW(item(d, wavora::DialogCancelId), BM_CLICK, 0, 0);
    }));
    // A position file the user has hidden is still kept up to date, and stays hidden.
    const std::wstring file = state().path(wavora::DialogPositionFile).wstring();
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    // Wine keeps the attribute only where the file system stores extended attributes.
    const bool hidden = (GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0;
    sinLikeRequest(state());
    ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { run(); }, [&](HWND d) {
        SetWindowPos(d, nullptr, 310, 190, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PostMessageW(item(d, wavora::DialogCancelId), BM_CLICK, 0, 0);
    }));
    EXPECT_EQ(readDialogPosition(state()).left, 310);
    EXPECT_EQ(readDialogPosition(state()).top, 190);
    const DWORD attributes = GetFileAttributesW(file.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    if (hidden) {
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    }
}

} // namespace
} // namespace wintest
