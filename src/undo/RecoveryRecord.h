#pragma once
// The recovery record: one small file per open sound in "WavoraUnDo" that says
// what the step files cannot, so that a run that died can give its sounds back.
//
// "UnDo_Fukugen_%02d.txt" (the slot), raw bytes, integers little-endian:
//
//   offset  size  field
//   0       4     "WvRc"
//   4       1     format, 1
//   5       1     slot
//   6       1     UndoPos (0..20)
//   7       1     UndoLayerFiles: bit L set, layer L's step files follow this slot
//   8       1     HasGenOn
//   9       1     transparency of the sound's layers: bit L = LyAdditive of layer L
//   10      1     n, the codes in UnDoFlag (1..21)
//   11      1     m, the codes in Yarinaoshi (= UndoPos)
//   12      2     T, bytes of the title
//   14      4     the run's serial of the last step, undo or redo of this sound:
//                 of two sounds the one with the higher serial changed last
//   18      2n    UnDoFlag, two ASCII digits per code, oldest first
//           2m    Yarinaoshi, the next step to redo last
//           T     the window's title, UTF-8
//           8(n+m) the fingerprints of steps 0 .. n+m-1 (0 = the newest), see stepTag
//           4     FNV-1a (32 bits) of every byte before it
//
// It is replaced whole (written to "UnDo_Fukugen_%02d.tmp", then renamed over)
// after every step, undo, redo and rename, so a crash leaves either the old
// record or the new one, never half of each.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wavora {

struct RecoveryRecord {
    int slot = 0;
    std::uint8_t undoPos = 0;
    std::uint8_t layerFiles = 0;
    std::uint8_t hasGenOn = 0;
    std::uint8_t additive = 0;
    std::uint32_t serial = 0;
    std::string undoCodes; // UnDoFlag
    std::string redoCodes; // Yarinaoshi
    std::string title;
    std::vector<std::uint64_t> stepTags; // one per step the history reaches
};

constexpr std::size_t RecoveryTitleMax = 1023;

// "WavoraUnDo/UnDo_Fukugen_03.txt" and the temporary name it is written under.
std::string recoveryFileName(int slot);
std::string recoveryTempName(int slot);
// True for the file name (without folder) of a record, and its slot.
std::optional<int> recoverySlotOfName(const std::string& fileName);

std::vector<std::uint8_t> packRecoveryRecord(const RecoveryRecord& r);
// Nothing unless every field is in range and agrees with the others, the
// length is exact, the checksum holds and the slot is the one the name gives.
std::optional<RecoveryRecord> parseRecoveryRecord(std::span<const std::uint8_t> bytes, int slot);

// The fingerprint of one stored step: its state record as written and the
// three data blocks. Two different steps practically never share one, so a
// step file that is damaged, missing its end, or left at another number by a
// shift that was cut off is told from the step the history expects there.
std::uint64_t stepTag(std::span<const std::uint8_t> stateRecord, std::span<const std::uint8_t> samples,
                      std::span<const std::uint8_t> volume, std::span<const std::uint8_t> pitch);

} // namespace wavora
