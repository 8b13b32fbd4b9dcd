#include "converter/HelperClient.h"

#include "core/FolderSettings.h"
#include "core/Platform.h"
#include "text/ShiftJis.h"

#include <algorithm>
#include <vector>

namespace wavora {

const char* const ConvertedImageName = "Pictraが変換保存.bmp";
const char* const HelperGoneCaption = "(;ﾟ0ﾟ) Pictraが応答しません";
const char* const HelperGoneText =
    "ファイルを選ぶ補助プログラム「Wavora部品\\Pictra.exe」が動いていないか、応答しません。\r\n"
    "ファイル操作はキャンセル扱いになりました。音はそのままです。\r\n"
    "Wavoraを起動しなおすと、また使えるようになります。";

namespace {

std::size_t charCount(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::vector<std::string_view> splitAtCommas(std::string_view list) {
    std::vector<std::string_view> items;
    for (;;) {
        const std::size_t comma = list.find(',');
        items.push_back(list.substr(0, comma));
        if (comma == std::string_view::npos) return items;
        list.remove_prefix(comma + 1);
    }
}

bool isShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// At most `max` bytes of a Shift-JIS text, never half a double-byte character.
std::string cutShiftJis(std::string text, std::size_t max) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t width = isShiftJisLead(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + width > max) break;
        i += width;
    }
    text.resize(std::min(i, text.size()));
    return text;
}

// A text record: the text and two zero bytes (cbData = length + 2).
std::string textBlock(const std::string& sjis) { return sjis + std::string(2, '\0'); }

// A text the helper must hold whole (a folder or a file name) is sent only
// when it fits the helper's buffer; a cut path would name another place, so
// a text too long is sent empty and the dialog starts with nothing there.
std::string wholeOrEmpty(const std::string& utf8, std::size_t capacity) {
    std::string sjis = utf8ToShiftJis(utf8);
    return sjis.size() < capacity ? sjis : std::string();
}

bool sendRequest(EditorState& s, int mode, const std::string& filter, const std::string& title,
                 const std::string& initialFolder, const std::string& initialName, int multiSelect) {
    Platform& p = s.platform;
    std::string folder = initialFolder;
    // Checked on the text, not its Shift-JIS bytes, where a backslash byte may
    // be the second half of a character such as "ソ".
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    const WindowId frame = p.frameWindow();
    std::string frameBytes(4, '\0');
    for (int i = 0; i < 4; ++i) frameBytes[static_cast<std::size_t>(i)] = static_cast<char>((frame >> (8 * i)) & 0xFF);

    return p.sendToHelper(SetFilter, filter) &&
           p.sendToHelper(SetFileName, textBlock(wholeOrEmpty(initialName, HelperPathCapacity))) &&
           p.sendToHelper(SetFolder, textBlock(wholeOrEmpty(folder, HelperFolderCapacity))) &&
           p.sendToHelper(SetTitle, textBlock(cutShiftJis(utf8ToShiftJis(title), HelperTitleCapacity - 1))) &&
           p.sendToHelper(frame, frameBytes) && (multiSelect != 1 || p.sendToHelper(AllowMultiSelect, "1")) &&
           p.sendToHelper(ShowDialog, textBlock(mode == OpenDialog ? "0" : "1"));
}

void rememberFolder(EditorState& s, int mode, const std::string& folder) {
    if (mode == OpenDialog) {
        s.frame.FileOpenPath = folder;
        saveOpenFolder(s);
    } else {
        s.frame.FileHozonPath = folder;
        saveSaveFolder(s);
    }
}

std::string nameFromReply(std::string_view sjis) {
    return shiftJisToUtf8(cutShiftJis(std::string(sjis), static_cast<std::size_t>(ChosenNameSize) - 1));
}

} // namespace

