#include "pattern/PatternFiles.h"

#include "converter/HelperClient.h"
#include "core/DialogRequest.h"
#include "core/Platform.h"
#include "text/Paths.h"
#include "ui/FaceMessages.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"
#include "wavfile/WavFile.h"

#include <algorithm>
#include <fstream>
#include <span>

namespace wavora {

namespace {

constexpr int UndoPatternRead = 36; // "波形パターン読み込み"
const char* const PatternExtension = "wpat";
const char* const ReadTitle = "波形パターンを読み込む";
const char* const NoPlaceText = "新規作成などで読み込み先を作ってください。";

// The bytes of a slot a command works on: its selection, or the whole sound.
struct ByteRange {
    std::int64_t start = 0;
    std::int64_t length = 0;
};

ByteRange rangeOf(const SoundDoc& d, std::size_t bufferSize) {
    ByteRange r{0, d.DataLen};
    if (d.HasSelection) r = {d.SelStart, d.SelLength};
    const auto size = static_cast<std::int64_t>(bufferSize);
    r.start = std::clamp<std::int64_t>(r.start, 0, size);
    r.length = std::clamp<std::int64_t>(r.length, 0, size - r.start);
    return r;
}

// The chosen radio row of a general-dialog question, counted from 1.
int chosenRow(const DialogRequest& d) {
    for (int i = 1; i <= d.DialogRowCount; ++i)
        if (d.DialogRows[static_cast<std::size_t>(i)].Value == "1") return i;
    return 1;
}

// Asks one radio question; 0 when cancelled.
int askChoice(EditorState& s, const std::string& caption, std::initializer_list<const char*> choices,
              int preset) {
    beginDialog(s.dialog, caption, static_cast<int>(choices.size()));
    int row = 1;
    for (const char* c : choices)
        addDialogRow(s.dialog, RowRadio, c, row++ == preset ? "1" : "0", 0, 0);
    const int result = s.platform.runModalWindow(s, "HanyouDialog");
    s.dialog.DialogOpen = 0;
    return result == -1 ? 0 : chosenRow(s.dialog);
}

// The path of the file the user picked in the helper's dialog, or nothing.
std::optional<std::string> askFile(EditorState& s, int mode, const std::string& title) {
    const std::string& folder = mode == OpenDialog ? s.frame.FileOpenPath : s.frame.FileHozonPath;
    if (AskHelperForFile(s, mode, PatternExtension, title, folder, "", 0) < 1 || !chosenNameUsable(s))
        return std::nullopt;
    return helperReplyPath(s);
}

void reportUnreadable(EditorState& s, const std::string& path) {
    s.platform.messageBox({"次のファイルを読み込めませんでした。\r\n" + path + "\r\n\r\n何も変えていません。",
                           "(;ﾟ0ﾟ) 読み込めません", MsgButtons::Ok, MsgIcon::Exclamation});
}

std::vector<std::uint8_t>& placeBuffer(EditorState& s, int place) {
    SoundDoc& d = s.active();
    switch (place) {
    case 3:
        return d.VolumeGraph;
    case 4:
        return d.PitchGraph;
    default:
        return d.Samples;
    }
}

} // namespace

std::optional<std::vector<std::uint8_t>> readFileStart(const std::filesystem::path& path, std::size_t most) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes(most);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(most));
    if (in.bad()) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

void SavePatternFile(EditorState& s) {
    if (s.WindowCount == 0) {
        showFaceMessage(s, "");
        return;
    }
    const int slot = s.activeSlot();
    bool pattern = false;
    if (s.pattern.PatternLen != 0) {
        const int choice =
            askChoice(s, "保存するデータを選んでください。",
                      {"波形パターンウィンドウのデータ", "音声データウィンドウの波形グラフ"}, 1);
        if (choice == 0) return;
        pattern = choice == 1;
    }
    s.frame.DialogBusy = 1;
    const std::optional<std::string> path = askFile(s, SaveDialog, "保存先(フォルダ)と名前を決めてください");
    s.frame.DialogBusy = 0;
    s.ActWndNum = slot;
    if (!path) return;

    std::span<const std::uint8_t> bytes;
    if (pattern) {
        const auto n = static_cast<std::size_t>(std::clamp(s.pattern.PatternLen, 0, DATALENMAX));
        bytes = std::span<const std::uint8_t>(s.pattern.PatternBuf.data(), n);
    } else {
        const SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
        const ByteRange r = rangeOf(d, d.Samples.size());
        bytes = std::span<const std::uint8_t>(d.Samples.data() + r.start, static_cast<std::size_t>(r.length));
    }
    if (WriteFailure failure = replaceFileSafely(pathFromUtf8(*path), bytes))
        s.platform.messageBox({"次のファイルに保存できませんでした。\r\n" + *path + "\r\n\r\n" +
                                   failure.reason + "\r\n\r\n前からあったファイルは書き換えていません。",
                               "(;ﾟ0ﾟ) 保存できません", MsgButtons::Ok, MsgIcon::Exclamation});
}

void LoadPatternInto(EditorState& s) {
    if (s.BusyFlag) return;
    if (s.WindowCount == 0) {
        showFaceMessage(s, NoPlaceText);
        return;
    }
    s.BusyFlag = 1;
    const int slot = s.activeSlot();
    // Into the pattern when there is one; else the waveform, as a pattern of
    // no length would take nothing.
    const int place =
        askChoice(s, "データを入れる場所を選んでください。",
                  {"波形パターンウィンドウ", "音声データウィンドウの波形グラフ",
                   "音声データウィンドウの音量変化グラフ", "音声データウィンドウの高さ変化グラフ"},
                  s.pattern.PatternLen != 0 ? 1 : 2);
    s.ActWndNum = slot;
    if (place == 0) {
        s.BusyFlag = 0;
        return;
    }
    std::vector<std::uint8_t>& buffer = place == 1 ? s.pattern.PatternBuf : placeBuffer(s, place);
    ByteRange r{0, std::clamp(s.pattern.PatternLen, 0, DATALENMAX)};
    if (place != 1) r = rangeOf(s.active(), buffer.size());

    s.frame.DialogBusy = 1;
    const std::optional<std::string> path = askFile(s, OpenDialog, ReadTitle);
    s.frame.DialogBusy = 0;
    s.ActWndNum = slot;
    const auto bytes =
        path ? readFileStart(pathFromUtf8(*path), static_cast<std::size_t>(r.length)) : std::nullopt;
    if (path && !bytes) reportUnreadable(s, *path);
    if (!bytes) {
        s.BusyFlag = 0;
        return;
    }
    std::copy(bytes->begin(), bytes->end(), buffer.begin() + r.start);
    s.pattern.PatternLen = static_cast<std::int32_t>(bytes->size());
    snapshot(s, UndoPatternRead);
    repaintSlot(s, slot);
    s.BusyFlag = 0;
}

void OpenPatternInWindow(EditorState& s, PatternWindow& w) {
    if (s.WindowCount == 0) {
        showFaceMessage(s, NoPlaceText);
        return;
    }
    const std::optional<std::string> path = askFile(s, OpenDialog, ReadTitle);
    if (!path) return;
    const auto bytes = readFileStart(pathFromUtf8(*path), static_cast<std::size_t>(DATALENMAX));
    if (!bytes) {
        reportUnreadable(s, *path);
        return;
    }
    std::copy(bytes->begin(), bytes->end(), s.pattern.PatternBuf.begin());
    s.pattern.PatternLen = static_cast<std::int32_t>(bytes->size());
    drawPatternIntoPicture(w, s.pattern);
    repaintPatternWindow(s, w);
}

} // namespace wavora
