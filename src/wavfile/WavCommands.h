#pragma once
// The File menu's "読み込み(&O)" (1003), "変換して読み込み(&I)" (1270) and
// "保存(&S)" (1002): a path from the converter program's dialog, then the WAV
// reader, the converting reader or the writer; and files dropped on the frame.
#include "core/EditorState.h"

#include <string>
#include <vector>

namespace wavora {

// Opens a WAV file into a new sound window. A file that cannot be read still
// leaves its window, holding silence; when the converting reader can read it,
// the user is offered to fill the window with the converted sound.
void openWavCommand(EditorState& s);

// "変換して読み込み(&I)" (1270): a WAV file of any kind the converter reads,
// into a new sound window. A file it refuses leaves nothing behind.
void convertAndOpenCommand(EditorState& s);

// Files dropped on the frame (UTF-8 paths), each converted into a new window
// in turn, until the windows run out. Nothing happens while a command runs or
// a dialog is open (`dialogOpen`: a modal window the frame cannot see).
void openDroppedFiles(EditorState& s, const std::vector<std::string>& paths, bool dialogOpen);

// Saves the active sound (with its layers mixed in) as a WAV file. When the
// file cannot be written the user is told why, any older file stays as it
// was, and s.frame.SaveFailed is set.
void saveWavCommand(EditorState& s);

} // namespace wavora
