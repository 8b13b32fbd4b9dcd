#include "undo/UndoStore.h"

#include "core/MenuPositions.h"
#include "core/Platform.h"
#include "core/TextFiles.h"
#include "doc/OperationName.h"
#include "text/NumberText.h"
#include "ui/FaceMessages.h"
#include "undo/RecoveryKeeper.h"
#include "undo/UndoFiles.h"
#include "undo/UndoRestore.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace wavora {

namespace {

constexpr int UndoItemId = 1212;
constexpr int RedoItemId = 1222;
constexpr std::size_t CodeWidth = 2;
constexpr std::size_t KeptCodes = UndoDepth + 1;

const char* const NothingToUndo = "<(_ _)>元に戻せません(&U)";
// Two texts for the same situation: snapshot and redo end with "。", start-up
// and window activation do not. Both are what the user has always seen.
const char* const NothingToRedoAfterChange = "<(_ _)>やり直せません。(&Y)";
const char* const NothingToRedo = "<(_ _)>やり直せません(&Y)";

std::string codeText(int code) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d", std::clamp(code, 0, 99));
    return digits;
}

int lastCode(const std::string& codes) {
    if (codes.size() < CodeWidth) return 0;
    const char* tail = codes.c_str() + codes.size() - CodeWidth;
    return (tail[0] - '0') * 10 + (tail[1] - '0');
}

std::string popCode(std::string& codes) {
    std::string code = codes.substr(codes.size() - CodeWidth);
    codes.erase(codes.size() - CodeWidth);
    return code;
}

// Only the base state is left (or not even that, for a slot never used).
bool nothingToUndo(const SoundDoc& d) {
    return d.UnDoFlag.size() <= CodeWidth;
}

void setUndoCaption(EditorState& s, const SoundDoc& d) {
    if (nothingToUndo(d))
        s.platform.setMenuItem(NothingToUndo, EditPopup, UndoItemId, 0, false);
    else
        s.platform.setMenuItem(operationName(lastCode(d.UnDoFlag)) + " の取消し(&U)", EditPopup, UndoItemId,
                               0, true);
}

void setRedoCaption(EditorState& s, const SoundDoc& d, const char* nothingText) {
    if (d.Yarinaoshi.size() < CodeWidth)
        s.platform.setMenuItem(nothingText, EditPopup, RedoItemId, 1, false);
    else
        s.platform.setMenuItem(operationName(lastCode(d.Yarinaoshi)) + " のやり直し(&Y)", EditPopup,
                               RedoItemId, 1, true);
}

// Moving a step's file to another number instead of copying it: every step
// that can still be reached ends up with the same bytes, at no copying cost.
// The target goes first, so a missing source leaves no file behind rather than
// a stale one that a later restore would take for the shifted step.
void moveStepFile(EditorState& s, UndoPart part, int owner, int from, int to) {
    if (from == to) return;
    std::error_code ignored;
    const std::filesystem::path target = s.path(undoFileName(part, owner, to));
    std::filesystem::remove(target, ignored);
    std::filesystem::rename(s.path(undoFileName(part, owner, from)), target, ignored);
}

template <std::size_t N>
void moveStep(EditorState& s, const std::array<UndoPart, N>& parts, int owner, int from, int to) {
    for (UndoPart part : parts)
        moveStepFile(s, part, owner, from, to);
}

// Every step one number older, from the oldest down so nothing is overwritten
// before it has moved. The files of every layer whose history follows this
// slot move with the slot's own, so step k of a layer always belongs to step k
// of the sound, also for a layer that is no longer active or listed (a deleted
// one comes back from there).
void shiftUp(EditorState& s, int slot, std::uint8_t layerFiles) {
    for (int p = UndoDepth; p >= 0; --p) {
        moveStep(s, SoundParts, slot, p, p + 1);
        for (int id = 0; id < LayerTableSize - 1; ++id)
            if (layerFiles & (1u << id)) moveStep(s, LayerParts, id, p, p + 1);
    }
}

// The undone steps 0..undone-1 are dropped: step `undone` (the state the new
// change was made on) becomes step 1. Ascending order is safe because every
// target number is below its source.
void dropRedoBranch(EditorState& s, int slot, std::uint8_t layerFiles, int undone) {
    for (int p = undone; p <= UndoDepth; ++p) {
        moveStep(s, SoundParts, slot, p, p - undone + 1);
        for (int id = 0; id < LayerTableSize - 1; ++id)
            if (layerFiles & (1u << id)) moveStep(s, LayerParts, id, p, p - undone + 1);
    }
}

// The layers whose records a change writes: the active one (0 = background)
// and every layer on the sound.
std::uint8_t layersToWrite(const EditorState& s, const SoundDoc& d, int active) {
    auto bits = static_cast<std::uint8_t>(1u << active);
    const int n = std::clamp(d.LayerCount, 0, 5);
    for (int p = 1; p <= n; ++p) {
        const int id = d.LayerIds[static_cast<std::size_t>(p)];
        if (id >= 1 && id <= MaxLayerId && s.layers.LyInUse[static_cast<std::size_t>(id)])
            bits = static_cast<std::uint8_t>(bits | (1u << id));
    }
    return bits;
}

