#include "edit/EffectCommands.h"

#include "core/Platform.h"
#include "edit/EditSupport.h"
#include "edit/EffectCores.h"
#include "edit/HeldSound.h"
#include "text/NumberText.h"
#include "ui/GeneralDialog.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace wavora {

namespace {

const char* const DelayCaption = "ディレイタイム(1=0.01秒)";
const char* const ChorusFrequencyLabel = "コーラスの周波数（音の高さ）(1=0.001)";
const char* const ChorusVolumeLabel = "原音を１とする音量の倍率(1=0.1)";

double rowValue(const EditorState& s, int row) {
    return textToNumber(s.dialog.DialogRows[static_cast<std::size_t>(row)].Value);
}

bool within(double v, double lo, double hi) {
    return v >= lo && v <= hi;
}

} // namespace

int runWithPreview(EditorState& s, const HeldSound& from, const std::function<void(EditorState&)>& apply) {
    const EffectParams opened = s.effects;
    bool previewed = false;
    s.dialog.effectPreview = [&](EditorState& st) {
        from.putBack(st);
        previewed = true;
        apply(st);
        redrawSlot(st, from.slot());
    };
    const int result = s.platform.runModalWindow(s, "HanyouDialog");
    s.dialog.effectPreview = nullptr;
    s.dialog.DialogOpen = 0;
    s.effects = opened;
    if (previewed) {
        from.putBack(s);
        if (result == DialogResultCancel) redrawSlot(s, from.slot());
    }
    return result;
}

namespace {

// ---- Echo and multi-echo

void askDelayAndDecay(EditorState& s) {
    beginDialog(s.dialog, DelayCaption, 2);
    s.dialog.PreviewMode.multiEcho = 1;
    s.dialog.preview.multiEchoFirst = s.effects.EchoDelay;
    s.dialog.preview.multiEchoSecond = s.effects.EchoDecay;
    addDialogRow(s.dialog, RowNumber, DelayCaption, intText(cutToInt(s.effects.EchoDelay * 100.0f)), 500, 0);
    addDialogRow(s.dialog, RowNumber, "減衰率(0～100)", intText(cutToInt(s.effects.EchoDecay * 100.0f)), 100, 0);
}

// The delay and decay as the preview has them; false when the preview could
// not show them (out of the rows' ranges).
bool takePreviewEcho(EditorState& s) {
    const PreviewParams& p = s.dialog.preview;
    if (!within(p.multiEchoFirst, 0, 5) || !within(p.multiEchoSecond, 0, 1)) return false;
    s.effects.EchoDelay = static_cast<float>(p.multiEchoFirst);
    s.effects.EchoDecay = static_cast<float>(p.multiEchoSecond);
    return true;
}

void takeDelayAndDecay(EditorState& s) {
    s.effects.EchoDelay = static_cast<float>(rowValue(s, 1) / 100.0);
    s.effects.EchoDecay = static_cast<float>(rowValue(s, 2) / 100.0);
}

void refuseNoDelay(EditorState& s) {
    refuse(s, "<(_ _)>", "ディレイタイムが0ではエコーをかけられません。\r\n1以上にしてください。");
}

std::int32_t multiEchoStep(const EditorState& s) {
    return cutToInt(s.effects.EchoDelay * 10000.0f);
}

// ---- Chorus

void applyChorus(EditorState& s) {
    if (ChorusCore(s) == 0) std::fill_n(s.active().VolumeGraph.begin(), s.active().DataLen, std::uint8_t{128});
}

bool takePreviewChorus(EditorState& s) {
    const PreviewParams& p = s.dialog.preview;
    if (!within(p.chorusFrequency, 0, 20) || !within(p.chorusVolume, 0.1, 1.5)) return false;
    s.effects.ChorusRatio = static_cast<float>(p.chorusFrequency);
    s.effects.ChorusGain = static_cast<float>(p.chorusVolume);
    return true;
}

void chorusDone(EditorState& s, int slot) {
    snapshot(s, 24);
    updateScrollRange(s, slot);
    repaintSlot(s, slot);
}

// The two redo commands: the sound kept before the last echo or chorus comes
// back and the chorus is applied to it again with one parameter asked anew.
void redoChorus(EditorState& s, bool frequency) {
    if (s.WindowCount == 0) {
        s.play.LoopPlay = 0;
        haveSoundWindow(s);
        s.BusyFlag = 0;
        return;
    }
    if (!s.active().HasGenOn) {
        refuse(s, "（‘ v‘）/", "コーラスをかけてからにしてください。");
        return;
    }
    if (s.BusyFlag) return;
    // The kept sound is read before the loop play starts, so the samples the
    // device plays are not swapped meanwhile.
    std::optional<HeldSound> source;
    {
        const HeldSound current(s);
        if (!restoreEffectSource(s)) return;
        source.emplace(s);
        current.putBack(s);
    }
    if (frequency && s.runCommand) s.runCommand(s, LoopPlayCommandId);
    // The sound as the dialog opens (the play may have applied its graphs):
    // Cancel comes back to it, and the kept samples go into it.
    const HeldSound now(s);
    s.BusyFlag = 1;
    const char* label = frequency ? ChorusFrequencyLabel : ChorusVolumeLabel;
    beginDialog(s.dialog, label, 1);
    s.dialog.PreviewMode.chorus = 1;
    s.dialog.ChorusPreviewTarget = frequency ? 0 : 1;
    s.dialog.preview.chorusFrequency = s.effects.ChorusRatio;
    s.dialog.preview.chorusVolume = s.effects.ChorusGain;
    if (frequency)
        addDialogRow(s.dialog, RowSlider, label, intText(cutToInt(s.effects.ChorusRatio * 1000.0f)), 20000, 0);
    else
        addDialogRow(s.dialog, RowNumber, label, intText(cutToInt(s.effects.ChorusGain * 10.0f)), 15, 1);

    const int result = runWithPreview(s, now, [&source](EditorState& st) {
        if (!takePreviewChorus(st)) return;
        source->putBackSamples(st);
        applyChorus(st);
    });
    if (result != DialogResultCancel) {
        if (frequency)
            s.effects.ChorusRatio = static_cast<float>(rowValue(s, 1) / 1000.0);
        else
            s.effects.ChorusGain = static_cast<float>(rowValue(s, 1) / 10.0);
        source->putBackSamples(s);
        if (ChorusCore(s) == 0) {
            std::fill_n(s.active().VolumeGraph.begin(), s.active().DataLen, std::uint8_t{128});
            s.dialog.DialogAnswer = 0;
            chorusDone(s, now.slot());
        } else {
            now.putBack(s);
        }
    }
    s.BusyFlag = 0;
}

} // namespace

