#pragma once
// The editor's side of the converter program's protocol. The editor has no
// file dialog of its own: every Open and Save asks the helper, which shows the
// dialog and answers with the chosen path while the request is still being
// sent. The records carry Shift-JIS text; inside the editor text is UTF-8.
#include "core/EditorState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wavora {

// Numbers of the copy-data records the helper understands; any other number
// registers the window it names as the one that gets the replies.
enum HelperCommand : std::uint32_t {
    SetTitle = 0,
    SetFilter = 1,
    SetFileName = 2,
    SetFolder = 3,
    AllowMultiSelect = 4,
    ShowDialog = 5,
};
constexpr std::uint32_t DialogResultRecord = 1; // the helper's reply

// Sizes on both sides, in bytes with the terminating zero.
constexpr std::size_t HelperReplyMax = 500;
constexpr std::size_t HelperTitleCapacity = 664;
constexpr std::size_t HelperFilterCapacity = 264;
constexpr std::size_t HelperPathCapacity = 260;
constexpr std::size_t HelperFolderCapacity = 264;
constexpr std::size_t ExtensionListMax = 103; // characters
constexpr std::size_t ExtensionItemMax = 11;
constexpr std::size_t FilterMax = 1004;

constexpr int OpenDialog = 0;
constexpr int SaveDialog = 1;

// The dialog's file types for a comma-separated list of extensions: a pair of
// display text and pattern per item, the all-files pair where the list ends
// (and for an empty item), then one more zero byte. Shift-JIS bytes. Nothing
// when the list passes a limit of the request or of the helper's buffer.
std::optional<std::string> buildHelperFilter(std::string_view extensionList);

// Asks the helper for a file: mode OpenDialog or SaveDialog; the replies go
// to the frame window. Returns the number of files chosen (0 when cancelled,
// and when there is no helper: an earlier reply is never taken for a new
// one). Afterwards ChosenNames holds the names and the open or save folder
// the chosen folder, written at once to its settings file.
int AskHelperForFile(EditorState& s, int mode, const std::string& extensionList, const std::string& title,
                     const std::string& initialFolder, const std::string& initialName, int multiSelect);

// The reply in HelperReply as the request reads it (also its folder update).
int parseHelperReply(EditorState& s, int mode);

// A first name of fewer than 4 characters means the user chose nothing.
bool chosenNameUsable(const EditorState& s);
// The full path the helper returned (HelperReply's first text) as UTF-8.
std::string helperReplyPath(const EditorState& s);

// The frame's copy-data message from the helper: a record numbered 1 is the
// reply (at most 500 bytes are kept); other records are ignored.
void onHelperCopyData(EditorState& s, std::uintptr_t number, const void* data, std::size_t size);

// The BMP file every image conversion writes, in the folder both programs share.
extern const char* const ConvertedImageName; // "Pictraが変換保存.bmp"
// Shown when a request could not reach the helper.
extern const char* const HelperGoneCaption;
extern const char* const HelperGoneText;

// Asks the helper to turn an image (UTF-8 path) into ConvertedImageName. The
// helper has written the file (or, when it could not read the image, left
// the file as it was) when this returns. False when there is no helper.
bool requestImageConversion(EditorState& s, const std::string& imagePath);

} // namespace wavora
