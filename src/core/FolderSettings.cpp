#include "core/FolderSettings.h"

#include "core/TextFiles.h"

namespace wavora {

void saveOpenFolder(EditorState& s) {
    writeText(s.path(std::string(SettingsFolder) + "/FileOpenPath.wavora"), s.frame.FileOpenPath);
}

void saveSaveFolder(EditorState& s) {
    writeText(s.path(std::string(SettingsFolder) + "/FileHozonPath.wavora"), s.frame.FileHozonPath);
}

} // namespace wavora
