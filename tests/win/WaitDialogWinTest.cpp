// The real wait dialog: its window, its bar and face as work is reported, and
// its end when the count is reached.
#include "WinHarness.h"

#include "ui/WaitDialog.h"

#include <commctrl.h>

namespace wintest {
namespace {

HWND childOfClass(HWND parent, const wchar_t* cls) {
    return FindWindowExW(parent, nullptr, cls, nullptr);
}

TEST_F(EditorTest, WaitDialogCountsAndCloses) {
    wavora::openWaitDialog(state());
    HWND w = findOwnWindow(L"NORMALDLG", L" お待ちください");
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(IsWindowVisible(w));
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 400);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.right - r.left, 250);
    HWND bar = childOfClass(w, PROGRESS_CLASSW);
    HWND face = childOfClass(w, L"Static");
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(utf8(textOf(face)), "|  <(_ _)>");

    wavora::setWaitTotal(state(), 10);
    wavora::advanceWait(state(), 4);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 4);
    EXPECT_EQ(utf8(textOf(face)), state().wait.WaitFaceText);
    EXPECT_EQ(utf8(textOf(face)).rfind("|", 0), 0u);
    wavora::advanceWait(state(), 5); // 9 + 1 reaches the total
    EXPECT_EQ(findOwnWindow(L"NORMALDLG", L" お待ちください"), nullptr);
    wavora::advanceWait(state(), 1); // nothing left to update
}

} // namespace
} // namespace wintest
