#pragma once
// The signal primitives that turn a sound, its graphs and its layers into
// what is heard: resampling a byte range together with its volume graph,
// opening or closing a gap in a slot's data, applying the volume graph, and
// mixing the layers over the background. Edits, effects, the mouse keys and
// Play all build on these.
#include "core/EditorState.h"

#include <cstdint>

namespace wavora {

// Resamples the inclusive byte range start..end of the active sound by
// `ratio` (above 1: shorter and higher) with linear interpolation, together
// with its volume graph; the bytes after the range move with the change of
// length, and `pos` is moved by it too. 16-bit sounds are worked sample by
// sample. Returns -1, changing nothing, when the result would not fit (or the
// range is not one); the read limit also shows its message.
int WaveStretch2(EditorState& s, std::int32_t start, std::int32_t end, float ratio, std::int32_t& pos);

// Shifts everything from byte `at` of the slot's samples and both graphs by
// `delta` bytes and adds delta to DataLen: a negative delta removes the
// |delta| bytes just before `at`, a positive one opens a gap at `at` (filled
// with silence and neutral graph values; callers overwrite it). -1 and no
// change when a growth would reach DATALENMAX bytes or a removal would reach
// before byte 0; 0 and no change when `at` lies past the data.
int ResizeAt(EditorState& s, int slot, std::int32_t at, std::int32_t delta);

// Multiplies the bytes start .. end - 1 of the active sound (only those inside
// the selection when there is one) by the gain of the volume graph under them.
void ApplyVolumeGraph(EditorState& s, std::int32_t start, std::int32_t end);
// The same multiplication on any buffers of DATALENMAX bytes: the bytes
// start .. end - 1 that lie within lo .. hi - 1 (16-bit sounds by whole samples).
void applyVolumeTo(std::uint8_t* samples, const std::uint8_t* volume, bool wide, std::int64_t start, std::int64_t end,
                   std::int64_t lo, std::int64_t hi);

// The bytes of the background that layer `id` covers, first..last inclusive
// (first may lie before 0, whose part is not heard); empty when last < first.
struct LayerSpan {
    std::int64_t first = 0;
    std::int64_t last = -1;
};
LayerSpan layerByteSpan(const EditorState& s, int id);

// Mixes the active sound's background and its layers into RenderBuffer and
// sets OutputLength. A layer reaching byte DATALENMAX is refused with a
// message; the background (and what earlier layers lengthened) is kept.
void RenderLayers(EditorState& s);

} // namespace wavora
