// The editor's request routine against the real helper: the dialog it shows
// and the reply that comes back inside the request.
#include "Driver.h"
#include "WinHarness.h"

#include "converter/HelperClient.h"

namespace wintest {
namespace {

TEST_F(EditorTest, HelperDialogAnswersInsideTheRequest) {
    const std::wstring file = e2e::windowsPath(folder / L"選んだ.wav");
    e2e::writeBytes(file, "x");
    std::thread user([&] {
        HWND dialog = e2e::waitForFileDialog(L"開くテスト");
        if (dialog) e2e::chooseInDialog(dialog, file);
    });
    const int n = wavora::AskHelperForFile(state(), wavora::OpenDialog, "wav", "開くテスト", utf8(e2e::windowsPath(folder)), "", 0);
    user.join();
    EXPECT_EQ(n, 1);
    EXPECT_EQ(state().frame.ChosenNames[0], "選んだ.wav");
    EXPECT_EQ(wavora::helperReplyPath(state()), utf8(file));
}

} // namespace
} // namespace wintest
