// The editing and effect commands in the real editor: each dialog with its
// caption and rows, the live preview changing the window's sound while a row
// is edited (and Cancel putting it back), and the chorus redo starting from
// the sound kept before the chorus.
#include "WinHarness.h"

#include "text/NumberText.h"
#include "ui/GeneralDialogWin32.h"

#include <vector>

namespace wintest {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

struct EditCommands : EditorTest {
    HWND newSound() {
        EXPECT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { command(1001); }, [](HWND d) {
            PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }));
        pump(300ms);
        return reinterpret_cast<HWND>(state().active().WindowHandle);
    }
    // A soft saw-tooth over the whole sound, well inside the sample range.
    void fillSound() {
        wavora::SoundDoc& d = state().active();
        for (int i = 0; i < d.DataLen; ++i) d.Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(96 + i % 64);
    }
    Bytes sound() {
        const wavora::SoundDoc& d = state().active();
        return Bytes(d.Samples.begin(), d.Samples.begin() + d.DataLen);
    }
    static HWND edit(HWND d, int row) { return GetDlgItem(d, wavora::DialogEditId(row)); }
    static void type(HWND d, int row, const wchar_t* text) {
        SendMessageW(edit(d, row), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    static void cancel(HWND d) { PostMessageW(GetDlgItem(d, wavora::DialogCancelId), BM_CLICK, 0, 0); }
    static void ok(HWND d) { PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }
    // Runs a command and, while its dialog is open, `inside`.
    void withDialog(int id, const std::function<void(HWND)>& inside) {
        EXPECT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { command(id); }, inside)) << "command " << id;
        pump(200ms);
    }
};

TEST_F(EditCommands, EachDialogOpensWithItsCaptionAndRows) {
    newSound();
    newSound(); // two windows: the mix asks only for its target
    wavora::SoundDoc& d = state().active();
    d.HasSelection = 1;
    d.SelStart = 0;
    d.SelLength = 100;
    d.HasMarker = 1;
    const std::string chorusRate = "コーラスの周波数（音の高さ）(1=0.001)";
    const std::string room = wavora::floatText(static_cast<float>(500000 - d.DataLen) / 9990.0f);
    struct Case {
        int id;
        std::string caption;
        std::vector<std::string> labels;
    };
    const std::vector<Case> cases = {
        {1216, "ディレイタイム(1=0.01秒)", {"ディレイタイム(1=0.01秒)", "減衰率(0～100)"}},
        {1240, "ディレイタイム(1=0.01秒)", {"ディレイタイム(1=0.01秒)", "減衰率(0～100)"}},
        {1232, "コーラス", {chorusRate, "原音を１とする音量の倍率(1=0.1)"}},
        {1235, "ディストーション", {"ディストーション歪み調節"}},
        {1262, "ビットを変える", {"8bit(あらいけど長い)", "16bit(きれいだけど短い)"}},
        {1225, "長さは11.3秒まで", {"長さ（秒）"}},
        {1252, "選択範囲の繰り返し", {"繰り返し回数"}},
        {1241, "無音領域の長さ(最長" + room + "秒まで)", {"無音領域の長さ(1=1秒)"}},
        {1217, "合成波を表示するウィンドウを指定してください。", {"ウィンドウ0", "ウィンドウ1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        std::string caption;
        std::vector<std::string> labels;
        withDialog(c.id, [&](HWND dlg) {
            caption = utf8(textOf(dlg));
            for (std::size_t r = 1; r <= c.labels.size(); ++r)
                labels.push_back(utf8(textOf(GetDlgItem(dlg, wavora::DialogLabelId(static_cast<int>(r))))));
            cancel(dlg);
        });
        EXPECT_EQ(caption, c.caption);
        EXPECT_EQ(labels, c.labels);
    }
    EXPECT_EQ(state().active().UnDoFlag, "00"); // every Cancel changed nothing
}

TEST_F(EditCommands, PreviewChangesTheSoundWhileARowIsEditedAndCancelPutsItBack) {
    newSound();
    fillSound();
    const Bytes before = sound();
    struct Case {
        int id, row;
        const wchar_t* text;
    };
    for (const Case& c : {Case{1235, 1, L"200"}, Case{1232, 1, L"2000"}, Case{1216, 1, L"1"}, Case{1240, 2, L"90"}}) {
        SCOPED_TRACE(c.id);
        bool changed = false;
        withDialog(c.id, [&](HWND dlg) {
            type(dlg, c.row, c.text); // sent: the preview has run when it returns
            changed = sound() != before;
            if (c.id == 1232) Sleep(700); // a moment to look at the dialog over the changed sound
            cancel(dlg);
        });
        EXPECT_TRUE(changed);
        EXPECT_EQ(sound(), before);
    }
    EXPECT_EQ(state().active().UnDoFlag, "00");
}

TEST_F(EditCommands, ChorusRedoStartsFromTheKeptSound) {
    newSound();
    fillSound();
    const Bytes dry = sound();
    withDialog(1232, [](HWND dlg) { ok(dlg); }); // same pitch, gain 1: twice the sound
    const Bytes once = sound();
    ASSERT_NE(once, dry);
    withDialog(1233, [](HWND dlg) { ok(dlg); }); // the same frequency again
    EXPECT_EQ(sound(), once);
    withDialog(1234, [](HWND dlg) {
        type(dlg, 1, L"5");
        ok(dlg);
    });
    const Bytes half = sound();
    ASSERT_EQ(half.size(), dry.size());
    for (std::size_t i = 0; i < dry.size(); i += 997) EXPECT_EQ(half[i] - 128, (dry[i] - 128) + (dry[i] - 128) / 2) << i;
    EXPECT_EQ(state().active().UnDoFlag, "00242424");
}

} // namespace
} // namespace wintest