// The files just written follow this slot from now on; another slot that
// wrote them before no longer moves them.
void claimLayerFiles(EditorState& s, int slot, std::uint8_t written) {
    for (int other = 0; other < SlotTableSize; ++other) {
        SoundDoc& o = s.docs[static_cast<std::size_t>(other)];
        if (other == slot) o.UndoLayerFiles = static_cast<std::uint8_t>(o.UndoLayerFiles | written);
        else o.UndoLayerFiles = static_cast<std::uint8_t>(o.UndoLayerFiles & ~written);
    }
}

std::span<const std::uint8_t> firstBytes(const std::vector<std::uint8_t>& buffer, std::int32_t count) {
    std::size_t n = std::min(static_cast<std::size_t>(std::max(count, 0)), buffer.size());
    return {buffer.data(), n};
}

bool writeStateFiles(EditorState& s, int slot) {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    StateRecord r;
    r.currentTool = s.CurrentTool;
    r.slot = slot;
    r.dataLen = d.DataLen;
    r.hasSelection = d.HasSelection;
    r.hasMarker = d.HasMarker;
    r.selLeft = d.SelRect.left;
    r.selStart = d.SelStart;
    r.selRight = d.SelRect.right;
    r.selLength = d.SelLength;
    r.layerCount = d.LayerCount;
    r.activeLayer = d.ActiveLayer;
    r.channels = d.Channels;
    r.bitsParSample = d.BitsParSample;
    r.srate = d.SRATE;
    packStateRecord(r, s.ScratchBuffer.data());
    bool ok = writeFilePieces(s.path(undoFileName(UndoPart::Info, slot, 0)),
                              {{s.ScratchBuffer.data(), StateRecordSize}});
    s.platform.debugLine("UnDoTaihi SRATE[ActWndNum]" + intText(d.SRATE));

    ok &= writeFilePieces(s.path(undoFileName(UndoPart::Nami, slot, 0)), {firstBytes(d.Samples, d.DataLen)});
    ok &= writeFilePieces(s.path(undoFileName(UndoPart::Vol, slot, 0)), {firstBytes(d.VolumeGraph, d.DataLen)});
    ok &= writeFilePieces(s.path(undoFileName(UndoPart::Hz, slot, 0)), {firstBytes(d.PitchGraph, d.DataLen)});
    return ok;
}

bool writeLayerFiles(EditorState& s, int slot, int layer) {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    LayerPool& pool = s.layers;
    const auto L = static_cast<std::size_t>(layer);
    LayerRecord r;
    r.currentTool = s.CurrentTool;
    r.slot = slot;
    r.layer = layer;
    r.layerCount = d.LayerCount;
    r.pixelX = pool.LyPixelX[L];
    r.screenX = pool.LyScreenX[L];
    r.lyLen = pool.LyLen[L];
    r.lyStart = pool.LyStart[L];
    r.hasSelection = d.HasSelection;
    r.selLeft = d.SelRect.left;
    r.selStart = d.SelStart;
    r.selRight = d.SelRect.right;
    r.selLength = d.SelLength;
    r.layerAgain = layer;
    r.layerIds = d.LayerIds;
    packLayerRecord(r, s.ScratchBuffer.data());
    bool ok = writeFilePieces(s.path(undoFileName(UndoPart::LyInfo, layer, 0)),
                              {{s.ScratchBuffer.data(), LayerRecordSize}});

    ok &= writeFilePieces(s.path(undoFileName(UndoPart::LyNami, layer, 0)),
                          {firstBytes(pool.LySamples[L], r.lyLen)});
    ok &= writeFilePieces(s.path(undoFileName(UndoPart::LyVol, layer, 0)), {firstBytes(pool.LyVolume[L], r.lyLen)});
    ok &= writeFilePieces(s.path(undoFileName(UndoPart::LyHz, layer, 0)), {firstBytes(pool.LyPitch[L], r.lyLen)});
    return ok;
}

int activeLayerOf(const SoundDoc& d) {
    return d.ActiveLayer < LayerTableSize ? d.ActiveLayer : 0;
}

void writeUndoDebug(EditorState& s, const char* verb, const SoundDoc& d) {
    s.platform.debugLine(std::string(verb) + "　UnDoFlag$[ActWndNum]=" + d.UnDoFlag + "\r\n");
    s.platform.debugLine(std::string(verb) + "　Yarinaoshi$[ActWndNum]=" + d.Yarinaoshi + "\r\n");
}

