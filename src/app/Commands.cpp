#include "app/Commands.h"

#include "app/LoadIntoSelection.h"
#include "app/MenuTable.h"
#include "app/Settings.h"
#include "app/NewSound.h"
#include "audio/Audition.h"
#include "audio/Play.h"
#include "audio/Playback.h"
#include "audio/Recording.h"
#include "core/Platform.h"
#include "doc/Slots.h"
#include "edit/BitDepth.h"
#include "edit/EffectCommands.h"
#include "edit/Filters.h"
#include "edit/Length.h"
#include "edit/MixStereo.h"
#include "edit/RangeEdits.h"
#include "layers/Layers.h"
#include "pattern/PatternFiles.h"
#include "pattern/PatternWindow.h"
#include "synth/EffectSounds.h"
#include "synth/GeneratorCommands.h"
#include "synth/RandomLimits.h"
#include "synth/RandomMemo.h"
#include "synth/RandomWaves.h"
#include "ui/FaceMessages.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"
#include "wavfile/WavCommands.h"

#include <algorithm>
#include <iterator>

namespace wavora {

const char* const ProductPageUrl = "https://wavora.jp/saishin/";

namespace {

struct CommandEntry {
    int id;
    CommandHandler handler; // null: the command comes with a later part of the program
};

// Every identifier of the menu bar (and 1265 and 5016, which only the tool
// window sends).
const CommandEntry kCommands[] = {
    {1001, newSoundCommand},
    {1003, openWavCommand},
    {1270, convertAndOpenCommand},
    {1207, loadWavIntoSelectionCommand},
    {1002, saveWavCommand},
    {1212, undoCommand},
    {1222, redoCommand},
    {1273, historyWindowCommand},
    {1220, resetVolumeGraphCommand},
    {1221, resetPitchGraphCommand},
    {1205, selectionToolCommand},
    {1214, silenceSelectionCommand},
    {1208, deleteSelectionCommand},
    {1248, trimCommand},
    {1252, repeatSelectionCommand},
    {1211, mergeLayersCommand},
    {1213, deleteLayerCommand},
    {1217, mixCommand},
    {1251, stereoMixCommand},
    {1253, stereoSplitCommand},
    {1225, lengthCommand},
    {1241, insertSilenceCommand},
    {1244, renameCommand},
    {1262, bitConversionCommand},
    {1263, reverseCommand},
    {1206, zoomToolCommand},
    {1239, superRandomWaveCommand},
    {1242, superRandomEffectWaveCommand},
    {1261, randomSinCommand},
    {1255, randomSynthSinCommand},
    {1256, fixLastKindsCommand},
    {1257, limitKindsCommand},
    {1260, limitFrequencyCommand},
    {1243, randomInfoCommand},
    {1101, sinCommand},
    {1224, sinSumCommand},
    {1226, sinProductCommand},
    {1228, pitchSinCommand},
    {1230, pitchSinSinCommand},
    {1231, pitchRandomCommand},
    {1223, noiseCommand},
    {1102, patternWindowCommand},
    {1203, SavePatternFile},
    {1204, LoadPatternInto},
    {1201, playCommand},
    {1271, auditionCommand},
    {1272, autoAuditionCommand},
    {AuditionOrStopId, auditionOrStopCommand}, // the space bar, which has no item of its own
    {1238, loopPlayCommand},
    {1227, stopCommand},
    {1258, fixVolumeGraphCommand},
    {1259, fixPitchGraphCommand},
    {1215, recordCommand},
    {1216, echoCommand},
    {1240, multiEchoCommand},
    {1232, chorusCommand},
    {1233, redoChorusFrequencyCommand},
    {1234, redoChorusVolumeCommand},
    {1235, distortionCommand},
    {1249, scaleCommand},
    {1210, informationCommand},
    {1250, helpCommand},
    {1280, coinCommand},
    {1281, laserCommand},
    {1282, explosionCommand},
    {1283, powerUpCommand},
    {1284, hitCommand},
    {1285, jumpCommand},
    {1286, selectCommand},
    {1287, varyEffectSoundCommand},
    {1288, lowPassCommand},
    {1289, highPassCommand},
    {1267, latestVersionCommand},
    {1265, randomMemoCommand},
    {5016, readRandomMemoCommand}, // the tool window's memo reader, which has no menu item
};

const CommandEntry* find(int id) {
    if (id == 0) return nullptr;
    auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                           [id](const CommandEntry& e) { return e.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

// The generator commands start from a preset first amplitude.
void presetAmplitude(EditorState& s, int id) {
    switch (id) {
    case 1101: s.gen.GenAmp[0] = 100; break;
    case 1224:
    case 1226:
    case 1228:
    case 1230:
    case 1231: s.gen.GenAmp[0] = 50; break;
    default: break;
    }
}

bool needsSound(EditorState& s) {
    if (s.WindowCount != 0) return true;
    showFaceMessage(s, "");
    return false;
}

} // namespace

CommandHandler commandHandler(int id) {
    const CommandEntry* e = find(id);
    return e ? e->handler : nullptr;
}

bool isCommandId(int id) { return find(id) != nullptr; }

void dispatchCommand(EditorState& s, int id) {
    if (s.frame.RecoveryRunning) return;
    if (id > 12309 && s.frame.PopupMenuFlag == 1) {
        // The sound window's context menu owns these identifiers. The flag is
        // the menu's and ends with it.
        contextMenuCommand(s, id);
        return;
    }
    CommandHandler h = commandHandler(id);
    if (!h) return;
    presetAmplitude(s, id);
    h(s);
}

void selectionToolCommand(EditorState& s) {
    s.CurrentTool = 3;
    s.EraserOn = 0;
    resetSelection(s.active());
    s.active().HasMarker = 0;
    repaintSlot(s, s.activeSlot());
}

void zoomToolCommand(EditorState& s) {
    s.CurrentTool = 4;
    s.EraserOn = 0;
}

void resetVolumeGraphCommand(EditorState& s) {
    if (!needsSound(s)) return;
    std::fill(s.active().VolumeGraph.begin(), s.active().VolumeGraph.end(), std::uint8_t{128});
    snapshot(s, 11);
    repaintSlot(s, s.activeSlot());
}

void resetPitchGraphCommand(EditorState& s) {
    if (!needsSound(s)) return;
    std::fill(s.active().PitchGraph.begin(), s.active().PitchGraph.end(), std::uint8_t{128});
    snapshot(s, 12);
    repaintSlot(s, s.activeSlot());
}

void autoAuditionCommand(EditorState& s) {
    s.play.AutoAudition ^= 1;
    s.platform.checkMenuItem(AutoAuditionId, s.play.AutoAudition != 0);
    saveAutoAudition(s);
}

void historyWindowCommand(EditorState& s) { s.platform.openHistoryWindow(); }

void latestVersionCommand(EditorState& s) { s.platform.openWebPage(ProductPageUrl); }

void helpCommand(EditorState& s) { s.platform.openHelp(); }

} // namespace wavora
