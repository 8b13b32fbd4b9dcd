#pragma once
// Pattern files (".wpat"): raw bytes, nothing else. Saved from the pattern or
// from the sound's waveform, read into the pattern window or straight into
// the waveform or a graph of the active sound.
#include "core/EditorState.h"
#include "pattern/PatternWindow.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace wavora {

// Frame menu 1203, and "全部消す" in the pattern window: the pattern (when
// there is one and the user picks it) or the waveform of the active sound's
// selection, or of the whole sound, written to the chosen file.
void SavePatternFile(EditorState& s);

// Frame menu 1204: a file read into the place the user picks, at most as
// many bytes as the place holds; PatternLen becomes the count read.
void LoadPatternInto(EditorState& s);

// Pattern window menu 1095: a whole file (at most DATALENMAX bytes) becomes
// the pattern and is drawn into the picture.
void OpenPatternInWindow(EditorState& s, PatternWindow& w);

// The first `most` bytes of a file (fewer when it is shorter); nothing when
// it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> readFileStart(const std::filesystem::path& path, std::size_t most);

} // namespace wavora
