#include "undo/RecoveryKeeper.h"

#include "core/Platform.h"
#include "undo/RecoveryRecord.h"
#include "undo/UndoFiles.h"

#include <algorithm>
#include <system_error>

namespace wavora {

namespace {

std::span<const std::uint8_t> firstBytes(const std::vector<std::uint8_t>& buffer, std::int32_t count) {
    return {buffer.data(), std::min(static_cast<std::size_t>(std::max(count, 0)), buffer.size())};
}

std::uint8_t transparentLayers(const EditorState& s, const SoundDoc& d) {
    unsigned bits = 0;
    for (int p = 1; p <= std::clamp(d.LayerCount, 0, MaxLayerId); ++p) {
        const int id = d.LayerIds[static_cast<std::size_t>(p)];
        if (id >= 1 && id <= MaxLayerId && s.layers.LyAdditive[static_cast<std::size_t>(id)]) bits |= 1u << id;
    }
    return static_cast<std::uint8_t>(bits);
}

// The newest step as the store has just written it: its state record read
// back, its data from the sound that was written.
std::uint64_t newestStepTag(EditorState& s, int slot) {
    const SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    std::array<std::uint8_t, StateRecordSize> info{};
    const bool read = readFileBytes(s.path(undoFileName(UndoPart::Info, slot, 0)), 0, info);
    // A state record that could not be stored leaves a step that cannot come
    // back; its tag then matches nothing.
    const std::span<const std::uint8_t> record = read ? std::span<const std::uint8_t>(info) : std::span<const std::uint8_t>();
    return stepTag(record, firstBytes(d.Samples, d.DataLen), firstBytes(d.VolumeGraph, d.DataLen),
                   firstBytes(d.PitchGraph, d.DataLen));
}

std::uint32_t nextSerial(const EditorState& s) {
    std::uint32_t last = 0;
    for (const SoundDoc& d : s.docs) last = std::max(last, d.HistorySerial);
    return last + 1;
}

} // namespace

bool writeRecoveryRecord(EditorState& s, int slot) {
    if (slot < 0 || slot >= SlotCount) return false;
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    if (d.WindowHandle == 0 || d.UnDoFlag.size() < 2) return false;
    RecoveryRecord r;
    r.slot = slot;
    r.undoPos = d.UndoPos;
    r.layerFiles = d.UndoLayerFiles;
    r.hasGenOn = d.HasGenOn ? 1 : 0;
    r.additive = transparentLayers(s, d);
    r.serial = d.HistorySerial;
    r.undoCodes = d.UnDoFlag;
    r.redoCodes = d.Yarinaoshi;
    r.title = s.platform.windowTitle(d.WindowHandle);
    r.stepTags = d.StepTags;
    r.stepTags.resize(r.undoCodes.size() / 2 + r.redoCodes.size() / 2, 0);
    d.RecordedUndoPos = d.UndoPos;
    d.RecordedLayerFiles = d.UndoLayerFiles;

    const std::vector<std::uint8_t> bytes = packRecoveryRecord(r);
    const std::filesystem::path temp = s.path(recoveryTempName(slot));
    if (!writeFilePieces(temp, {bytes})) return false;
    const std::filesystem::path record = s.path(recoveryFileName(slot));
    std::error_code ec;
    std::filesystem::rename(temp, record, ec);
    if (ec) {
        // A rename that does not replace: the old record goes first, and the
        // temporary one, which start-up reads too, stands in meanwhile.
        std::filesystem::remove(record, ec);
        std::filesystem::rename(temp, record, ec);
    }
    return !ec;
}

void recordNewStep(EditorState& s) {
    const int slot = s.activeSlot();
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    // The first step of a new sound: whatever the slot held before is gone.
    if (d.UnDoFlag.size() <= 2) {
        d.StepTags.clear();
        d.RecordedUndoPos = 0;
    }
    // The store moved the steps just as it did the codes: one number up, or,
    // after undos, the undone ones dropped and the rest moved down to 1.
    std::vector<std::uint64_t> tags{newestStepTag(s, slot)};
    const std::size_t dropped = std::min<std::size_t>(d.RecordedUndoPos, d.StepTags.size());
    tags.insert(tags.end(), d.StepTags.begin() + static_cast<std::ptrdiff_t>(dropped), d.StepTags.end());
    tags.resize(std::min(tags.size(), d.UnDoFlag.size() / 2));
    d.StepTags = std::move(tags);
    d.HistorySerial = nextSerial(s);
    writeRecoveryRecord(s, slot);
    // Layer files this step wrote have stopped following other windows.
    for (int other = 0; other < SlotCount; ++other) {
        SoundDoc& o = s.docs[static_cast<std::size_t>(other)];
        if (other != slot && o.WindowHandle && o.UndoLayerFiles != o.RecordedLayerFiles) writeRecoveryRecord(s, other);
    }
}

void recordHistoryMove(EditorState& s) {
    SoundDoc& d = s.active();
    d.HistorySerial = nextSerial(s);
    writeRecoveryRecord(s, s.activeSlot());
}

void rewriteRecoveryRecord(EditorState& s, int slot) { writeRecoveryRecord(s, slot); }

void removeRecoveryRecord(EditorState& s, int slot) {
    if (slot < 0 || slot >= SlotCount) return;
    std::error_code ignored;
    std::filesystem::remove(s.path(recoveryFileName(slot)), ignored);
    std::filesystem::remove(s.path(recoveryTempName(slot)), ignored);
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    d.StepTags.clear();
    d.RecordedUndoPos = 0;
    d.RecordedLayerFiles = 0;
}

std::optional<std::uint64_t> storedStepTag(EditorState& s, int slot, int step) {
    std::array<std::uint8_t, StateRecordSize> info{};
    if (!readFileBytes(s.path(undoFileName(UndoPart::Info, slot, step)), 0, info)) return std::nullopt;
    const StateRecord r = unpackStateRecord(info.data());
    if (r.slot != slot || r.dataLen < 0 || r.dataLen > DATALENMAX) return std::nullopt;
    std::array<std::vector<std::uint8_t>, 3> data;
    const UndoPart parts[3] = {UndoPart::Nami, UndoPart::Vol, UndoPart::Hz};
    for (std::size_t i = 0; i < 3; ++i) {
        data[i].assign(static_cast<std::size_t>(r.dataLen), 0);
        if (!readFileBytes(s.path(undoFileName(parts[i], slot, step)), 0, data[i])) return std::nullopt;
    }
    return stepTag(info, data[0], data[1], data[2]);
}

} // namespace wavora
