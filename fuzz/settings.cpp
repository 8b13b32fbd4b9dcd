// The personal settings files and the dialog position file as found at
// start-up, damaged in any way: read without a crash, and what is written
// back at shutdown reads back the same.
#include "FakePlatform.h"
#include "FuzzSupport.h"
#include "app/Settings.h"
#include "ui/DialogPosition.h"

#include "text/Paths.h"
#include "text/ShiftJis.h"

using namespace wavora;

namespace {

const char* const Files[] = {"Wavora個人設定/FileOpenPath.wavora", "Wavora個人設定/FileHozonPath.wavora",
                             "Wavora個人設定/WindowPos.wavora", "Wavora個人設定/TBWindowPos.wavora",
                             "Wavora個人設定/　汎用ダイアログ個人設定ファイル.txt"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static test::FakePlatform fake;
    static EditorState s(fake, fuzz::workFolder());
    static const bool once = [] {
        std::filesystem::create_directories(s.path(SettingsFolder));
        s.frame.CurrentDir = "C:\\Wavora\\";
        return true;
    }();
    (void)once;

    // Each file: absent, or a block of the input (its length in one byte,
    // 255 taking the rest).
    fuzz::Reader in(data, size);
    for (const char* name : Files) {
        const std::filesystem::path file = s.path(name);
        std::error_code ec;
        std::filesystem::remove(file, ec);
        const std::uint8_t present = in.byte();
        if (present % 4 == 0) continue;
        const std::uint8_t n = in.byte();
        fuzz::writeFile(file, n == 255 ? in.rest() : in.block(n));
    }
    fake.boxes.clear();
    loadFolderSettings(s);
    loadFramePosition(s);
    loadToolWindowPosition(s);
    const DialogPosition dialog = readDialogPosition(s);
    FUZZ_CHECK(fuzz::validUtf8(s.frame.FileOpenPath) && fuzz::validUtf8(s.frame.FileHozonPath));
    FUZZ_CHECK(!s.frame.FileOpenPath.empty() && !s.frame.FileHozonPath.empty());

    // Shutdown writes what start-up read; the next start-up reads it again.
    const FrameState before = s.frame;
    saveSettings(s);
    saveToolWindowPosition(s, before.toolLeft, before.toolTop);
    FUZZ_CHECK(writeDialogPosition(s, dialog));
    loadFolderSettings(s);
    loadFramePosition(s);
    loadToolWindowPosition(s);
    const DialogPosition again = readDialogPosition(s);
    FUZZ_CHECK(s.frame.left == before.left && s.frame.top == before.top);
    FUZZ_CHECK(s.frame.width == (before.width < 100 ? 300 : before.width));
    FUZZ_CHECK(s.frame.toolLeft == before.toolLeft && s.frame.toolTop == before.toolTop);
    FUZZ_CHECK(again.left == dialog.left && again.top == dialog.top);
    // Broken Shift-JIS in a folder file reads as U+FFFD and goes back out as
    // '?', so the folders are the same once written, not character by character.
    FUZZ_CHECK(utf8ToShiftJis(s.frame.FileOpenPath) == utf8ToShiftJis(before.FileOpenPath) &&
               utf8ToShiftJis(s.frame.FileHozonPath) == utf8ToShiftJis(before.FileHozonPath));
    return 0;
}
