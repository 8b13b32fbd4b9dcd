// Open and Save with the real programs: the editor asks Pictra, Pictra shows
// the common dialog, the test types into it as a user would. Sound files are
// made and read back by sox, a program that knows nothing of ours.
#include "Driver.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const wchar_t* const OpenTitle = L"一度に読み込めるのは１つだけです";
const wchar_t* const SaveTitle = L"保存先(フォルダ)と名前を決めてください";

HWND soundWindow(HWND frame, const std::wstring& title, std::chrono::milliseconds timeout = 15s) {
    auto end = std::chrono::steady_clock::now() + timeout;
    do {
        HWND client = FindWindowExW(frame, nullptr, L"MDICLIENT", nullptr);
        if (HWND w = client ? FindWindowExW(client, nullptr, L"document", title.c_str()) : nullptr) return w;
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < end);
    return nullptr;
}

// The question before a file is overwritten, asked by the helper's dialog.
bool confirmOverwrite(DWORD helperPid) {
    auto end = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < end) {
        HWND box = e2e::findWindow(L"#32770", nullptr, helperPid);
        for (; box; box = GetWindow(box, GW_HWNDNEXT))
            if (e2e::processOf(box) == helperPid && IsWindowVisible(box) && GetDlgItem(box, IDYES)) {
                e2e::answer(box, IDYES);
                return true;
            }
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

// Answers the next box of the editor, which must have this caption; its text.
std::string okBox(const std::wstring& caption, DWORD pid) {
    HWND box = e2e::waitForMessageBox(caption, pid, 10s);
    if (!box) return "(no box " + e2e::utf8(caption) + ")";
    std::this_thread::sleep_for(100ms);
    std::string text = e2e::utf8(e2e::messageBoxText(box));
    e2e::answer(box, IDOK);
    return text;
}

struct Running {
    fs::path folder;
    e2e::Process p;
    HWND frame = nullptr;
    DWORD helperPid = 0;
    explicit Running(const fs::path& f) : folder(f), p(e2e::startEditor(f)) {
        frame = e2e::waitForWindow(L"NORMAL0", L"Wavora", p.id);
        HWND helper = e2e::waitForWindow(L"ModelApp", L"圧縮ファイルBMP変換だぞ", 0, 10s);
        helperPid = helper ? e2e::processOf(helper) : 0;
    }
    ~Running() {
        if (frame && !e2e::closeEditor(frame, p)) p.kill();
    }
    HWND open(const fs::path& file, int command = 1003, const wchar_t* title = OpenTitle) {
        PostMessageW(frame, WM_COMMAND, static_cast<WPARAM>(command), 0);
        HWND dialog = e2e::waitForFileDialog(title);
        if (!dialog) return nullptr;
        e2e::chooseInDialog(dialog, file.wstring());
        return soundWindow(frame, file.filename().wstring());
    }
    // Saves the active sound, every box answered.
    void save(const fs::path& file) {
        if (HWND dialog = saveDialog()) e2e::chooseInDialog(dialog, file.wstring());
        for (const wchar_t* c : {L"FileHozonFolderPath  ", L"SaveFilePath  ", L"FileNameByPictraRetPath  ", L"WAVE保存 END"})
            okBox(c, p.id);
    }
    HWND saveDialog() {
        PostMessageW(frame, WM_COMMAND, 1002, 0);
        return e2e::waitForFileDialog(SaveTitle);
    }
};

std::string sox(const fs::path& file, int rate, int bits, int channels, const std::string& encoding = "") {
    return "sox -n -r " + std::to_string(rate) + " -b " + std::to_string(bits) + " -c " + std::to_string(channels) +
           " " + encoding + " " + e2e::quoted(file) + " synth 0.2 sine 300-900 sine 500; ";
}

// sox's own 16-bit decoding of a file, as raw bytes.
std::string soxSamples(const fs::path& wav) {
    const fs::path raw = fs::path(wav.wstring() + L".raw");
    e2e::runUnix("sox -D " + e2e::quoted(wav) + " -t raw -e signed -b 16 " + e2e::quoted(raw));
    return e2e::readBytes(raw);
}

TEST(FileDialogs, OpenReadsWhatSoxMadeAndSaveWritesWhatSoxReadsBack) {
    fs::path folder = e2e::freshInstall(L"files-open-save");
    fs::path sounds = folder / L"音声";
    fs::create_directories(sounds);
    const struct {
        const wchar_t* name;
        int rate, bits, channels;
    } formats[] = {{L"八ビット.wav", 11025, 8, 1}, {L"mono16.wav", 22050, 16, 1}, {L"stereo8.wav", 8000, 8, 2}};
    std::string make;
    for (const auto& f : formats) make += sox(sounds / f.name, f.rate, f.bits, f.channels);
    ASSERT_TRUE(e2e::runUnix(make));

    Running r(folder);
    ASSERT_NE(r.frame, nullptr);
    bool firstShot = true;
    for (const auto& f : formats) {
        SCOPED_TRACE(e2e::utf8(f.name));
        PostMessageW(r.frame, WM_COMMAND, 1003, 0);
        HWND dialog = e2e::waitForFileDialog(OpenTitle);
        ASSERT_NE(dialog, nullptr);
        if (firstShot) e2e::runUnix("import -window root " + e2e::quoted(e2e::stageFolder().parent_path() / L"open-dialog.png"));
        firstShot = false;
        e2e::chooseInDialog(dialog, (sounds / f.name).wstring());
        ASSERT_NE(soundWindow(r.frame, f.name), nullptr);
        // The chosen folder is remembered at once, not only at the end.
        EXPECT_TRUE(fs::exists(folder / L"Wavora個人設定" / L"FileOpenPath.wavora"));

        HWND save = r.saveDialog();
        ASSERT_NE(save, nullptr);
        EXPECT_EQ(e2e::windowText(GetDlgItem(save, 0x47C)), std::wstring(f.name) + L".wav");
        const fs::path out = sounds / (std::wstring(L"out-") + f.name);
        e2e::chooseInDialog(save, out.wstring());
        EXPECT_EQ(okBox(L"FileHozonFolderPath  ", r.p.id), e2e::utf8(e2e::windowsPath(sounds) + L"\\"));
        EXPECT_EQ(okBox(L"SaveFilePath  ", r.p.id), e2e::utf8(e2e::windowsPath(out)));
        EXPECT_EQ(okBox(L"FileNameByPictraRetPath  ", r.p.id), e2e::utf8(e2e::windowsPath(out)));
        std::string end = std::to_string(f.rate * f.bits / 8 * f.channels / 5); // 0.2 s of data
        for (int i = 0; i < 9; ++i) end += "\r\n0";
        EXPECT_EQ(okBox(L"WAVE保存 END", r.p.id), end);

        // sox reads the saved file as the one it made: format, length and samples.
        const fs::path in = sounds / f.name, infoIn = sounds / L"in.txt", infoOut = sounds / L"out.txt";
        auto describe = [](const fs::path& wav, const fs::path& txt) {
            return "sox --i -r -b -c -s " + e2e::quoted(wav) + " > " + e2e::quoted(txt) + "; sox " + e2e::quoted(wav) +
                   " -t raw " + e2e::quoted(fs::path(txt.wstring() + L".raw")) + "; ";
        };
        ASSERT_TRUE(e2e::runUnix(describe(in, infoIn) + describe(out, infoOut)));
        EXPECT_FALSE(e2e::readBytes(infoIn).empty());
        EXPECT_EQ(e2e::readBytes(infoOut), e2e::readBytes(infoIn));
        EXPECT_EQ(e2e::readBytes(infoOut.wstring() + L".raw"), e2e::readBytes(infoIn.wstring() + L".raw"));
    }
}

TEST(FileDialogs, CancelChangesNothingAndWritesNoSetting) {
    fs::path folder = e2e::freshInstall(L"files-cancel");
    ASSERT_TRUE(e2e::runUnix(sox(folder / L"a.wav", 8000, 8, 1)));
    Running r(folder);
    ASSERT_NE(r.frame, nullptr);
    PostMessageW(r.frame, WM_COMMAND, 1003, 0);
    HWND dialog = e2e::waitForFileDialog(OpenTitle);
    ASSERT_NE(dialog, nullptr);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(FindWindowExW(FindWindowExW(r.frame, nullptr, L"MDICLIENT", nullptr), nullptr, L"document", nullptr),
              nullptr);
    ASSERT_NE(r.open(folder / L"a.wav"), nullptr);
    // A cancelled save shows only its closing box.
    HWND save = r.saveDialog();
    ASSERT_NE(save, nullptr);
    PostMessageW(save, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(okBox(L"WAVE保存 END", r.p.id).empty());
    EXPECT_EQ(e2e::findWindow(L"#32770", L"FileHozonFolderPath  ", r.p.id), nullptr);
    EXPECT_FALSE(fs::exists(folder / L"Wavora個人設定" / L"FileHozonPath.wavora"));
}

TEST(FileDialogs, AFailedSaveSaysWhyKeepsTheOldFileAndTheWindow) {
    fs::path folder = e2e::freshInstall(L"files-failed-save");
    fs::path locked = e2e::stageFolder().parent_path() / L"e2e-work" / L"files-locked";
    // A folder no one may write in, even root: the file system's immutable mark.
    ASSERT_TRUE(e2e::runUnix("chattr -R -i " + e2e::quoted(locked) + " 2>/dev/null; rm -rf " + e2e::quoted(locked) +
                             "; mkdir -p " + e2e::quoted(locked) + "; printf old > " + e2e::quoted(locked / L"old.wav") +
                             "; chattr +i " + e2e::quoted(locked) + "; " + sox(folder / L"a.wav", 8000, 8, 1)));
    Running r(folder);
    ASSERT_NE(r.frame, nullptr);
    HWND window = r.open(folder / L"a.wav");
    ASSERT_NE(window, nullptr);

    // A folder that goes away between the dialog and the writing.
    fs::path gone = folder / L"消える";
    fs::create_directories(gone);
    HWND save = r.saveDialog();
    ASSERT_NE(save, nullptr);
    e2e::chooseInDialog(save, (gone / L"new.wav").wstring());
    HWND first = e2e::waitForMessageBox(L"FileHozonFolderPath  ", r.p.id);
    ASSERT_NE(first, nullptr);
    fs::remove_all(gone);
    e2e::answer(first, IDOK);
    okBox(L"SaveFilePath  ", r.p.id);
    okBox(L"FileNameByPictraRetPath  ", r.p.id);
    EXPECT_NE(okBox(L"(;ﾟ0ﾟ) 保存できません", r.p.id).find("フォルダが見つかりません"), std::string::npos);
    okBox(L"WAVE保存 END", r.p.id);
    EXPECT_FALSE(fs::exists(gone));

    if (CreateDirectoryW((locked / L"probe").c_str(), nullptr)) {
        e2e::runUnix("chattr -R -i " + e2e::quoted(locked));
        GTEST_SKIP() << "this file system does not lock a folder for root: the read-only folder was not tried";
    }
    // Closing the window: save it, over the old file in the locked folder.
    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND ask = e2e::waitForMessageBox(L"閉じる", r.p.id);
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(e2e::utf8(e2e::messageBoxText(ask)), "a.wavを保存しますか？");
    e2e::answer(ask, IDYES);
    save = e2e::waitForFileDialog(SaveTitle);
    ASSERT_NE(save, nullptr);
    e2e::chooseInDialog(save, (locked / L"old.wav").wstring());
    EXPECT_TRUE(confirmOverwrite(r.helperPid));
    for (const wchar_t* c : {L"FileHozonFolderPath  ", L"SaveFilePath  ", L"FileNameByPictraRetPath  "}) okBox(c, r.p.id);
    const std::string why = okBox(L"(;ﾟ0ﾟ) 保存できません", r.p.id);
    EXPECT_NE(why.find(e2e::utf8(e2e::windowsPath(locked / L"old.wav"))), std::string::npos) << why;
    EXPECT_NE(why.find("書き込めません"), std::string::npos) << why;
    okBox(L"WAVE保存 END", r.p.id);
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(IsWindow(window)); // the sound is still there
    e2e::runUnix("chattr -R -i " + e2e::quoted(locked));
    EXPECT_EQ(e2e::readBytes(locked / L"old.wav"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(locked), fs::directory_iterator()), 1); // no half-written file
}

TEST(FileDialogs, RememberedFoldersSurviveARestart) {
    fs::path folder = e2e::freshInstall(L"files-remembered");
    fs::path sounds = folder / L"フォルダA", saved = folder / L"保存先B";
    fs::create_directories(sounds);
    fs::create_directories(saved);
    ASSERT_TRUE(e2e::runUnix(sox(sounds / L"a.wav", 8000, 8, 1) + sox(sounds / L"b.wav", 8000, 8, 1)));
    auto saveAs = [](Running& r, const std::wstring& typed) {
        HWND save = r.saveDialog();
        ASSERT_NE(save, nullptr);
        e2e::chooseInDialog(save, typed);
        for (const wchar_t* c : {L"FileHozonFolderPath  ", L"SaveFilePath  ", L"FileNameByPictraRetPath  ", L"WAVE保存 END"})
            okBox(c, r.p.id);
    };
    {
        Running r(folder);
        ASSERT_NE(r.open(sounds / L"a.wav"), nullptr);
        saveAs(r, (saved / L"first.wav").wstring());
    }
    // Each folder in its own file, in Shift-JIS with its closing NUL.
    auto sjisFolder = [](const fs::path& p) {
        const std::wstring text = e2e::windowsPath(p) + L"\\";
        std::string out(text.size() * 2 + 1, '\0');
        out.resize(static_cast<std::size_t>(
            WideCharToMultiByte(932, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr)));
        return out;
    };
    EXPECT_EQ(e2e::readBytes(folder / L"Wavora個人設定" / L"FileOpenPath.wavora"), sjisFolder(sounds));
    EXPECT_EQ(e2e::readBytes(folder / L"Wavora個人設定" / L"FileHozonPath.wavora"), sjisFolder(saved));

    // Bare names: each dialog starts in its remembered folder.
    Running again(folder);
    PostMessageW(again.frame, WM_COMMAND, 1003, 0);
    HWND dialog = e2e::waitForFileDialog(OpenTitle);
    ASSERT_NE(dialog, nullptr);
    e2e::chooseInDialog(dialog, L"b.wav");
    EXPECT_NE(soundWindow(again.frame, L"b.wav"), nullptr);
    saveAs(again, L"second.wav");
    EXPECT_TRUE(fs::exists(saved / L"second.wav"));
    saveAs(again, L"third"); // no extension is added to a typed name
    EXPECT_TRUE(fs::exists(saved / L"third"));
}

// The largest difference between two runs of 16-bit samples of one length.
int largestStep(const std::string& a, const std::string& b) {
    int worst = a.size() == b.size() && !a.empty() ? 0 : 1 << 16;
    for (std::size_t i = 0; worst == 0 && i + 1 < a.size(); i += 2) {
        auto at = [i](const std::string& s) { return static_cast<std::int16_t>((s[i] & 0xFF) | (s[i + 1] & 0xFF) << 8); };
        worst = std::max(worst, std::abs(at(a) - at(b)));
    }
    return worst;
}

TEST(FileDialogs, AStereoMixOf16BitSoundsIsSavedAndOpenedAgainByteForByte) {
    const fs::path folder = e2e::freshInstall(L"files-stereo16");
    const std::string l = e2e::quoted(folder / L"L.wav"), rr = e2e::quoted(folder / L"R.wav");
    ASSERT_TRUE(e2e::runUnix(sox(folder / L"L.wav", 8000, 16, 1) + "sox " + l + " " + rr + " reverse; sox -M " + l + " " +
                             rr + " " + e2e::quoted(folder / L"both.wav")));
    Running r(folder);
    ASSERT_NE(r.open(folder / L"L.wav"), nullptr);
    ASSERT_NE(r.open(folder / L"R.wav"), nullptr);
    PostMessageW(r.frame, WM_COMMAND, 1251, 0);
    // The rows are the windows in order: L.wav, R.wav.
    for (auto [caption, row] : {std::pair{L"左チャンネルの音を指定してください。", 501}, {L"右チャンネルの音を指定してください。", 502}}) {
        HWND d = e2e::waitForWindow(L"NORMALDLG", caption, r.p.id, 10s);
        ASSERT_NE(d, nullptr);
        std::this_thread::sleep_for(400ms);
        PostMessageW(GetDlgItem(d, row), BM_CLICK, 0, 0);
        std::this_thread::sleep_for(300ms);
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    ASSERT_NE(soundWindow(r.frame, L"ステレオ合成 左L.wav 右 R.wav"), nullptr);
    r.save(folder / L"mix.wav");
    EXPECT_EQ(soxSamples(folder / L"mix.wav"), soxSamples(folder / L"both.wav")); // the two sources side by side
    // Open reads what Save wrote, and the same bytes are written again.
    ASSERT_NE(r.open(folder / L"mix.wav"), nullptr);
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(e2e::findWindow(L"#32770", nullptr, r.p.id), nullptr) << "Open refused the file it wrote";
    r.save(folder / L"again.wav");
    EXPECT_EQ(e2e::readBytes(folder / L"again.wav"), e2e::readBytes(folder / L"mix.wav"));
}

TEST(FileDialogs, OtherProgramsFilesOpenThroughTheOfferAndThroughConvertAndOpen) {
    const fs::path folder = e2e::freshInstall(L"files-convert");
    ASSERT_TRUE(e2e::runUnix(sox(folder / L"float.wav", 8000, 32, 1, "-e floating-point") +
                             sox(folder / L"plain24.wav", 8000, 24, 2)));
    Running r(folder);
    ASSERT_NE(r.open(folder / L"float.wav"), nullptr);
    EXPECT_EQ(okBox(L"PCM形式でない", r.p.id), "このファイルはWavoraでは読み込めません。");
    HWND offer = e2e::waitForMessageBox(L"(o・ェ・)", r.p.id, 10s);
    ASSERT_NE(offer, nullptr);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(e2e::utf8(e2e::messageBoxText(offer)), "このファイルは「変換して読み込み」で開けます。\r\n変換して開きますか？");
    e2e::answer(offer, IDYES);
    std::this_thread::sleep_for(300ms);
    r.save(folder / L"out-float.wav");
    EXPECT_LE(largestStep(soxSamples(folder / L"out-float.wav"), soxSamples(folder / L"float.wav")), 1);

    // A LIST chunk before the data, as many recorders write.
    std::string bytes = e2e::readBytes(folder / L"plain24.wav");
    bytes.insert(bytes.find("data"), std::string("LIST\x0c\0\0\0INFOISFT\0\0\0\0", 20));
    const auto riffSize = static_cast<std::uint32_t>(bytes.size() - 8);
    for (std::size_t i = 0; i < 4; ++i) bytes[4 + i] = static_cast<char>(riffSize >> (8 * i));
    e2e::writeBytes(folder / L"list24.wav", bytes);
    ASSERT_NE(r.open(folder / L"list24.wav", 1270, L"変換して読み込むwavファイルを選んでください"), nullptr);
    r.save(folder / L"out24.wav");
    EXPECT_LE(largestStep(soxSamples(folder / L"out24.wav"), soxSamples(folder / L"plain24.wav")), 1);
}

} // namespace
