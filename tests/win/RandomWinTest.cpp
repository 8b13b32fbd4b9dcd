// The random buttons of the tool window in the real program: each makes a
// sound and plays it (ALSA writes what is played into a file), and a memo
// saved through the helper's real Save dialog and read back through the
// memo-read button rebuilds the same sound in a new window.
#include "Driver.h"
#include "WinHarness.h"

#include <fstream>

namespace wintest {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

struct RandomButtons : EditorTest {
    void SetUp() override {
        EditorTest::SetUp();
        ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { command(1001); }, [](HWND d) {
            PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }));
        pump(300ms);
        ASSERT_EQ(state().WindowCount, 1);
    }
    fs::path playedFile() const { return folder.parent_path().parent_path() / L"winehome" / L"played.raw"; }
    HWND tools() { return findOwnWindow(L"TBWindow"); }
    void press(int id) {
        PostMessageW(tools(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(tools(), id)));
        pump(300ms);
    }
    // Presses a random button and returns what the device was given.
    Bytes pressAndCapture(int id) {
        std::error_code ec;
        fs::remove(playedFile(), ec);
        press(id);
        pump(10s, [&] { return !state().play.PlayingFlag; });
        pump(300ms);
        std::ifstream in(playedFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    Bytes sound() {
        const wavora::SoundDoc& d = state().active();
        return Bytes(d.Samples.begin(), d.Samples.begin() + d.DataLen);
    }
};

TEST_F(RandomButtons, EachRandomButtonMakesOneSecondAndPlaysIt) {
    const struct {
        int button;
        int kind;
    } buttons[] = {{5011, 1}, {5012, 2}, {5013, 3}, {5014, 4}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.button);
        const Bytes played = pressAndCapture(b.button);
        const wavora::SoundDoc& d = state().active();
        EXPECT_EQ(state().RandomWaveKind[0], b.kind);
        EXPECT_EQ(d.DataLen, d.SRATE * d.BitsParSample / 8);
        // What was played is the sound as Play left it (with its volume curve
        // written in for the effect wave), followed only by the device's padding.
        const Bytes expect = sound();
        ASSERT_GE(played.size(), expect.size());
        EXPECT_TRUE(std::equal(expect.begin(), expect.end(), played.begin()));
        EXPECT_LT(played.size(), expect.size() + 16384);
        EXPECT_GT(std::count_if(expect.begin(), expect.end(), [&](std::uint8_t v) { return v != expect[0]; }), 1000);
    }
    EXPECT_EQ(state().WindowCount, 1); // the synthesized Sin's work slot got no window
}

TEST_F(RandomButtons, AMemoSavedAndReadBackRebuildsTheSound) {
    // Kinds whose bytes follow from the memo alone: the jumping pitch and the
    // noise draw from the tick count of the moment they are made.
    state().random.KindFilter = 1;
    state().RandomWaveMemos[0].SegKind[0] = 1;
    state().RandomWaveMemos[0].SegKind[1] = 4;
    pressAndCapture(5014);
    const Bytes made = sound();
    const fs::path memo = folder / L"合成メモ.txt";

    std::thread save = answerFileDialog(L"メモ", memo);
    press(5015);
    save.join();
    pump(300ms);
    std::ifstream in(memo, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 17);
    EXPECT_EQ(text.substr(0, text.find("\r\n")), std::to_string(state().active().SRATE));

    std::thread open = answerFileDialog(L"読み込むメモを選んでください", memo);
    press(5016);
    open.join();
    pump(10s, [&] { return !state().play.PlayingFlag; });
    pump(300ms);
    ASSERT_EQ(state().WindowCount, 2);
    EXPECT_EQ(state().activeSlot(), 1);
    EXPECT_EQ(sound(), made);
    EXPECT_EQ(state().RandomWaveKind[1], 4);
}

// The limit dialogs as the user sees them (a screenshot of each is left beside
// the stage), and the fix command's caption in the real menu.
TEST_F(RandomButtons, TheLimitDialogsAndTheFixCaption) {
    const auto shootAndOk = [](const wchar_t* name) {
        return [name](HWND d) {
            e2e::runUnix("import -window root " + e2e::quoted(e2e::stageFolder().parent_path() / name));
            PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        };
    };
    ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { command(1257); }, shootAndOk(L"random-kinds.png")));
    pump(200ms);
    EXPECT_EQ(state().random.KindFilter, 1); // "Sin波" comes ticked
    ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { command(1260); }, shootAndOk(L"random-frequency.png")));
    pump(200ms);
    EXPECT_EQ(state().random.RandFreqUpper[0], 500);

    HMENU random = GetMenu(frame()); // searched with its popups by command
    wchar_t caption[128] = {};
    GetMenuStringW(random, 1256, caption, 128, MF_BYCOMMAND);
    EXPECT_EQ(utf8(caption), "今（最後）の種類で固定を 解除する(&K)");
    press(5013);
    pump(10s, [&] { return !state().play.PlayingFlag; });
    command(1256);
    pump(300ms);
    GetMenuStringW(random, 1256, caption, 128, MF_BYCOMMAND);
    EXPECT_EQ(utf8(caption), "今（最後）の種類で固定(&K)");
    EXPECT_EQ(state().random.KindFilter, 0);
}

} // namespace
} // namespace wintest
