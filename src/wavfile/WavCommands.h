#pragma once
// The File menu's "読み込み(&O)" (1003) and "保存(&S)" (1002): a path from the
// converter program's dialog, then the WAV reader or writer.
#include "core/EditorState.h"

namespace wavora {

// Opens a WAV file into a new sound window. A file that cannot be read still
// leaves its window, holding silence.
void openWavCommand(EditorState& s);

// Saves the active sound (with its layers mixed in) as a WAV file. When the
// file cannot be written the user is told why, any older file stays as it
// was, and s.frame.SaveFailed is set.
void saveWavCommand(EditorState& s);

} // namespace wavora
