#pragma once
// The effects themselves, apart from their dialogs: echo, multi-echo, chorus
// and distortion on the active sound with the parameters in s.effects. The
// commands, their live previews and the super random effect generator call
// them.
#include "core/EditorState.h"

#include <cstdint>

namespace wavora {

enum class EchoResult {
    Done,
    TooLong, // the doubled delay does not fit the buffer; told, nothing changed
    NoDelay, // a delay of 0 bytes would never end; nothing changed
};

// Echoes at d, 2d, 4d, ... bytes behind the selection start with gains
// EchoDecay, EchoDecay^2, ...; d = trunc(EchoDelay x 10000), doubled for
// 16-bit sounds (also kept as EchoStep). A sound shorter than 2d is
// lengthened to 2d. Drops the selection. TooLong shows its message here;
// NoDelay is left to the caller, which knows whether to tell the user.
EchoResult EchoCore(EditorState& s);

// Up to 1001 echoes, the first `offset` bytes behind the selection start, each
// further one EchoStep / 4 bytes later and EchoDecay quieter. The length does
// not change. Drops the selection.
void MultiEchoCore(EditorState& s, std::int32_t offset);

// The sound plus a copy resampled by ChorusRatio (only the selection, when
// there is one) and scaled by ChorusGain. A longer copy is cut at the old
// length, a shorter one shortens the sound. -1, with nothing changed, when
// the resampling is refused.
int ChorusCore(EditorState& s);

// Drives the sound (or the selection) by DistortionLevel x 0.1 + 1 into the
// clipping limits and scales it back by 2 over that gain.
void DistortionCore(EditorState& s);

// Bytes of the echo delay for the active sound: the product in single
// precision, cut toward zero (0.01 "seconds" are 100 bytes, not 99).
std::int32_t echoDelayBytes(const EditorState& s);

} // namespace wavora