void echoCommand(EditorState& s) {
    BusyGuard busy(s);
    if (!busy.acquired() || !haveSoundWindow(s)) return;
    saveEffectSource(s);
    const HeldSound before(s);
    askDelayAndDecay(s);
    const int result = runWithPreview(s, before, [](EditorState& st) {
        if (takePreviewEcho(st) && echoDelayBytes(st) * 2 <= DATALENMAX) EchoCore(st);
    });
    if (result == DialogResultCancel) return;
    takeDelayAndDecay(s);
    const EchoResult done = EchoCore(s);
    if (done == EchoResult::NoDelay) {
        refuseNoDelay(s);
        return;
    }
    snapshot(s, 14);
    updateScrollRange(s, before.slot());
    repaintSlot(s, before.slot());
}

void multiEchoCommand(EditorState& s) {
    BusyGuard busy(s);
    if (!busy.acquired() || !haveSoundWindow(s)) return;
    saveEffectSource(s);
    const HeldSound before(s);
    askDelayAndDecay(s);
    const int result = runWithPreview(s, before, [](EditorState& st) {
        if (!takePreviewEcho(st)) return;
        st.effects.EchoStep = multiEchoStep(st);
        MultiEchoCore(st, 10);
    });
    if (result == DialogResultCancel) return;
    repaintSlot(s, before.slot());
    takeDelayAndDecay(s);
    s.effects.EchoStep = multiEchoStep(s);
    MultiEchoCore(s, 10);
    s.dialog.DialogAnswer = 0;
    snapshot(s, 14);
}

void chorusCommand(EditorState& s) {
    if (!haveSoundWindow(s)) return;
    BusyGuard busy(s);
    if (!busy.acquired()) return;
    saveEffectSource(s);
    const HeldSound before(s);
    beginDialog(s.dialog, "コーラス", 2);
    s.dialog.PreviewMode.chorus = 1;
    s.dialog.preview.chorusFrequency = 1.0;
    s.dialog.preview.chorusVolume = 1.0;
    addDialogRow(s.dialog, RowSlider, ChorusFrequencyLabel, "1000", 2000, 0);
    addDialogRow(s.dialog, RowSlider, ChorusVolumeLabel, "10", 15, 1);
    const int result = runWithPreview(s, before, [](EditorState& st) {
        if (takePreviewChorus(st)) applyChorus(st);
    });
    if (result == DialogResultCancel) return;
    s.effects.ChorusRatio = static_cast<float>(rowValue(s, 1) / 1000.0);
    s.effects.ChorusGain = static_cast<float>(rowValue(s, 2) / 10.0);
    s.platform.setWaitCursor(true);
    if (ChorusCore(s) == 0) {
        std::fill_n(s.active().VolumeGraph.begin(), s.active().DataLen, std::uint8_t{128});
        chorusDone(s, before.slot());
    }
    s.platform.setWaitCursor(false);
}

void redoChorusFrequencyCommand(EditorState& s) {
    redoChorus(s, true);
}

void redoChorusVolumeCommand(EditorState& s) {
    redoChorus(s, false);
}

void distortionCommand(EditorState& s) {
    BusyGuard busy(s);
    if (!busy.acquired() || !haveSoundWindow(s)) return;
    saveEffectSource(s);
    const HeldSound before(s);
    beginDialog(s.dialog, "ディストーション", 1);
    s.dialog.PreviewMode.distortion = 1;
    s.dialog.preview.distortion = s.effects.DistortionLevel;
    addDialogRow(s.dialog, RowNumber, "ディストーション歪み調節", intText(s.effects.DistortionLevel), 200, 1);
    const int result = runWithPreview(s, before, [](EditorState& st) {
        const int level = st.dialog.preview.distortion;
        if (level < 1 || level > 200) return;
        st.effects.DistortionLevel = level;
        DistortionCore(st);
    });
    if (result == DialogResultCancel) return;
    s.effects.DistortionLevel = cutToInt(rowValue(s, 1));
    DistortionCore(s);
    snapshot(s, 29);
    repaintSlot(s, before.slot());
}

} // namespace wavora
