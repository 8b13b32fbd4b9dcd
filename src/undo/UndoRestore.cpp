#include "undo/UndoRestore.h"

#include "core/Platform.h"
#include "text/NumberText.h"
#include "undo/UndoFiles.h"

#include <algorithm>
#include <optional>

namespace wavora {

const char* const UndoUnreadableCaption = "<(_ _)>";
const char* const UndoUnreadableText =
    "作業の記録が読み込めなかったので、元に戻す（やり直す）ことができませんでした。\r\n音はそのままです。";
const char* const EffectSourceUnreadableText =
    "エフェクトをかける前の音が読み込めなかったので、元の音に戻せませんでした。\r\n音はそのままです。";

namespace {

using Bytes = std::vector<std::uint8_t>;

bool readRecord(EditorState& s, UndoPart part, int owner, int step, std::size_t size) {
    return readFileBytes(s.path(undoFileName(part, owner, step)), 0, {s.ScratchBuffer.data(), size});
}

bool readBlock(EditorState& s, UndoPart part, int owner, int step, std::int32_t length, Bytes& into) {
    into.assign(static_cast<std::size_t>(length), 0);
    return readFileBytes(s.path(undoFileName(part, owner, step)), 0, into);
}

// The numbers a record brings are used as lengths and indices, so a damaged
// file must not get through as a step.
bool usableState(const StateRecord& r, int slot) {
    return r.slot == slot && r.dataLen >= 0 && r.dataLen <= DATALENMAX && r.activeLayer >= 0 &&
           r.activeLayer < LayerTableSize && r.layerCount >= 0 && r.layerCount <= 6 &&
           (r.bitsParSample == 8 || r.bitsParSample == 16) && (r.channels == 1 || r.channels == 2) &&
           r.srate > 0;
}

bool usableLayer(const LayerRecord& r, int slot, int layer) {
    if (r.slot != slot || r.layer != layer || r.layerAgain != layer) return false;
    if (r.layerCount < 0 || r.layerCount > 6 || r.lyLen < 0 || r.lyLen > DATALENMAX) return false;
    for (std::size_t i = 1; i <= 5; ++i)
        if (r.layerIds[i] < 0 || r.layerIds[i] >= LayerTableSize) return false;
    return true;
}

// Every change writes both records from the same fields, so where the fields
// both carry disagree the two records come from different changes.
bool sameChange(const StateRecord& state, const LayerRecord& layer) {
    return layer.currentTool == state.currentTool && layer.layerCount == state.layerCount &&
           layer.hasSelection == state.hasSelection && layer.selLeft == state.selLeft &&
           layer.selStart == state.selStart && layer.selRight == state.selRight &&
           layer.selLength == state.selLength;
}

struct StoredSound {
    StateRecord record;
    Bytes samples, volume, pitch;
};

struct StoredLayer {
    LayerRecord record;
    Bytes samples, volume, pitch;
};

std::optional<StoredSound> readSoundStep(EditorState& s, int slot, int step) {
    StoredSound stored;
    if (!readRecord(s, UndoPart::Info, slot, step, StateRecordSize)) return std::nullopt;
    stored.record = unpackStateRecord(s.ScratchBuffer.data());
    if (!usableState(stored.record, slot)) return std::nullopt;
    const std::int32_t n = stored.record.dataLen;
    if (!readBlock(s, UndoPart::Nami, slot, step, n, stored.samples) ||
        !readBlock(s, UndoPart::Vol, slot, step, n, stored.volume) ||
        !readBlock(s, UndoPart::Hz, slot, step, n, stored.pitch))
        return std::nullopt;
    return stored;
}

// Layer files are numbered by layer id, and every slot whose background is
// active writes the same id 0. A record that another slot wrote, or one of this
// slot's that another window's changes pushed beside a different step, is not
// this step's history: its selection and layer list would be applied to the
// wrong sound, so it is passed over (before its data is read) and the slot
// keeps what its own state record gave.
std::optional<StoredLayer> readLayerStep(EditorState& s, const StateRecord& state, int layer, int step) {
    StoredLayer stored;
    if (!readRecord(s, UndoPart::LyInfo, layer, step, LayerRecordSize)) return std::nullopt;
    stored.record = unpackLayerRecord(s.ScratchBuffer.data());
    if (!usableLayer(stored.record, state.slot, layer) || !sameChange(state, stored.record))
        return std::nullopt;
    const std::int32_t n = stored.record.lyLen;
    if (!readBlock(s, UndoPart::LyNami, layer, step, n, stored.samples) ||
        !readBlock(s, UndoPart::LyVol, layer, step, n, stored.volume) ||
        !readBlock(s, UndoPart::LyHz, layer, step, n, stored.pitch))
        return std::nullopt;
    return stored;
}

void copyInto(const Bytes& from, std::vector<std::uint8_t>& to, std::size_t minimumSize, std::uint8_t fill) {
    if (to.size() < minimumSize) to.resize(minimumSize, fill);
    std::copy(from.begin(), from.end(), to.begin());
}

void applySound(EditorState& s, SoundDoc& d, const StoredSound& stored) {
    const StateRecord& r = stored.record;
    s.CurrentTool = r.currentTool;
    s.ActWndNum = r.slot;
    d.DataLen = r.dataLen;
    d.HasSelection = r.hasSelection;
    d.HasMarker = r.hasMarker;
    d.SelRect.left = r.selLeft;
    d.SelStart = r.selStart;
    d.SelRect.right = r.selRight;
    d.SelRect.bottom = 1000;
    d.SelLength = r.selLength;
    d.LayerCount = r.layerCount;
    d.ActiveLayer = static_cast<std::uint8_t>(r.activeLayer);
    d.Channels = static_cast<std::uint16_t>(r.channels);
    d.BitsParSample = static_cast<std::uint8_t>(r.bitsParSample);
    d.SRATE = r.srate;
    s.platform.debugLine("SRATE[ActWndNum]" + intText(d.SRATE));

    const auto whole = static_cast<std::size_t>(DATALENMAX);
    copyInto(stored.samples, d.Samples, whole, d.silenceValue());
    copyInto(stored.volume, d.VolumeGraph, whole, 128);
    copyInto(stored.pitch, d.PitchGraph, whole, 128);
    d.view.ExtentX = d.DataLen;
}

void applyLayer(EditorState& s, SoundDoc& d, int layer, const StoredLayer& stored) {
    const LayerRecord& r = stored.record;
    LayerPool& pool = s.layers;
    const auto L = static_cast<std::size_t>(layer);
    s.CurrentTool = r.currentTool;
    s.ActWndNum = r.slot;
    d.ActiveLayer = static_cast<std::uint8_t>(layer);
    d.LayerCount = r.layerCount;
    pool.LyPixelX[L] = r.pixelX;
    pool.LyScreenX[L] = r.screenX;
    pool.LyLen[L] = r.lyLen;
    pool.LyStart[L] = r.lyStart;
    d.HasSelection = r.hasSelection;
    d.SelRect.left = r.selLeft;
    d.SelStart = r.selStart;
    d.SelRect.right = r.selRight;
    d.SelRect.bottom = 1000;
    d.SelLength = r.selLength;
    // The file stops before list position 6, so the slot keeps its own entry
    // there instead of taking whatever the buffer held past the record.
    for (std::size_t i = 1; i <= 5; ++i)
        d.LayerIds[i] = r.layerIds[i];

    // Layer buffers are made LyLen + 1000 bytes long wherever they are made.
    const auto size = static_cast<std::size_t>(r.lyLen) + 1000;
    copyInto(stored.samples, pool.LySamples[L], size, d.silenceValue());
    copyInto(stored.volume, pool.LyVolume[L], size, 128);
    copyInto(stored.pitch, pool.LyPitch[L], size, 128);
}

// A layer that the restored step has but the pool no longer counts (it was
// deleted or merged after the step) is handed out again; the painter remakes
// its picture. The background is never a pool layer.
void registerLayerAgain(EditorState& s, SoundDoc& d, int layer) {
    LayerPool& pool = s.layers;
    const auto L = static_cast<std::size_t>(layer);
    if (d.LayerCount <= 0 || layer < 1 || pool.LyInUse[L]) return;
    d.TopLayer = d.LayerIds[static_cast<std::size_t>(d.LayerCount)];
    if (pool.LayerPoolNext <= MaxLayerId) ++pool.LayerPoolNext;
    pool.LyInUse[L] = 1;
}

void repaintAllWindows(EditorState& s) {
    for (SoundDoc& d : s.docs) {
        if (d.WindowHandle == 0) continue;
        s.platform.enableWindow(d.WindowHandle, true);
        s.platform.invalidate(d.WindowHandle);
    }
}

} // namespace

bool restoreStoredStep(EditorState& s, int step, bool baseState) {
    const int slot = s.activeSlot();
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    // Everything the sound needs is read before anything is changed, so a
    // missing or short file leaves the sound exactly as it was.
    std::optional<StoredSound> sound = readSoundStep(s, slot, step);
    if (!sound) {
        s.platform.messageBox({UndoUnreadableText, UndoUnreadableCaption});
        return false;
    }
    const int layer = sound->record.activeLayer;
    std::optional<StoredLayer> layerStep = readLayerStep(s, sound->record, layer, step);

    applySound(s, d, *sound);
    if (baseState) {
        d.LayerCount = 0;
        s.layers.LyInUse[static_cast<std::size_t>(layer)] = 0;
    }
    if (layerStep) applyLayer(s, d, layer, *layerStep);
    registerLayerAgain(s, d, layer);
    repaintAllWindows(s);
    return true;
}

} // namespace wavora
