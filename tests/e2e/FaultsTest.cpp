// Faults on purpose, with the real programs: the helper killed while its
// dialog is open, the parts folder missing, the program folder read-only, a
// full disk under the undo folder and the save folder, damaged settings files.
// In each the editor keeps running, says what happened in its own words, and
// leaves the files on disk as they were. Mounting needs root; where the
// machine refuses, the test says so and skips.
#include "Driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const wchar_t* const OpenTitle = L"一度に読み込めるのは１つだけです";
const wchar_t* const SaveTitle = L"保存先(フォルダ)と名前を決めてください";
const wchar_t* const HelperGone = L"(;ﾟ0ﾟ) Pictraが応答しません";

struct Editor {
    fs::path folder;
    e2e::Process p;
    HWND frame = nullptr;
    explicit Editor(const fs::path& f) : folder(f), p(e2e::startEditor(f)) {
        frame = e2e::waitForWindow(L"NORMAL0", L"Wavora", p.id);
    }
    ~Editor() {
        if (p.running() && !(frame && e2e::closeEditor(frame, p))) p.kill();
    }
    // The frame handles messages again within a few seconds.
    bool answers() const {
        DWORD_PTR ignored = 0;
        return SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
    }
    // The next box of the editor with this caption: its text, and it is answered.
    std::string box(const std::wstring& caption, std::chrono::milliseconds timeout = 15s) const {
        HWND b = e2e::waitForMessageBox(caption, p.id, timeout);
        if (!b) return "(no box " + e2e::utf8(caption) + ")";
        std::this_thread::sleep_for(100ms);
        std::string text = e2e::utf8(e2e::messageBoxText(b));
        e2e::answer(b, IDOK);
        return text;
    }
    HWND open(const fs::path& file) const {
        PostMessageW(frame, WM_COMMAND, 1003, 0);
        HWND dialog = e2e::waitForFileDialog(OpenTitle);
        if (!dialog) return nullptr;
        e2e::chooseInDialog(dialog, file.wstring());
        auto end = std::chrono::steady_clock::now() + 15s;
        do {
            HWND client = FindWindowExW(frame, nullptr, L"MDICLIENT", nullptr);
            if (HWND w = client ? FindWindowExW(client, nullptr, L"document", file.filename().c_str()) : nullptr)
                return w;
            std::this_thread::sleep_for(50ms);
        } while (std::chrono::steady_clock::now() < end);
        return nullptr;
    }
};

std::vector<std::wstring> listing(const fs::path& folder) {
    std::vector<std::wstring> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs a Unix command as root and tells whether it succeeded.
bool rootCommand(const std::string& command) {
    const fs::path ok = e2e::stageFolder().parent_path() / L"e2e-work" / L"root-command-ok";
    std::error_code ec;
    fs::remove(ok, ec);
    e2e::runUnix("(" + command + ") && touch " + e2e::quoted(ok));
    return fs::exists(ok);
}

// A tmpfs of a few pages at `folder`, holding "old.wav" and filled up to the
// last byte.
bool fullDisk(const fs::path& folder) {
    fs::create_directories(folder);
    return rootCommand("umount -l " + e2e::quoted(folder) + " 2>/dev/null; mount -t tmpfs -o size=128k tmpfs " +
                       e2e::quoted(folder)) &&
           rootCommand("printf old > " + e2e::quoted(folder / L"old.wav") + " && (dd if=/dev/zero of=" +
                       e2e::quoted(folder / L"fill") + " bs=4k 2>/dev/null; true)");
}

void unmount(const fs::path& folder) { rootCommand("umount -l " + e2e::quoted(folder)); }

TEST(Faults, HelperKilledWhileItsDialogIsOpen) {
    Editor e(e2e::freshInstall(L"fault-helper-killed"));
    ASSERT_NE(e.frame, nullptr);
    HWND helper = e2e::waitForWindow(L"ModelApp", L"圧縮ファイルBMP変換だぞ", 0, 10s);
    ASSERT_NE(helper, nullptr);
    const DWORD helperPid = e2e::processOf(helper);
    PostMessageW(e.frame, WM_COMMAND, 1003, 0);
    ASSERT_NE(e2e::waitForFileDialog(OpenTitle), nullptr);

    HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, helperPid);
    ASSERT_NE(h, nullptr);
    TerminateProcess(h, 9);
    CloseHandle(h);
    // The editor, waiting inside its request, comes back and says why.
    EXPECT_NE(e.box(HelperGone).find("Pictra.exe"), std::string::npos);
    EXPECT_TRUE(e.answers());
    // Every later file command says it too, at once, rather than nothing.
    PostMessageW(e.frame, WM_COMMAND, 1003, 0);
    EXPECT_NE(e.box(HelperGone, 5s).find("キャンセル扱い"), std::string::npos);
    EXPECT_TRUE(e2e::closeEditor(e.frame, e.p));
}

TEST(Faults, MissingPartsFolder) {
    const fs::path folder = e2e::freshInstall(L"fault-no-parts");
    fs::remove_all(folder / L"Wavora部品");
    e2e::Process p = e2e::startEditor(folder);
    HWND box = e2e::waitForMessageBox(L"(;ﾟ0ﾟ) Pictraがありません", p.id);
    ASSERT_NE(box, nullptr);
    e2e::answer(box, IDOK);
    HWND frame = e2e::waitForWindow(L"NORMAL0", L"Wavora", p.id);
    ASSERT_NE(frame, nullptr);
    PostMessageW(frame, WM_COMMAND, 1003, 0);
    HWND gone = e2e::waitForMessageBox(HelperGone, p.id, 10s);
    ASSERT_NE(gone, nullptr);
    e2e::answer(gone, IDOK);
    EXPECT_TRUE(e2e::closeEditor(frame, p));
    EXPECT_FALSE(fs::exists(folder / L"Wavora部品"));
}