// A step that could not be read changed nothing, so the history must not say
// otherwise: the strings go back to what they were and the menu follows them.
struct HistoryMark {
    std::string undo, redo;
    std::uint8_t pos;
    explicit HistoryMark(const SoundDoc& d) : undo(d.UnDoFlag), redo(d.Yarinaoshi), pos(d.UndoPos) {}
    void putBack(EditorState& s, SoundDoc& d) const {
        d.UnDoFlag = undo;
        d.Yarinaoshi = redo;
        d.UndoPos = pos;
        refreshUndoMenu(s);
    }
};

// Undo and redo act on a slot that shows a sound; the menu may still carry the
// captions of a window that has been closed since.
bool activeSlotHasWindow(EditorState& s) {
    if (s.active().WindowHandle != 0) return true;
    showFaceMessage(s, "");
    return false;
}

} // namespace

void snapshot(EditorState& s, int code) {
    const int slot = s.activeSlot();
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    const int layer = activeLayerOf(d);
    const std::uint8_t written = layersToWrite(s, d, layer);
    const auto moving = static_cast<std::uint8_t>(d.UndoLayerFiles | written);

    d.UnDoFlag += codeText(code);
    if (d.UnDoFlag.size() > KeptCodes * CodeWidth)
        d.UnDoFlag.erase(0, d.UnDoFlag.size() - KeptCodes * CodeWidth);

    if (d.UndoPos != 0) {
        dropRedoBranch(s, slot, moving, d.UndoPos);
        d.UndoPos = 0;
        d.Yarinaoshi.clear();
        setRedoCaption(s, d, NothingToRedoAfterChange);
    } else {
        shiftUp(s, slot, moving);
    }
    // The folder may have been removed while the program runs; it is made
    // again rather than every later step being lost.
    std::error_code ignored;
    std::filesystem::create_directories(s.path(UndoFolder), ignored);
    bool stored = writeStateFiles(s, slot);
    for (int id = 0; id < LayerTableSize - 1; ++id)
        if (written & (1u << id)) stored &= writeLayerFiles(s, slot, id);
    claimLayerFiles(s, slot, written);
    setUndoCaption(s, d);
    // A step that could not be stored is said once, not at every change of a
    // full disk; the next step that is stored again ends that spell.
    if (!stored && !s.UndoWriteFailed) s.platform.messageBox({UndoUnwritableText, UndoUnreadableCaption});
    s.UndoWriteFailed = !stored;
    ++s.ChangeSerial;
    recordNewStep(s);
}

void undoStep(EditorState& s) {
    SoundDoc& d = s.active();
    if (nothingToUndo(d)) {
        s.platform.messageBox(
            {"戻せるのは" + intText(UndoDepth) + "回分の作業までです。", "<(_ _)>戻せません."});
        return;
    }
    const HistoryMark before(d);
    ++d.UndoPos;
    d.Yarinaoshi += popCode(d.UnDoFlag);
    const bool baseState = lastCode(d.UnDoFlag) == 0;
    setUndoCaption(s, d);
    setRedoCaption(s, d, NothingToRedoAfterChange);
    writeUndoDebug(s, "元に戻す", d);
    if (!restoreStoredStep(s, d.UndoPos, baseState)) before.putBack(s, d);
    else ++s.ChangeSerial;
    recordHistoryMove(s);
}

void redoStep(EditorState& s) {
    SoundDoc& d = s.active();
    // The redo item is grayed in this case; a stray call changes nothing.
    if (d.Yarinaoshi.size() < CodeWidth || d.UndoPos == 0) return;
    const HistoryMark before(d);
    --d.UndoPos;
    d.UnDoFlag += popCode(d.Yarinaoshi);
    writeUndoDebug(s, "やり直す", d);
    setUndoCaption(s, d);
    setRedoCaption(s, d, NothingToRedoAfterChange);
    if (!restoreStoredStep(s, d.UndoPos, false)) before.putBack(s, d);
    else ++s.ChangeSerial;
    recordHistoryMove(s);
}

bool restoreStep(EditorState& s, int step) {
    return restoreStoredStep(s, step, false);
}

void refreshUndoMenu(EditorState& s) {
    const SoundDoc& d = s.active();
    setUndoCaption(s, d);
    setRedoCaption(s, d, NothingToRedo);
}

void initialUndoMenu(EditorState& s) {
    s.platform.setMenuItem(NothingToUndo, EditPopup, UndoItemId, 0, false);
    s.platform.setMenuItem(NothingToRedo, EditPopup, RedoItemId, 1, false);
}

void undoCommand(EditorState& s) {
    if (s.BusyFlag) return;
    s.BusyFlag = 1;
    if (activeSlotHasWindow(s)) undoStep(s);
    s.BusyFlag = 0;
}

void redoCommand(EditorState& s) {
    if (s.BusyFlag) return;
    s.BusyFlag = 1;
    if (activeSlotHasWindow(s)) redoStep(s);
    s.BusyFlag = 0;
}

void clearUndoFolder(EditorState& s) {
    std::error_code ignored;
    std::filesystem::remove_all(s.path(UndoFolderName), ignored);
}

} // namespace wavora
