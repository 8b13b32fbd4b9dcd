#pragma once
// The random-wave memo: the recipe of a random wave written to a small text
// file, read back into a new window, and shown in the generator dialogs.
//
// The file is Shift-JIS text with one decimal number per line (CR LF):
// the rate, the bit depth, the random wave kind (1..4), then
//   kinds 3, 4: per component (one, or two for kind 4) SegKind, SegAmp[0..2],
//               SegFreq[0..2];
//   kinds 1, 2: for the one segment SegKind, SegLength, SegAmp[0..2],
//               SegFreq[0..2]; kind 2 adds VolKind, VolAmp[0..2],
//               VolFreq[0..2], FxKind, FxChorusFreq, FxChorusVol,
//               FxDistortion (the chorus factors as decimal fractions);
//   kind 5 (an effect sound): its kind (0..6), the seed, then its
//               parameters in their order.
#include "core/EditorState.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace wavora {

void randomMemoCommand(EditorState& s);     // 1265 and tool button 5015
void readRandomMemoCommand(EditorState& s); // tool button 5016
void randomInfoCommand(EditorState& s);     // 1243

// A memo as read from a file: its header and the entries it holds (0, and 1
// for kind 4). Values the file does not hold are 0.
struct MemoFile {
    std::int32_t rate = 0;
    std::int32_t bits = 0;
    std::int32_t kind = 0;
    RandomWaveMemo memo{};
    EffectSoundMemo effect{}; // kind 5
};

// The lines of the memo of `slot`: for kinds 1 and 2 those of memo entry
// `segment`.
std::string memoText(const EditorState& s, int slot, int segment);
// Reads at most the numbers the memo's kind needs; anything that is not a
// number reads as 0, and nothing past `bytes` is looked at.
MemoFile parseMemo(std::string_view bytes);
// Why a memo cannot become a sound (empty when it can).
std::string memoProblem(const MemoFile& memo);

// The memo entry whose bytes hold position `pos` of a super random wave of
// `dataLen` bytes, or -1. Segments follow each other from byte 0; an entry
// that does not fit inside the data (left from an older run) ends the walk.
int segmentAt(const RandomWaveMemo& m, std::int32_t dataLen, std::int64_t pos);

// Writes the text from the file's beginning without shortening it, as memos
// have always been written (a longer old file keeps its tail, which a reader
// never reaches). False when the file cannot be written.
bool writeMemoFile(const std::filesystem::path& file, const std::string& text);

} // namespace wavora
