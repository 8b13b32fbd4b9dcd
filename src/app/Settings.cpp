#include "app/Settings.h"

#include "app/MenuTable.h"
#include "core/Platform.h"
#include "text/NumberText.h"

#include <filesystem>
#include <system_error>

namespace wavora {

namespace {

std::string positionLines(std::initializer_list<int> values) {
    std::string text;
    for (int v : values) text += intText(v) + "\r\n";
    return text;
}

int readNumberLine(Platform& p, const std::filesystem::path& file, int n) {
    return cutToInt(textToNumber(readLine(p, file, n)));
}

std::filesystem::path settingsFile(const EditorState& s, const char* name) {
    return s.path(std::string(SettingsFolder) + "/" + name);
}

std::string folderOrCurrent(const EditorState& s, const std::string& folder) {
    std::size_t chars = 0;
    for (unsigned char c : folder)
        if ((c & 0xC0) != 0x80) ++chars;
    return chars < 3 ? s.frame.CurrentDir : folder;
}

} // namespace

void createWorkingFolders(EditorState& s) {
    for (const char* f : {UndoFolder, SettingsFolder, MemoFolder}) {
        std::error_code ec;
        std::filesystem::create_directories(s.path(f), ec);
    }
}

void loadFolderSettings(EditorState& s) {
    s.frame.FileOpenPath = folderOrCurrent(s, readLine(s.platform, settingsFile(s, "FileOpenPath.wavora"), 0));
    s.frame.FileHozonPath = folderOrCurrent(s, readLine(s.platform, settingsFile(s, "FileHozonPath.wavora"), 0));
}

void loadFramePosition(EditorState& s) {
    s.frame.left = 13;
    s.frame.top = 50;
    s.frame.width = 950;
    s.frame.height = 534;
    if (!fileExists(s.root, std::string(SettingsFolder) + "/WindowPos.wavora")) return;
    auto file = settingsFile(s, "WindowPos.wavora");
    s.frame.left = readNumberLine(s.platform, file, 0);
    s.frame.top = readNumberLine(s.platform, file, 1);
    s.frame.width = readNumberLine(s.platform, file, 2);
    s.frame.height = readNumberLine(s.platform, file, 3);
}

void saveSettings(EditorState& s) {
    saveOpenFolder(s);
    saveSaveFolder(s);
    int width = s.frame.width < 100 ? 300 : s.frame.width;
    int height = s.frame.height < 100 ? 300 : s.frame.height;
    writeText(settingsFile(s, "WindowPos.wavora"), positionLines({s.frame.left, s.frame.top, width, height}));
}

void loadToolWindowPosition(EditorState& s) {
    s.frame.toolLeft = 1;
    s.frame.toolTop = 2;
    if (!fileExists(s.root, std::string(SettingsFolder) + "/TBWindowPos.wavora")) return;
    auto file = settingsFile(s, "TBWindowPos.wavora");
    s.frame.toolLeft = readNumberLine(s.platform, file, 0);
    s.frame.toolTop = readNumberLine(s.platform, file, 1);
}

void saveToolWindowPosition(EditorState& s, int left, int top) {
    writeText(settingsFile(s, "TBWindowPos.wavora"), positionLines({left, top}));
}

void loadAutoAudition(EditorState& s) {
    s.play.AutoAudition = 0;
    if (fileExists(s.root, std::string(SettingsFolder) + "/AutoAudition.wavora"))
        s.play.AutoAudition = readNumberLine(s.platform, settingsFile(s, "AutoAudition.wavora"), 0) == 1 ? 1 : 0;
    s.platform.checkMenuItem(AutoAuditionId, s.play.AutoAudition != 0);
}

void saveAutoAudition(EditorState& s) {
    writeText(settingsFile(s, "AutoAudition.wavora"), positionLines({s.play.AutoAudition}));
}

} // namespace wavora
