#include "undo/UndoRestore.h"

#include "core/Platform.h"
#include "text/NumberText.h"
#include "undo/UndoFiles.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace wavora {

const char* const UndoUnreadableCaption = "<(_ _)>";
const char* const UndoUnreadableText =
    "作業の記録が読み込めなかったので、元に戻す（やり直す）ことができませんでした。\r\n音はそのままです。";
const char* const UndoUnwritableText =
    "作業の記録（WavoraUnDo）を書き込めませんでした。ディスクの空きが足りないか、フォルダに書き込めません。\r\n"
    "この作業は元に戻せない（やり直せない）かもしれません。音はそのままです。";
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

// The layer's own fields and data as the step had them.
void applyLayerData(EditorState& s, const SoundDoc& d, int layer, const StoredLayer& stored) {
    const LayerRecord& r = stored.record;
    LayerPool& pool = s.layers;
    const auto L = static_cast<std::size_t>(layer);
    pool.LyPixelX[L] = r.pixelX;
    pool.LyScreenX[L] = r.screenX;
    pool.LyLen[L] = r.lyLen;
    pool.LyStart[L] = r.lyStart;
    // Layer buffers are made LyLen + 1000 bytes long wherever they are made.
    const auto size = static_cast<std::size_t>(r.lyLen) + 1000;
    pool.LySamples[L].assign(size, d.silenceValue());
    pool.LyVolume[L].assign(size, 128);
    pool.LyPitch[L].assign(size, 128);
    std::copy(stored.samples.begin(), stored.samples.end(), pool.LySamples[L].begin());
    std::copy(stored.volume.begin(), stored.volume.end(), pool.LyVolume[L].begin());
    std::copy(stored.pitch.begin(), stored.pitch.end(), pool.LyPitch[L].begin());
    if (pool.LyName[L].empty()) pool.LyName[L] = "レイヤー" + intText(layer);
}

using StoredLayers = std::array<std::optional<StoredLayer>, LayerTableSize>;

// The layer list of the step. Every layer listed at a change wrote its record,
// each carrying the whole list; the active layer's is asked first.
std::optional<std::array<std::int32_t, 7>> storedList(const StoredLayers& layers, int active) {
    if (active >= 0 && active < LayerTableSize && layers[static_cast<std::size_t>(active)])
        return layers[static_cast<std::size_t>(active)]->record.layerIds;
    for (const auto& l : layers)
        if (l) return l->record.layerIds;
    return std::nullopt;
}

