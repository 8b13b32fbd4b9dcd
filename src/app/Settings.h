#pragma once
// The small Shift-JIS text files in "Wavora個人設定" that carry the remembered
// folders and window positions from one run to the next.
#include "core/EditorState.h"

#include "core/FolderSettings.h"
#include "core/TextFiles.h"

namespace wavora {

// Start-up: the three working folders (failures are ignored).
void createWorkingFolders(EditorState& s);
// Start-up: the open and save folders, falling back to the current directory.
void loadFolderSettings(EditorState& s);
// Start-up: the frame rectangle from WindowPos.wavora, or the defaults.
void loadFramePosition(EditorState& s);
// Shutdown: both folders and the frame rectangle (s.frame as it stands).
void saveSettings(EditorState& s);
// The remembered folder files (saveOpenFolder, saveSaveFolder) come from
// core/FolderSettings.h: the file requests below this layer write them too.
// The tool window's position, read when it is made and written when it goes.
void loadToolWindowPosition(EditorState& s);
// Whether every change is auditioned ("AutoAudition.wavora": 1 or 0), read at
// start-up (with the menu's check mark) and written whenever it is switched.
void loadAutoAudition(EditorState& s);
void saveAutoAudition(EditorState& s);
void saveToolWindowPosition(EditorState& s, int left, int top);

} // namespace wavora
