#pragma once
// The small Shift-JIS text files in "Wavora個人設定" that carry the remembered
// folders and window positions from one run to the next.
#include "app/EditorState.h"

#include <filesystem>
#include <string>

namespace wavora {

class Platform;

constexpr std::size_t ReadLineMax = 1003; // longer lines are cut

// Line n (from 0) of a Shift-JIS file as UTF-8; empty when the file cannot be
// read. CR, LF, CR LF and LF CR each end a line; control characters are dropped.
std::string readLine(Platform& platform, const std::filesystem::path& file, int n);
// Replaces the file with the text in Shift-JIS followed by one NUL byte.
// Returns false when the file could not be written (callers stay silent).
bool writeText(const std::filesystem::path& file, const std::string& text);
bool fileExists(const std::filesystem::path& folder, const std::string& relativeUtf8);

extern const char* const SettingsFolder;    // "Wavora個人設定"
extern const char* const UndoFolder;        // "WavoraUnDo"
extern const char* const MemoFolder;        // "Wavoraメモ"
extern const char* const PartsFolder;       // "Wavora部品"

// Start-up: the three working folders (failures are ignored).
void createWorkingFolders(EditorState& s);
// Start-up: the open and save folders, falling back to the current directory.
void loadFolderSettings(EditorState& s);
// Start-up: the frame rectangle from WindowPos.wavora, or the defaults.
void loadFramePosition(EditorState& s);
// Shutdown: both folders and the frame rectangle (s.frame as it stands).
void saveSettings(EditorState& s);
// The remembered folder files, written at once after a file dialog.
void saveOpenFolder(EditorState& s);
void saveSaveFolder(EditorState& s);
// The tool window's position, read when it is made and written when it goes.
void loadToolWindowPosition(EditorState& s);
void saveToolWindowPosition(EditorState& s, int left, int top);

} // namespace wavora