bool listed(const std::vector<int>& ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

std::vector<int> currentList(const SoundDoc& d) {
    std::vector<int> ids;
    const int n = std::clamp(d.LayerCount, 0, 6);
    for (int p = 1; p <= n; ++p) ids.push_back(d.LayerIds[static_cast<std::size_t>(p)]);
    return ids;
}

// Takes the layer out of whichever other slot lists it.
void takeFromOtherSlots(EditorState& s, int slot, int id) {
    for (int other = 0; other < SlotTableSize; ++other) {
        if (other == slot) continue;
        SoundDoc& o = s.docs[static_cast<std::size_t>(other)];
        std::vector<int> ids = currentList(o);
        if (!listed(ids, id)) continue;
        ids.erase(std::find(ids.begin(), ids.end(), id));
        // Remembered, so that undoing this step again hands the layer back.
        const auto L = static_cast<std::size_t>(id);
        s.layers.LyFromSlot[L] = other;
        s.layers.LyFromWindow[L] = o.WindowHandle;
        s.layers.LyFromStart[L] = s.layers.LyStart[L];
        for (std::size_t p = 1; p <= 5; ++p) o.LayerIds[p] = p <= ids.size() ? ids[p - 1] : 0;
        o.LayerCount = static_cast<std::int32_t>(ids.size());
        o.TopLayer = ids.empty() ? 0 : ids.back();
        if (o.ActiveLayer == id) o.ActiveLayer = static_cast<std::uint8_t>(o.TopLayer);
        if (o.WindowHandle) s.platform.invalidate(o.WindowHandle);
    }
}

bool listedElsewhere(const EditorState& s, int slot, int id) {
    for (int other = 0; other < SlotTableSize; ++other)
        if (other != slot && listed(currentList(s.docs[static_cast<std::size_t>(other)]), id)) return true;
    return false;
}

// A layer the step no longer has: back to the window it was dragged from
// when that window is still there, otherwise its id is free again.
void letGo(EditorState& s, int slot, int id) {
    LayerPool& pool = s.layers;
    const auto L = static_cast<std::size_t>(id);
    const int home = pool.LyFromSlot[L];
    if (home >= 0 && home < SlotCount && home != slot &&
        s.docs[static_cast<std::size_t>(home)].WindowHandle == pool.LyFromWindow[L] && pool.LyFromWindow[L] != 0) {
        SoundDoc& h = s.docs[static_cast<std::size_t>(home)];
        const int n = std::clamp(h.LayerCount, 0, 5);
        if (n < 5) {
            h.LayerIds[static_cast<std::size_t>(n + 1)] = id;
            h.LayerCount = n + 1;
            h.TopLayer = id;
            const std::int32_t start = pool.LyStart[L];
            pool.LyStart[L] = pool.LyFromStart[L];
            pool.LyFromSlot[L] = slot;
            pool.LyFromWindow[L] = s.docs[static_cast<std::size_t>(slot)].WindowHandle;
            pool.LyFromStart[L] = start;
            s.platform.invalidate(h.WindowHandle);
            return;
        }
    }
    pool.LyInUse[L] = 0;
    pool.LyFromSlot[L] = -1;
    std::vector<std::uint8_t>().swap(pool.LySamples[L]);
    std::vector<std::uint8_t>().swap(pool.LyVolume[L]);
    std::vector<std::uint8_t>().swap(pool.LyPitch[L]);
    pool.LyLen[L] = 0;
}

// The slot's layers become those of the step: layers it had and the step has
// not are let go, layers the step has come back with their data (also out of
// another window they were dragged to), and the pool counts what is in use.
void restoreLayers(EditorState& s, int slot, const StateRecord& state, const StoredLayers& layers,
                   const std::vector<int>& before, bool baseState) {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    std::vector<int> wanted;
    if (!baseState) {
        const auto list = storedList(layers, state.activeLayer);
        const int n = std::clamp(state.layerCount, 0, 5);
        for (int p = 1; p <= n; ++p) {
            const int id = list ? (*list)[static_cast<std::size_t>(p)] : (p <= static_cast<int>(before.size()) ? before[static_cast<std::size_t>(p - 1)] : 0);
            const bool stored = id >= 1 && id <= 5 && layers[static_cast<std::size_t>(id)].has_value();
            // Without its record a layer can only stay as it is.
            if (id >= 1 && id <= 5 && !listed(wanted, id) && (stored || listed(before, id))) wanted.push_back(id);
        }
    }
    for (int id : wanted) {
        const auto L = static_cast<std::size_t>(id);
        if (layers[L]) {
            takeFromOtherSlots(s, slot, id);
            applyLayerData(s, d, id, *layers[L]);
        }
        s.layers.LyInUse[L] = 1;
    }
    for (std::size_t p = 1; p <= 5; ++p) d.LayerIds[p] = p <= wanted.size() ? wanted[p - 1] : 0;
    d.LayerCount = static_cast<std::int32_t>(wanted.size());
    for (int id : before)
        if (id >= 1 && id <= 5 && !listed(wanted, id) && !listedElsewhere(s, slot, id)) letGo(s, slot, id);
    d.TopLayer = wanted.empty() ? 0 : wanted.back();
    d.ActiveLayer = static_cast<std::uint8_t>(listed(wanted, state.activeLayer) ? state.activeLayer : 0);
    int inUse = 0;
    for (int id = 1; id <= MaxLayerId; ++id) inUse += s.layers.LyInUse[static_cast<std::size_t>(id)] ? 1 : 0;
    s.layers.LayerPoolNext = 1 + inUse;
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
    StoredLayers layers;
    for (int id = 0; id < LayerTableSize - 1; ++id)
        layers[static_cast<std::size_t>(id)] = readLayerStep(s, sound->record, id, step);

    const std::vector<int> before = currentList(d);
    applySound(s, d, *sound);
    restoreLayers(s, slot, sound->record, layers, before, baseState);
    repaintAllWindows(s);
    return true;
}

bool readStoredSound(EditorState& s, int slot, int step, SoundDoc& into) {
    std::optional<StoredSound> sound = readSoundStep(s, slot, step);
    if (!sound) return false;
    const StateRecord& r = sound->record;
    into.DataLen = r.dataLen;
    into.HasSelection = r.hasSelection;
    into.HasMarker = r.hasMarker;
    into.SelRect.left = r.selLeft;
    into.SelStart = r.selStart;
    into.SelRect.right = r.selRight;
    into.SelLength = r.selLength;
    into.Channels = static_cast<std::uint16_t>(r.channels);
    into.BitsParSample = static_cast<std::uint8_t>(r.bitsParSample);
    into.SRATE = r.srate;
    const auto whole = static_cast<std::size_t>(DATALENMAX);
    copyInto(sound->samples, into.Samples, whole, into.silenceValue());
    copyInto(sound->volume, into.VolumeGraph, whole, 128);
    copyInto(sound->pitch, into.PitchGraph, whole, 128);
    return true;
}

} // namespace wavora
