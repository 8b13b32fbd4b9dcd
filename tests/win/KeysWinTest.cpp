// The keys a user presses first, as real key events of the X server (xdotool)
// reaching the editor's frame, and the history window: what is heard is
// captured by ALSA and compared with the literal rendering of the sound.
#include "WinHarness.h"

#include "Driver.h"
#include "FakePlatform.h"
#include "LiteralPlay.h"
#include "ui/GeneralDialogWin32.h"
#include "undo/UndoStore.h"

#include <fstream>
#include <iterator>
#include <map>

namespace wintest {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

struct Keys : EditorTest {
    void SetUp() override {
        EditorTest::SetUp();
        ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { command(1001); }, [](HWND d) {
            PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }));
        pump(300ms);
        ASSERT_EQ(state().WindowCount, 1);
        sound(3000, 20);
    }
    fs::path playedFile() const { return folder.parent_path().parent_path() / L"winehome" / L"played.raw"; }
    std::vector<std::uint8_t> played() const {
        std::ifstream in(playedFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // A pattern with drawn graphs, recorded as the change `code`.
    void sound(std::int32_t length, int code, std::uint8_t pitch = 70) {
        wavora::SoundDoc& d = state().active();
        d.DataLen = length;
        for (std::int32_t i = 0; i < length; ++i) {
            d.Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(60 + (i * (code + 3)) % 131);
            d.PitchGraph[static_cast<std::size_t>(i)] = i < length / 2 ? pitch : 128;
            d.VolumeGraph[static_cast<std::size_t>(i)] = i % 300 < 150 ? 90 : 128;
        }
        wavora::snapshot(state(), code);
    }
    // What Play would send for the sound as it is, by the literal algorithm.
    std::vector<std::uint8_t> rendered() {
        const wavora::SoundDoc& d = state().active();
        wavora::test::FakePlatform fake;
        wavora::EditorState copy(fake);
        wavora::SoundDoc& c = copy.active();
        c.Samples = d.Samples;
        c.VolumeGraph = d.VolumeGraph;
        c.PitchGraph = d.PitchGraph;
        c.DataLen = d.DataLen;
        EXPECT_TRUE(wavora::test::literalPitchStretch(copy));
        wavora::ApplyVolumeGraph(copy, 0, c.DataLen);
        return {c.Samples.begin(), c.Samples.begin() + c.DataLen};
    }
    void expectHeard(const std::vector<std::uint8_t>& expect) {
        pump(10s, [&] { return !state().play.PlayingFlag; });
        pump(300ms);
        const auto got = played();
        ASSERT_GE(got.size(), expect.size());
        EXPECT_TRUE(std::equal(expect.begin(), expect.end(), got.begin())) << "the captured bytes differ";
    }
    // A real key press at the frame, the way a user's keyboard gives it.
    void press(const std::string& keys) {
        SetForegroundWindow(frame());
        pump(200ms);
        ASSERT_TRUE(e2e::runUnix("DISPLAY=" + display() + " xdotool key " + keys));
        pump(500ms);
    }
    static std::string display() {
        char buf[64] = {};
        return GetEnvironmentVariableA("DISPLAY", buf, sizeof buf) ? buf : ":91";
    }
    std::map<std::string, std::string> undoFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& f : fs::directory_iterator(folder / L"WavoraUnDo"))
            files[utf8(f.path().filename().wstring())] = e2e::readBytes(f.path());
        return files;
    }
};

TEST_F(Keys, SpaceAuditionsWithoutAStepEscapeStopsCtrlZUndoes) {
    const auto files = undoFiles();
    const std::string history = state().active().UnDoFlag;
    std::error_code ec;
    fs::remove(playedFile(), ec);
    press("space");
    expectHeard(rendered());
    EXPECT_EQ(undoFiles(), files);
    EXPECT_EQ(state().active().UnDoFlag, history);
    EXPECT_NE(state().active().PitchGraph[0], 128); // the graphs are still drawn

    sound(400000, 21, 128); // seconds of sound to stop in the middle of
    press("space");
    EXPECT_EQ(state().play.PlayingFlag, 1);
    press("Escape");
    EXPECT_EQ(state().play.PlayingFlag, 0);

    const std::string before = state().active().UnDoFlag;
    press("ctrl+z");
    EXPECT_EQ(state().active().UnDoFlag, before.substr(0, before.size() - 2));
    press("ctrl+y");
    EXPECT_EQ(state().active().UnDoFlag, before);
}

TEST_F(Keys, CtrlSOpensTheSaveDialogAndADialogTakesTheKeysItself) {
    std::thread cancel([] {
        if (HWND d = e2e::waitForFileDialog(L"保存先(フォルダ)と名前を決めてください", 15s)) {
            Sleep(300);
            PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
        }
    });
    press("ctrl+s");
    pump(3s, [&] { return !boxes->seen().empty(); });
    cancel.join();
    ASSERT_FALSE(boxes->seen().empty());
    EXPECT_EQ(boxes->seen().back().caption, "WAVE保存 END"); // the dialog came and went

    const std::string before = state().active().UnDoFlag;
    ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { command(1101); }, [](HWND d) {
        SetForegroundWindow(d);
        Sleep(200);
        e2e::runUnix("DISPLAY=" + display() + " xdotool key ctrl+z");
        Sleep(500);
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(wavora::DialogCancelId, BN_CLICKED), 0);
    }));
    pump(300ms);
    EXPECT_EQ(state().active().UnDoFlag, before);
}

TEST_F(Keys, TheHistoryWindowListsAuditionsAndGoesBack) {
    std::vector<std::vector<std::uint8_t>> heard; // the rendering of each state, oldest first
    heard.push_back(rendered());
    for (int code : {14, 24, 29}) {
        sound(3000, code);
        heard.push_back(rendered());
    }
    command(1273);
    pump(300ms);
    HWND window = findOwnWindow(L"WavoraHistory", L"作業の履歴");
    ASSERT_NE(window, nullptr);
    HWND list = FindWindowExW(window, nullptr, L"LISTBOX", nullptr);
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 5); // new, Sin (the fixture's), three changes
    std::vector<std::string> rows;
    for (int i = 0; i < 4; ++i) {
        wchar_t text[256] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        rows.push_back(utf8(text));
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"▶ディストーション", "　コーラス", "　エコー", "　Sin波"}));

    std::error_code ec;
    fs::remove(playedFile(), ec);
    SendMessageW(list, LB_SETCURSEL, 2, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(100, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    expectHeard(heard[1]); // two back: the first of the three changes
    EXPECT_EQ(state().active().UndoPos, 0);

    SendMessageW(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    pump(300ms);
    EXPECT_EQ(state().active().UndoPos, 2);
    EXPECT_EQ(state().active().UnDoFlag.substr(state().active().UnDoFlag.size() - 2), "14");
    wchar_t text[256] = {};
    SendMessageW(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(utf8(text), "▶エコー"); // the list follows
    PostMessageW(window, WM_CLOSE, 0, 0);
    pump(200ms);
    EXPECT_FALSE(IsWindowVisible(window));
}

} // namespace
} // namespace wintest
