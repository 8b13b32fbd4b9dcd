#pragma once
// The remembered open and save folders, each in its own settings file. The
// file requests write them the moment the user has chosen a folder; the
// shutdown writes them again.
#include "core/EditorState.h"

namespace wavora {

void saveOpenFolder(EditorState& s);  // "Wavora個人設定\FileOpenPath.wavora"
void saveSaveFolder(EditorState& s);  // "Wavora個人設定\FileHozonPath.wavora"

} // namespace wavora
