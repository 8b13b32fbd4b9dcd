// Files dropped on the real frame: an HDROP made here as the shell makes one
// (a DROPFILES header and the wide paths in GlobalAlloc memory) and posted to
// it. The memory must belong to the editor's process, so the editor runs in
// this one.
#include "WinHarness.h"

#include "Driver.h"

#include <shlobj.h>

#include <cstring>

namespace wintest {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

HGLOBAL dropOf(const std::vector<fs::path>& files) {
    std::wstring list;
    for (const fs::path& f : files) list += e2e::windowsPath(f) + L'\0';
    list += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return memory;
}

TEST_F(EditorTest, DroppedFilesOpenInOrderUntilTheFifthWindow) {
    std::vector<fs::path> files;
    std::string make;
    for (int i = 1; i <= 6; ++i) {
        files.push_back(folder / (L"drop" + std::to_wstring(i) + L".wav"));
        make += "sox -n -r 8000 " + std::string(i % 2 ? "-b 8 -c 1 " : "-e u-law -c 2 ") + e2e::quoted(files.back()) +
                " synth 0.1 sine " + std::to_string(200 * i) + "; ";
    }
    ASSERT_TRUE(e2e::runUnix(make));

    // A drop while a message box is open (here one without a command running)
    // is not taken.
    answerWith([&](const std::string&, const std::string&) {
        PostMessageW(frame(), WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf(files)), 0);
        return IDOK;
    });
    command(1210);
    pump(500ms);
    EXPECT_EQ(state().WindowCount, 0);

    answerWith(nullptr);
    PostMessageW(frame(), WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf(files)), 0);
    pump(20s, [&] { return !boxes->seen().empty(); });
    pump(300ms);
    const std::vector<SeenBox> seen = boxes->seen();
    ASSERT_EQ(seen.size(), 1u); // for the sixth file
    EXPECT_EQ(seen[0].caption + seen[0].text, "<(_ _)>画像は5枚までです。");
    ASSERT_EQ(state().WindowCount, 5);
    for (int slot = 0; slot < 5; ++slot) {
        const wavora::SoundDoc& d = state().docs[static_cast<std::size_t>(slot)];
        EXPECT_EQ(textOf(reinterpret_cast<HWND>(d.WindowHandle)), L"drop" + std::to_wstring(slot + 1) + L".wav");
        EXPECT_EQ(d.Channels * d.BitsParSample, slot % 2 ? 32 : 8); // u-law stereo became 16-bit
    }
}

} // namespace
} // namespace wintest
