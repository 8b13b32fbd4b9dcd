// The effect-sound menu in the real editor: each kind picked from its popup
// makes its window and is heard through the device (ALSA writes what is
// played into a file), a memo saved and read back through the helper's real
// dialogs rebuilds the same bytes, and the low-pass dialog previews and
// Cancel puts the sound back.
#include "WinHarness.h"

#include "synth/EffectSounds.h"
#include "ui/GeneralDialogWin32.h"

#include <fstream>

namespace wintest {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr int EffectPopup = 11;

struct EffectSoundMenu : EditorTest {
    fs::path playedFile() const { return folder.parent_path().parent_path() / L"winehome" / L"played.raw"; }
    Bytes sound() {
        const wavora::SoundDoc& d = state().active();
        return Bytes(d.Samples.begin(), d.Samples.begin() + d.DataLen);
    }
    // The item at `pos` of the 効果音 popup, chosen as the menu would send it.
    void pick(int pos) { command(static_cast<int>(GetMenuItemID(wavora::app().popups[EffectPopup], pos))); }
    void waitForSilence() {
        pump(10s, [&] { return !state().play.PlayingFlag; });
        pump(300ms);
    }
    Bytes played() {
        std::ifstream in(playedFile(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(EffectSoundMenu, EachKindMakesItsWindowAndIsHeard) {
    wchar_t title[64] = {};
    GetMenuStringW(GetMenu(frame()), EffectPopup, title, 64, MF_BYPOSITION);
    ASSERT_EQ(utf8(title), "効果音(&G)");
    for (int kind = 0; kind < wavora::EffectSoundKindCount; ++kind) {
        SCOPED_TRACE(kind);
        std::error_code ec;
        fs::remove(playedFile(), ec);
        pick(kind);
        waitForSilence();
        HWND w = reinterpret_cast<HWND>(state().active().WindowHandle);
        EXPECT_EQ(utf8(textOf(w)), wavora::effectSoundName(kind) + "1");
        const Bytes heard = played();
        // At least the sound's own length (the pitch graph may stretch it).
        EXPECT_GE(heard.size() * 4, static_cast<std::size_t>(state().active().DataLen));
        EXPECT_GT(std::count_if(heard.begin(), heard.end(), [](std::uint8_t b) { return b != 0; }), 1000);
        PostMessageW(w, WM_CLOSE, 0, 0); // "No" to saving
        pump(1500ms, [&] { return !IsWindow(w); });
    }
}

TEST_F(EffectSoundMenu, AMemoSavedAndReadThroughTheHelperRebuildsTheSameBytes) {
    pick(wavora::ExplosionSound);
    waitForSilence();
    const Bytes made = sound();
    const wavora::SoundDoc& first = state().active();
    const Bytes pitch(first.PitchGraph.begin(), first.PitchGraph.begin() + first.DataLen);
    const fs::path memo = folder / L"爆発メモ.txt";
    std::thread save = answerFileDialog(L"メモ", memo);
    command(1265);
    save.join();
    pump(300ms);
    ASSERT_TRUE(fs::exists(memo));
    std::thread open = answerFileDialog(L"読み込むメモを選んでください", memo);
    command(5016);
    open.join();
    waitForSilence();
    ASSERT_EQ(state().WindowCount, 2);
    EXPECT_EQ(utf8(textOf(reinterpret_cast<HWND>(state().active().WindowHandle))), "爆発2");
    EXPECT_EQ(sound(), made);
    const wavora::SoundDoc& again = state().active();
    EXPECT_EQ(Bytes(again.PitchGraph.begin(), again.PitchGraph.begin() + again.DataLen), pitch);
}

TEST_F(EffectSoundMenu, TheLowPassDialogPreviewsAndCancelPutsTheSoundBack) {
    pick(wavora::HitSound);
    waitForSilence();
    const Bytes before = sound();
    const std::string undo = state().active().UnDoFlag;
    std::string caption;
    bool changed = false;
    ASSERT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { pick(10); }, [&](HWND d) {
        caption = utf8(textOf(d));
        SendMessageW(GetDlgItem(d, wavora::DialogEditId(1)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"150"));
        changed = sound() != before;
        PostMessageW(GetDlgItem(d, wavora::DialogCancelId), BM_CLICK, 0, 0);
    }));
    pump(300ms);
    EXPECT_EQ(caption, "こもらせる（ローパス）");
    EXPECT_TRUE(changed);
    EXPECT_EQ(sound(), before);
    EXPECT_EQ(state().active().UnDoFlag, undo);
}

} // namespace
} // namespace wintest