TEST(Faults, ReadOnlyProgramFolder) {
    const fs::path folder = e2e::freshInstall(L"fault-read-only");
    const fs::path sound = folder.parent_path() / L"fault-read-only.wav";
    e2e::runUnix("sox -n -r 8000 -b 8 -c 1 " + e2e::quoted(sound) + " synth 0.2 sine 440");
    if (!rootCommand("mount --bind " + e2e::quoted(folder) + " " + e2e::quoted(folder) + " && mount -o remount,bind,ro " +
                     e2e::quoted(folder)))
        GTEST_SKIP() << "this machine does not allow a read-only mount: the read-only program folder was not tried";
    const std::vector<std::wstring> before = listing(folder);
    {
        Editor e(folder);
        ASSERT_NE(e.frame, nullptr);
        // No working folders could be made; the first change says that it
        // cannot be undone, and the sound is there all the same.
        HWND window = e.open(sound);
        ASSERT_NE(window, nullptr);
        EXPECT_NE(e.box(L"<(_ _)>").find("WavoraUnDo"), std::string::npos);
        EXPECT_TRUE(e.answers());
        EXPECT_TRUE(IsWindow(window));
        EXPECT_TRUE(e2e::closeEditor(e.frame, e.p));
    }
    EXPECT_EQ(listing(folder), before);
    unmount(folder);
}

TEST(Faults, FullDiskUnderTheUndoFolderAndTheSaveFolder) {
    const fs::path folder = e2e::freshInstall(L"fault-full-disk");
    const fs::path full = folder.parent_path() / L"fault-full-save";
    const fs::path undo = folder / L"WavoraUnDo";
    e2e::runUnix("sox -n -r 8000 -b 8 -c 1 " + e2e::quoted(folder / L"a.wav") + " synth 0.5 sine 440");
    if (!fullDisk(undo) || !fullDisk(full))
        GTEST_SKIP() << "this machine does not allow a tmpfs mount: the full disk was not tried";
    {
        Editor e(folder);
        ASSERT_NE(e.frame, nullptr);
        HWND window = e.open(folder / L"a.wav");
        ASSERT_NE(window, nullptr);
        EXPECT_NE(e.box(L"<(_ _)>").find("WavoraUnDo"), std::string::npos);

        // Saving over a file on the full disk: refused with a reason, the old
        // file kept whole, nothing half-written left beside it.
        PostMessageW(e.frame, WM_COMMAND, 1002, 0);
        HWND save = e2e::waitForFileDialog(SaveTitle);
        ASSERT_NE(save, nullptr);
        e2e::chooseInDialog(save, (full / L"old.wav").wstring());
        HWND overwrite = nullptr;
        for (int i = 0; i < 100 && !overwrite; ++i, std::this_thread::sleep_for(50ms))
            for (HWND b = e2e::findWindow(L"#32770", nullptr); b && !overwrite; b = GetWindow(b, GW_HWNDNEXT))
                if (IsWindowVisible(b) && GetDlgItem(b, IDYES)) overwrite = b;
        ASSERT_NE(overwrite, nullptr);
        e2e::answer(overwrite, IDYES);
        for (const wchar_t* c : {L"FileHozonFolderPath  ", L"SaveFilePath  ", L"FileNameByPictraRetPath  "}) e.box(c);
        EXPECT_NE(e.box(L"(;ﾟ0ﾟ) 保存できません").find("ディスクの空き"), std::string::npos);
        e.box(L"WAVE保存 END");
        EXPECT_TRUE(e.answers());
        EXPECT_TRUE(IsWindow(window));
        EXPECT_TRUE(e2e::closeEditor(e.frame, e.p));
    }
    EXPECT_EQ(listing(full), (std::vector<std::wstring>{L"fill", L"old.wav"}));
    EXPECT_EQ(e2e::readBytes(full / L"old.wav"), "old");
    unmount(full);
    unmount(undo);
}

TEST(Faults, DamagedHugeAndWrongKindSettingsFiles) {
    const fs::path folder = e2e::freshInstall(L"fault-settings");
    const fs::path settings = folder / L"Wavora個人設定";
    fs::create_directories(settings / L"WindowPos.wavora"); // a folder where a file belongs
    e2e::runUnix("head -c 30000000 /dev/zero | tr '\\0' A > " + e2e::quoted(settings / L"FileOpenPath.wavora") +
                 "; head -c 5000 /dev/urandom > " + e2e::quoted(settings / L"TBWindowPos.wavora") +
                 "; head -c 3000 /dev/urandom > " + e2e::quoted(settings / L"　汎用ダイアログ個人設定ファイル.txt"));
    ASSERT_EQ(fs::file_size(settings / L"FileOpenPath.wavora"), 30000000u);
    Editor e(folder);
    ASSERT_NE(e.frame, nullptr);
    RECT r{};
    GetWindowRect(e.frame, &r);
    EXPECT_EQ(r.right - r.left, 950); // the rectangle of a first start
    EXPECT_TRUE(e.answers());
    EXPECT_TRUE(e2e::closeEditor(e.frame, e.p));
    EXPECT_TRUE(fs::is_directory(settings / L"WindowPos.wavora"));
    // The open folder read from the huge file is a line of at most 1003 bytes.
    EXPECT_LE(fs::file_size(settings / L"FileOpenPath.wavora"), 1004u);
}

} // namespace
