#include "app/NewSound.h"

#include "core/Platform.h"
#include "core/SlotTable.h"
#include "doc/Slots.h"
#include "text/NumberText.h"
#include "ui/FaceMessages.h"
#include "undo/RecoveryKeeper.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"
#include "view/SoundWindows.h"

#include <algorithm>
#include <cmath>

namespace wavora {

namespace {

const char* const CRLF = "\r\n";

bool rowOn(const EditorState& s, int row) { return s.dialog.DialogRows[static_cast<std::size_t>(row)].Value == "1"; }
const std::string& rowText(const EditorState& s, int row) {
    return s.dialog.DialogRows[static_cast<std::size_t>(row)].Value;
}

void clearDialogFlags(EditorState& s) {
    s.dialog.DialogOpen = 0;
    s.frame.DialogBusy = 0;
}

} // namespace

void newSoundCommand(EditorState& s) {
    int previous = s.ActWndNum;
    int slot = reserveSlot(s);
    // With every slot in use the dialog still opens on the last active slot's
    // values; its OK then meets the window limit and creates nothing.
    const SoundDoc& d = slot >= 0 ? s.docs[static_cast<std::size_t>(slot)] : s.active();
    double longest = maxSeconds(d);

    beginDialog(s.dialog, lengthLimitCaption(longest), 6);
    s.dialog.okAction = createSoundFromDialog;
    addDialogRow(s.dialog, RowLength, "長さ（秒）", "1", static_cast<float>(longest), 0);
    addDialogRow(s.dialog, RowText, "名前", "ウィンドウ" + intText(slot), 0, 0);
    addDialogRow(s.dialog, RowText, "サンプリングレート(8000～44100)", intText(d.SRATE), 44100, 8000);
    addDialogRow(s.dialog, RowHeading, "1サンプル当たりのbit数", "", 0, 0);
    addDialogRow(s.dialog, RowRadio, "8bit(あらいけど長い)", d.BitsParSample == 8 ? "1" : "", 0, 0);
    addDialogRow(s.dialog, RowRadio, "16bit(きれいだけど短い)", d.BitsParSample == 16 ? "1" : "", 0, 0);
    int windowsBefore = s.WindowCount;
    s.platform.runModalWindow(s, "HanyouDialog");
    clearDialogFlags(s);
    // Reserving the slot made it active; when no sound came of it, the sound
    // that was active before stays active.
    if (s.WindowCount == windowsBefore) s.ActWndNum = previous;
    repaintSlot(s, s.activeSlot());
}

void createSoundFromDialog(EditorState& s) {
    std::string name = rowText(s, 2);
    if (createSoundWindow(s, name, DefaultClientWidth, DefaultClientHeight) < 0) return;
    SoundDoc& d = s.active();
    d.SRATE = cutToInt(textToNumber(rowText(s, 3)));
    if (rowOn(s, 5)) d.BitsParSample = 8;
    if (rowOn(s, 6)) d.BitsParSample = 16;
    double bytes = textToNumber(rowText(s, 1)) * d.SRATE * d.BitsParSample / 8.0;
    // The length row's bound follows the rate as it is typed, but not a later
    // change of the bit depth, so the product can still exceed the buffer.
    d.DataLen = static_cast<std::int32_t>(std::clamp(bytes, 0.0, static_cast<double>(DATALENMAX)));
    allocateNewSound(s);
    fitViewToLength(s, s.activeSlot());
    snapshot(s, 0);
    s.frame.DialogBusy = 0;
}

void renameCommand(EditorState& s) {
    if (s.WindowCount == 0 || s.active().WindowHandle == 0) {
        showFaceMessage(s, "");
        return;
    }
    WindowId window = s.active().WindowHandle;
    beginDialog(s.dialog, "名前を変える", 1);
    addDialogRow(s.dialog, RowText, "名前", s.platform.windowTitle(window), 0, 0);
    int result = s.platform.runModalWindow(s, "HanyouDialog");
    s.dialog.DialogOpen = 0;
    if (result == -1) return;
    s.platform.setWindowTitle(window, rowText(s, 1));
    rewriteRecoveryRecord(s, s.slotOfWindow(window));
}

std::string informationText(const EditorState& s) {
    const SoundDoc& d = s.docs[static_cast<std::size_t>(s.activeSlot())];
    std::string t = std::string("------------　音声データウィンドウ　------------") + CRLF;
    t += "長さ=" + numberText(soundSeconds(d)) + "秒\t" + CRLF;
    t += CRLF;
    t += std::string("------------　レイヤー　------------") + CRLF;
    if (d.LayerCount == 0) {
        t += std::string("レイヤーはありません。") + CRLF;
    } else {
        t += CRLF;
        t += std::string("レイヤー名(色)\t\t位置(秒)\t") + CRLF;
        double bytesPerSecond = static_cast<double>(d.SRATE) * d.BitsParSample / 8.0;
        int count = std::clamp(d.LayerCount, 0, 6);
        for (int i = 1; i <= count; ++i) {
            int id = d.LayerIds[static_cast<std::size_t>(i)];
            if (id < 1 || id >= LayerTableSize) continue;
            auto k = static_cast<std::size_t>(id);
            // The heading promises seconds, so the column shows where the
            // layer starts in seconds of the sound.
            double at = bytesPerSecond > 0 ? s.layers.LyStart[k] / bytesPerSecond : 0.0;
            t += s.layers.LyName[k] + " (" + s.layers.LyColourName[k] + ")\t\t" + numberText(at) + CRLF;
        }
        t += CRLF;
    }
    t += CRLF;
    t += "(別の音声データウィンドウ情報を見るときは、そのウィンドウをクリックしてから実行してください)";
    return t;
}

void informationCommand(EditorState& s) {
    if (s.WindowCount == 0) {
        s.platform.messageBox({"音声データウィンドウがありませぬ。", "('-'*)音声データウィンドウ、レイヤー情報"});
        return;
    }
    SoundDoc& d = s.active();
    std::string title = d.WindowHandle ? s.platform.windowTitle(d.WindowHandle) : std::string();
    s.platform.messageBox({informationText(s), title + "　の情報 "});
    d.MouseTracking = false;
}


} // namespace wavora
