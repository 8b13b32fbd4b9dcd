#pragma once
// Fixed sizes of the editor. Every sound, graph, layer and work buffer is one
// block of DATALENMAX bytes, so indices are always checked against it.
#include <cstdint>

namespace wavora {

constexpr int SlotCount = 5;      // sound windows open at once (slots 0..4)
constexpr int SlotTableSize = 6;  // tables keep one spare entry that is never a slot
constexpr std::int32_t DATALENMAX = 500000;
constexpr int LayerTableSize = 7; // layer ids 1..5 are handed out; 0 is the background
constexpr int MaxLayerId = 5;
constexpr int UndoDepth = 20;     // states kept besides the current one
constexpr int MinSampleRate = 8000;
constexpr int MaxSampleRate = 44100;
constexpr int DefaultClientWidth = 1100;
constexpr int DefaultClientHeight = 768;
constexpr int ChosenNameCount = 100;
constexpr int ChosenNameSize = 261;

} // namespace wavora
