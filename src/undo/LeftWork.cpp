#include "undo/LeftWork.h"

#include "undo/RecoveryKeeper.h"
#include "undo/UndoFiles.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <system_error>

namespace wavora {

namespace {

constexpr int LastStepFile = UndoFolderSteps;  // the shift leaves up to step 21
constexpr int MovingSteps = 50;                // steps 50.. hold files on their way to a new number

std::optional<RecoveryRecord> readRecord(const EditorState& s, int slot) {
    for (const std::string& name : {recoveryFileName(slot), recoveryTempName(slot)}) {
        std::ifstream in(s.path(name), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (auto r = parseRecoveryRecord(bytes, slot)) return r;
    }
    return std::nullopt;
}

// The two-digit code of each step of the record, step 0 first: the redo list
// holds steps 0 .. UndoPos - 1, the undo list (newest last) the rest.
std::vector<std::string> stepCodes(const RecoveryRecord& r) {
    std::vector<std::string> codes;
    for (std::size_t i = 0; i + 1 < r.redoCodes.size(); i += 2) codes.push_back(r.redoCodes.substr(i, 2));
    for (std::size_t i = r.undoCodes.size(); i >= 2; i -= 2) codes.push_back(r.undoCodes.substr(i - 2, 2));
    return codes;
}

// Where each step is: at its own number, or (cut off in a shift) at another
// one that holds the same fingerprint and no other step.
std::vector<int> findSteps(EditorState& s, const RecoveryRecord& r) {
    std::map<int, std::optional<std::uint64_t>> tags;
    auto tagAt = [&](int step) -> std::optional<std::uint64_t>& {
        auto it = tags.find(step);
        if (it == tags.end()) it = tags.emplace(step, storedStepTag(s, r.slot, step)).first;
        return it->second;
    };
    const int n = static_cast<int>(r.stepTags.size());
    std::vector<int> at(static_cast<std::size_t>(n), -1);
    std::vector<bool> taken(LastStepFile + 1, false);
    auto take = [&](int k, int q) {
        at[static_cast<std::size_t>(k)] = q;
        taken[static_cast<std::size_t>(q)] = true;
    };
    for (int k = 0; k < n; ++k)
        if (tagAt(k) == r.stepTags[static_cast<std::size_t>(k)]) take(k, k);
    for (int k = 0; k < n; ++k)
        for (int q = 0; q <= LastStepFile && at[static_cast<std::size_t>(k)] < 0; ++q)
            if (!taken[static_cast<std::size_t>(q)] && tagAt(q) == r.stepTags[static_cast<std::size_t>(k)]) take(k, q);
    return at;
}

LeftSound surveySlot(EditorState& s, int slot) {
    LeftSound l;
    l.slot = slot;
    l.record = readRecord(s, slot);
    if (!l.record) return l;
    l.foundAt = findSteps(s, *l.record);
    const int n = static_cast<int>(l.foundAt.size());
    auto found = [&](int k) { return k >= 0 && k < n && l.foundAt[static_cast<std::size_t>(k)] >= 0; };
    // The state it was in; failing that the nearest one undo would reach,
    // then the nearest one redo would.
    const int current = l.record->undoPos;
    for (int k = current; k < n && l.step < 0; ++k)
        if (found(k)) l.step = k;
    for (int k = current - 1; k >= 0 && l.step < 0; --k)
        if (found(k)) l.step = k;
    if (l.step < 0) return l;
    l.newest = l.oldest = l.step;
    while (found(l.newest - 1)) --l.newest;
    while (found(l.oldest + 1)) ++l.oldest;
    return l;
}

void moveFile(EditorState& s, UndoPart part, int owner, int from, int to) {
    std::error_code ignored;
    const std::filesystem::path target = s.path(undoFileName(part, owner, to));
    std::filesystem::remove(target, ignored);
    std::filesystem::rename(s.path(undoFileName(part, owner, from)), target, ignored);
}

void removeFile(EditorState& s, UndoPart part, int owner, int step) {
    std::error_code ignored;
    std::filesystem::remove(s.path(undoFileName(part, owner, step)), ignored);
}

} // namespace

bool LeftSound::complete() const {
    // Steps found at other numbers come back whole once they are moved home.
    return record && step >= 0 && step == record->undoPos && newest == 0 &&
           oldest + 1 == static_cast<int>(foundAt.size());
}

bool leftSoundsInFolder(const EditorState& s) {
    std::error_code ec;
    std::filesystem::directory_iterator it(s.path(UndoFolderName), ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = reinterpret_cast<const char*>(it->path().filename().u8string().c_str());
        std::optional<int> slot = recoverySlotOfName(name);
        if (!slot && name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0)
            slot = recoverySlotOfName(name.substr(0, name.size() - 4) + ".txt");
        if (slot) return true;
    }
    return false;
}

std::vector<LeftSound> surveyLeftWork(EditorState& s) {
    std::vector<LeftSound> left;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const bool present = std::filesystem::exists(s.path(recoveryFileName(slot))) ||
                             std::filesystem::exists(s.path(recoveryTempName(slot)));
        if (present) left.push_back(surveySlot(s, slot));
    }
    // A layer dragged into another window was recorded only by the window it
    // went to: restoring the sounds in the order they changed gives it there.
    std::stable_sort(left.begin(), left.end(), [](const LeftSound& a, const LeftSound& b) {
        return (a.record ? a.record->serial : 0) < (b.record ? b.record->serial : 0);
    });
    return left;
}

RecoveryRecord settleLeftSound(EditorState& s, const LeftSound& l, std::uint8_t layerFiles) {
    const RecoveryRecord& old = *l.record;
    const std::vector<std::string> codes = stepCodes(old);
    RecoveryRecord r = old;
    r.layerFiles = layerFiles;
    r.undoPos = static_cast<std::uint8_t>(l.step - l.newest);
    r.redoCodes.clear();
    r.undoCodes.clear();
    r.stepTags.clear();
    for (int k = l.newest; k < l.step; ++k) r.redoCodes += codes[static_cast<std::size_t>(k)];
    for (int k = l.oldest; k >= l.step; --k) r.undoCodes += codes[static_cast<std::size_t>(k)];
    for (int k = l.newest; k <= l.oldest; ++k) r.stepTags.push_back(old.stepTags[static_cast<std::size_t>(k)]);

    bool inPlace = true;
    for (int k = l.newest; k <= l.oldest; ++k) inPlace = inPlace && l.foundAt[static_cast<std::size_t>(k)] == k - l.newest;
    const int kept = l.oldest - l.newest + 1;
    if (inPlace) {
        for (int step = kept; step <= LastStepFile; ++step)
            for (UndoPart part : SoundParts) removeFile(s, part, l.slot, step);
        return r;
    }
    // Out of the way first, so that no step overwrites one still to move.
    auto eachPart = [&](auto act) {
        for (UndoPart part : SoundParts) act(part, l.slot);
        for (int id = 0; id < LayerTableSize - 1; ++id)
            if (layerFiles & (1u << id))
                for (UndoPart part : LayerParts) act(part, id);
    };
    for (int k = l.newest; k <= l.oldest; ++k)
        eachPart([&](UndoPart part, int owner) {
            moveFile(s, part, owner, l.foundAt[static_cast<std::size_t>(k)], MovingSteps + k - l.newest);
        });
    for (int step = 0; step <= LastStepFile; ++step)
        for (UndoPart part : SoundParts) removeFile(s, part, l.slot, step);
    // A layer file that did not move (the shift was cut off between a step's
    // sound and its layers) stays where it is: its record says whose it is.
    for (int step = 0; step < kept; ++step)
        eachPart([&](UndoPart part, int owner) {
            std::error_code ignored;
            if (std::filesystem::exists(s.path(undoFileName(part, owner, MovingSteps + step)), ignored))
                moveFile(s, part, owner, MovingSteps + step, step);
        });
    return r;
}

void removeLeftSound(EditorState& s, int slot) {
    for (int step = 0; step <= LastStepFile; ++step)
        for (UndoPart part : SoundParts) removeFile(s, part, slot, step);
    std::error_code ignored;
    std::filesystem::remove(s.path(recoveryFileName(slot)), ignored);
    std::filesystem::remove(s.path(recoveryTempName(slot)), ignored);
    std::filesystem::remove(s.path(genOnFileName(slot)), ignored);
}

} // namespace wavora
