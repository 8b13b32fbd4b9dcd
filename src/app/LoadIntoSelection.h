#pragma once
// "選択範囲にwavファイルを読み込む(&O)": a WAV file's data in place of the
// active sound's selection. It ties the helper's Open dialog, the WAV reader
// and the selection's replacement together.
#include "core/EditorState.h"

namespace wavora {

void loadWavIntoSelectionCommand(EditorState& s); // 1207

} // namespace wavora
