// The Edit menu of the real frame after a sound came back: the undo and redo
// items read as they did before the program went, and undo goes on.
#include "WinHarness.h"

#include "app/StartupRecovery.h"
#include "undo/UndoStore.h"

namespace wintest {
namespace {

using namespace std::chrono_literals;

std::string editItems() {
    wchar_t undo[256] = {}, redo[256] = {};
    GetMenuStringW(wavora::app().popups[1], 0, undo, 256, MF_BYPOSITION);
    GetMenuStringW(wavora::app().popups[1], 1, redo, 256, MF_BYPOSITION);
    const UINT grayed = GetMenuState(wavora::app().popups[1], 1, MF_BYPOSITION) & MF_GRAYED;
    return utf8(undo) + " / " + utf8(redo) + (grayed ? " grayed" : "");
}

using RecoveryMenu = EditorTest;

TEST_F(RecoveryMenu, TheEditMenuComesBackAsItWas) {
    ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { command(1001); },
                                [](HWND d) { PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }));
    pump(300ms);
    for (int code : {20, 14, 29}) wavora::snapshot(state(), code);
    command(1212);
    const std::string before = editItems();
    ASSERT_EQ(before, "エコー の取消し(&U)\tCtrl+Z / ディストーション のやり直し(&Y)\tCtrl+Y");
    // What a run that died leaves: the folder as it is now.
    std::filesystem::copy(folder / L"WavoraUnDo", folder / L"kept");
    TearDown();
    std::filesystem::rename(folder / L"kept", folder / L"WavoraUnDo");
    answerWith([](const std::string& caption, const std::string&) { return caption == wavora::RecoveryCaption ? IDYES : IDNO; });
    ASSERT_NE(wavora::startEditor(GetModuleHandleW(nullptr), folder), nullptr);
    EXPECT_EQ(editItems(), before);
    command(1212);
    EXPECT_EQ(editItems(), "Sin波 の取消し(&U)\tCtrl+Z / エコー のやり直し(&Y)\tCtrl+Y");
}

} // namespace
} // namespace wintest
