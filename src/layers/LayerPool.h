#pragma once
// The five layers the whole program shares: which ids are free, their
// buffers, and the per-slot lists that say where each one lies.
#include "core/EditorState.h"

#include <cstdint>

namespace wavora {

// The lowest id 1..5 that no layer uses, 0 when all five are taken. This scan
// is the one truth about free ids: the limit check asks it too.
int freeLayerId(const EditorState& s);
int layersInUse(const EditorState& s);
// LayerPoolNext = 1 + the layers in use, kept for the parts that read it.
void syncLayerPoolNext(EditorState& s);

// Takes the id and gives it buffers of length + 1000 bytes (silence and
// neutral curves), named "レイヤー" + id, opaque.
void allocateLayer(EditorState& s, int id, std::int32_t length, std::uint8_t silence);
// The id is free again and its buffers are given back.
void releaseLayer(EditorState& s, int id);

// Position 1..LayerCount of the id in the slot's list, 0 when it is not there.
int layerPosition(const SoundDoc& d, int id);
// Appends the id on top of the stack; it becomes the top and the active layer.
void appendLayer(SoundDoc& d, int id);
// Takes the id out of the list; the entries after it move down. The top is
// the new last entry; an active layer that went is replaced by the top.
void removeLayer(SoundDoc& d, int id);
// The slot whose list holds the id, -1 when none does.
int ownerSlotOf(const EditorState& s, int id);
// How many valid list positions the slot has (LayerCount held to the table).
int listedLayers(const SoundDoc& d);
inline bool validLayerId(int id) { return id >= 1 && id <= MaxLayerId; }

// The view's pixel-to-byte rule: floor(x / XScale) + FirstByte, at least 0.
std::int32_t byteAtContentX(const ViewState& v, std::int64_t x);

// The layer limit's message; `mergeWord` differs between making and pasting.
void showLayerLimit(EditorState& s, bool whenPasting);

} // namespace wavora