std::optional<std::string> buildHelperFilter(std::string_view extensionList) {
    if (charCount(extensionList) > ExtensionListMax) return std::nullopt;
    const std::string allFiles = utf8ToShiftJis("すべてのファイル(*)") + '\0' + "*" + '\0';
    std::string filter;
    for (std::string_view item : splitAtCommas(extensionList)) {
        if (charCount(item) > ExtensionItemMax) return std::nullopt;
        if (item.empty()) {
            filter += allFiles;
            continue;
        }
        const std::string ext = utf8ToShiftJis(item);
        filter += ext + "(*." + ext + ")" + '\0' + "*." + ext + '\0';
    }
    filter += allFiles; // the index just past the last item
    filter += '\0';
    if (filter.size() > FilterMax || filter.size() > HelperFilterCapacity) return std::nullopt;
    return filter;
}

int AskHelperForFile(EditorState& s, int mode, const std::string& extensionList, const std::string& title,
                     const std::string& initialFolder, const std::string& initialName, int multiSelect) {
    // Whatever happens below, a reply left from an earlier request must not be
    // read as this one's.
    s.frame.HelperReply.clear();
    const std::optional<std::string> filter = buildHelperFilter(extensionList);
    if (!filter) return 0;
    // While the dialog is open the frame keeps the slot the command works on.
    const std::uint8_t busy = s.frame.DialogBusy;
    s.frame.DialogBusy = 1;
    const bool sent = sendRequest(s, mode, *filter, title, initialFolder, initialName, multiSelect);
    s.frame.DialogBusy = busy;
    if (!sent) {
        // The helper is gone (ended by someone, crashed, or never started):
        // without a word the command would look as if it had been cancelled.
        s.platform.messageBox({HelperGoneText, HelperGoneCaption, MsgButtons::Ok, MsgIcon::Exclamation});
        s.frame.HelperReply.clear();
        return 0;
    }
    return parseHelperReply(s, mode);
}

int parseHelperReply(EditorState& s, int mode) {
    const std::string& r = s.frame.HelperReply;
    if (r.empty() || r[0] == '\0') return 0;
    const std::size_t end = r.find('\0');
    if (end == std::string::npos) return 0; // the helper always ends its text; this is no reply of its
    std::string folder;
    int count = 0;
    if (end + 1 >= r.size() || r[end + 1] == '\0') {
        const std::string path = shiftJisToUtf8(std::string_view(r).substr(0, end));
        // Windows takes '/' as a folder separator too.
        const std::size_t cut = path.find_last_of("\\/");
        folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
        s.frame.ChosenNames[0] = nameFromReply(utf8ToShiftJis(path.substr(cut == std::string::npos ? 0 : cut + 1)));
        count = 1;
    } else {
        folder = shiftJisToUtf8(std::string_view(r).substr(0, end));
        std::size_t at = end + 1;
        while (at < r.size() && r[at] != '\0' && count < ChosenNameCount) {
            std::size_t next = r.find('\0', at);
            if (next == std::string::npos) next = r.size();
            s.frame.ChosenNames[static_cast<std::size_t>(count++)] = nameFromReply(std::string_view(r).substr(at, next - at));
            at = next + 1;
        }
    }
    // A bare name without any folder keeps the folder remembered before.
    if (!folder.empty()) rememberFolder(s, mode, folder);
    return count;
}

bool chosenNameUsable(const EditorState& s) { return charCount(s.frame.ChosenNames[0]) >= 4; }

std::string helperReplyPath(const EditorState& s) {
    const std::string& r = s.frame.HelperReply;
    return shiftJisToUtf8(std::string_view(r).substr(0, r.find('\0')));
}

void onHelperCopyData(EditorState& s, std::uintptr_t number, const void* data, std::size_t size) {
    if (number != DialogResultRecord) return;
    if (data == nullptr || size == 0) {
        s.frame.HelperReply.clear();
        return;
    }
    s.frame.HelperReply.assign(static_cast<const char*>(data), std::min(size, HelperReplyMax));
}

bool requestImageConversion(EditorState& s, const std::string& imagePath) {
    std::string block = utf8ToShiftJis(ConvertedImageName);
    block.resize(HelperPathCapacity, '\0');
    return s.platform.sendToHelper(s.platform.frameWindow(), block) && s.platform.sendImageToHelper(imagePath);
}

} // namespace wavora
