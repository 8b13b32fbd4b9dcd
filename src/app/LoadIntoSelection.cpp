#include "app/LoadIntoSelection.h"

#include "converter/HelperClient.h"
#include "core/Platform.h"
#include "layers/Clipboard.h"
#include "text/Paths.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"
#include "wavfile/WavFile.h"

namespace wavora {

namespace {

constexpr int LoadIntoSelectionCode = 10;

} // namespace

void loadWavIntoSelectionCommand(EditorState& s) {
    if (s.BusyFlag) return;
    SoundDoc& d = s.active();
    if (!d.HasSelection || d.WindowHandle == 0) {
        s.platform.messageBox({"現在アクティブなウィンドウに選択範囲がありません。", "（‘ v‘）／"});
        return;
    }
    s.BusyFlag = 1;
    if (AskHelperForFile(s, OpenDialog, "wav", "一度に読み込めるのは１つだけです", s.frame.FileOpenPath, "", 0) < 1 ||
        !chosenNameUsable(s)) {
        s.BusyFlag = 0;
        return;
    }
    const std::int32_t rate = d.SRATE;
    const std::uint8_t bits = d.BitsParSample;
    const std::uint16_t channels = d.Channels;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(DATALENMAX), 0);
    std::int32_t length = 0;
    const int read = readWav(s, s.activeSlot(), pathFromUtf8(helperReplyPath(s)), block, length);
    // The reader sets the format it found on the slot; the sound keeps its own.
    const std::int32_t fileRate = d.SRATE;
    const std::uint8_t fileBits = d.BitsParSample;
    d.SRATE = rate;
    d.BitsParSample = bits;
    d.Channels = channels;
    if (read != 0) {
        // The reader has said why.
    } else if (fileRate != rate) {
        s.platform.messageBox({"サンプリングレートが違うので選択範囲に読み込めません。", "(;ﾟДﾟ)!"});
    } else if (fileBits != bits) {
        s.platform.messageBox({"ビット数が違うので選択範囲に読み込めません。", "(*ﾟДﾟ)"});
    } else if (replaceSelectionWithData(s, block.data(), length)) {
        snapshot(s, LoadIntoSelectionCode);
        repaintSlot(s, s.activeSlot());
    }
    s.BusyFlag = 0;
}

} // namespace wavora
