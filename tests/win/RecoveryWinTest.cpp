// The Edit menu of the real frame after a sound came back: the undo and redo
// items read as they did before the program went, and undo goes on.
#include "WinHarness.h"

#include "app/StartupRecovery.h"
#include "undo/UndoStore.h"

namespace wintest {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct RecoveryMenu : EditorTest {
    std::pair<std::string, bool> item(int position) {
        HMENU edit = wavora::app().popups[1];
        wchar_t text[256] = {};
        GetMenuStringW(edit, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
        const bool grayed = GetMenuState(edit, static_cast<UINT>(position), MF_BYPOSITION) & MF_GRAYED;
        return {utf8(text), !grayed};
    }
};

TEST_F(RecoveryMenu, TheUndoAndRedoItemsComeBackAsTheyWere) {
    ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { command(1001); }, [](HWND d) {
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }));
    pump(300ms);
    for (int code : {20, 14, 29}) wavora::snapshot(state(), code);
    command(1212);
    const auto undo = item(0), redo = item(1);
    ASSERT_EQ(undo.first, "エコー の取消し(&U)");
    ASSERT_EQ(redo.first, "ディストーション のやり直し(&Y)");

    // What a run that died leaves: the folder as it is now.
    const fs::path kept = folder / L"kept";
    fs::copy(folder / L"WavoraUnDo", kept);
    TearDown();
    fs::rename(kept, folder / L"WavoraUnDo");
    answerWith([](const std::string& caption, const std::string&) {
        return caption == wavora::RecoveryCaption ? IDYES : IDNO;
    });
    ASSERT_NE(wavora::startEditor(GetModuleHandleW(nullptr), folder), nullptr);
    pump(300ms);
    ASSERT_EQ(boxes->seen().size(), 1u);
    EXPECT_EQ(item(0), undo);
    EXPECT_EQ(item(1), redo);
    command(1212);
    EXPECT_EQ(item(0).first, "Sin波 の取消し(&U)");
    EXPECT_EQ(item(1).first, "エコー のやり直し(&Y)");
}

} // namespace
} // namespace wintest
