#include "wavfile/WavCommands.h"

#include "audio/Render.h"
#include "converter/HelperClient.h"
#include "core/Platform.h"
#include "core/SlotTable.h"
#include "text/NumberText.h"
#include "text/Paths.h"
#include "ui/FaceMessages.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"
#include "view/SoundWindows.h"
#include "wavfile/WavConvert.h"
#include "wavfile/WavFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace wavora {

namespace {

// The file's size as the sound's first length: -1 when it cannot be found.
std::int32_t fileSizeOf(const std::filesystem::path& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return -1;
    return static_cast<std::int32_t>(std::min<std::uintmax_t>(size, INT32_MAX));
}

void fillFrom(std::vector<std::uint8_t>& buffer, std::int32_t from, std::uint8_t value) {
    std::fill(buffer.begin() + std::clamp<std::int32_t>(from, 0, static_cast<std::int32_t>(buffer.size())),
              buffer.end(), value);
}

void showPlain(EditorState& s, const std::string& text, const std::string& caption) {
    s.platform.messageBox({text, caption});
}

std::string saveEndText(std::int32_t dataLen) {
    std::string text = intText(dataLen);
    for (int i = 0; i < 9; ++i) text += "\r\n0";
    return text;
}

// The sound as it goes into the file: its own bytes, or with layers the mix
// of the background and its layers (no graph applied).
WriteFailure writeSound(EditorState& s, int slot, const std::filesystem::path& path) {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    if (d.LayerCount == 0) return writeWav(s, slot, path, d.Samples.data(), d.DataLen, d.Channels);
    s.ActWndNum = slot;
    RenderLayers(s);
    return writeWav(s, slot, path, s.RenderBuffer.data(), s.render.OutputLength, d.Channels);
}

void reportSaveFailure(EditorState& s, const std::string& path, const WriteFailure& failure) {
    s.frame.SaveFailed = 1;
    s.platform.messageBox({"次のファイルに保存できませんでした。\r\n" + path + "\r\n\r\n" + failure.reason +
                               "\r\n\r\n前からあったファイルは書き換えていません。音声データはウィンドウに残っています。",
                           "(;ﾟ0ﾟ) 保存できません", MsgButtons::Ok, MsgIcon::Exclamation});
}

const char* const ConvertOfferCaption = "(o・ェ・)";
const char* const ConvertOfferText = "このファイルは「変換して読み込み」で開けます。\r\n変換して開きますか？";

// A read sound is shown whole, at scale 1, and is the first step of its
// window's history.
void showReadSound(EditorState& s, int slot) {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    d.view.XScale = 1.0f;
    d.view.YScale = 1.0f;
    fitViewToLength(s, slot);
    s.ActWndNum = slot;
    snapshot(s, 0);
}

// The converted sound into the slot's open window; a cut file says so once.
void putConvertedSound(EditorState& s, int slot, const ConvertedWav& w) {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    s.ActWndNum = slot;
    d.Channels = w.Channels;
    d.SRATE = w.SRATE;
    d.BitsParSample = w.BitsParSample;
    allocateNewSound(s); // silence of the new depth behind the data
    std::copy(w.Samples.begin(), w.Samples.end(), d.Samples.begin());
    d.DataLen = static_cast<std::int32_t>(w.Samples.size());
    showReadSound(s, slot);
    repaintSlot(s, slot);
    if (w.cut()) s.platform.messageBox({lengthCutText(w), LengthCutCaption});
}

// Converts a file into a new window titled `title`. A refused file leaves no
// window behind. False when no window could be made.
bool openConverted(EditorState& s, const std::filesystem::path& path, const std::string& title) {
    const ConvertedWav w = convertWavFile(path);
    if (!w.ok()) {
        s.platform.messageBox({w.refusal, ConvertRefusedCaption});
        return true;
    }
    const int slot = createSoundWindow(s, title, DefaultClientWidth, DefaultClientHeight);
    if (slot < 0) return false;
    putConvertedSound(s, slot, w);
    return true;
}

// After Open's own refusal: a file the converter can read is offered to it,
// into the window Open left.
void offerConversion(EditorState& s, int slot, const std::filesystem::path& path) {
    const ConvertedWav w = convertWavFile(path);
    if (!w.ok()) return;
    if (s.platform.messageBox({ConvertOfferText, ConvertOfferCaption, MsgButtons::YesNo}) != MsgAnswer::Yes) return;
    putConvertedSound(s, slot, w);
}

} // namespace

void openWavCommand(EditorState& s) {
    if (s.BusyFlag) return;
    // Nothing chosen (or no helper) means no name, whatever an earlier request
    // left in the first name buffer.
    if (AskHelperForFile(s, OpenDialog, "wav", "一度に読み込めるのは１つだけです", s.frame.FileOpenPath, ".wav", 0) < 1 ||
        !chosenNameUsable(s))
        return;
    const std::filesystem::path path = pathFromUtf8(helperReplyPath(s));
    const int slot = createSoundWindow(s, s.frame.ChosenNames[0], DefaultClientWidth, DefaultClientHeight);
    if (slot < 0) return;
    s.BusyFlag = 1;
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    d.DataLen = fileSizeOf(path);
    allocateNewSound(s);
    if (readWav(s, slot, path, d.Samples, d.DataLen) == 0) {
        // The rest of the buffer is silence at the depth the file brought.
        fillFrom(d.Samples, d.DataLen, d.silenceValue());
        showReadSound(s, slot);
    } else {
        // The window stays, silent, with the file's size as its length as far
        // as a sound can hold it.
        fillFrom(d.Samples, 0, d.silenceValue());
        d.DataLen = std::clamp<std::int32_t>(d.DataLen, 0, DATALENMAX);
        fitViewToLength(s, slot);
        repaintSlot(s, slot);
        offerConversion(s, slot, path);
    }
    s.BusyFlag = 0;
    repaintSlot(s, slot);
}

void convertAndOpenCommand(EditorState& s) {
    if (s.BusyFlag) return;
    if (AskHelperForFile(s, OpenDialog, "wav", "変換して読み込むwavファイルを選んでください", s.frame.FileOpenPath, ".wav",
                         0) < 1 ||
        !chosenNameUsable(s))
        return;
    s.BusyFlag = 1;
    openConverted(s, pathFromUtf8(helperReplyPath(s)), s.frame.ChosenNames[0]);
    s.BusyFlag = 0;
}

void openDroppedFiles(EditorState& s, const std::vector<std::string>& paths, bool dialogOpen) {
    if (s.BusyFlag || s.frame.DialogBusy || dialogOpen) return;
    s.BusyFlag = 1;
    for (const std::string& utf8 : paths) {
        if (!roomForSoundWindow(s)) break; // said once; the rest stay where they are
        const std::filesystem::path path = pathFromUtf8(utf8);
        if (!openConverted(s, path, utf8FromPath(path.filename()))) break;
    }
    s.BusyFlag = 0;
}

void saveWavCommand(EditorState& s) {
    if (s.WindowCount == 0) {
        showFaceMessage(s, "");
        return;
    }
    // Message boxes and the dialog let the frame see other windows become
    // active; the sound being saved is the one active now.
    const int slot = s.activeSlot();
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    s.frame.SaveFailed = 0;
    s.frame.DialogBusy = 1;
    const std::string name = (d.WindowHandle ? s.platform.windowTitle(d.WindowHandle) : std::string()) + ".wav";
    if (AskHelperForFile(s, SaveDialog, "wav", "保存先(フォルダ)と名前を決めてください", s.frame.FileHozonPath, name, 0) >= 1 &&
        chosenNameUsable(s)) {
        const std::string returned = helperReplyPath(s);
        showPlain(s, s.frame.FileHozonPath, "FileHozonFolderPath  ");
        showPlain(s, s.frame.FileHozonPath + s.frame.ChosenNames[0], "SaveFilePath  ");
        showPlain(s, returned, "FileNameByPictraRetPath  ");
        if (WriteFailure failure = writeSound(s, slot, pathFromUtf8(returned))) reportSaveFailure(s, returned, failure);
    }
    s.frame.DialogBusy = 0;
    s.BusyFlag = 0;
    s.ActWndNum = slot;
    showPlain(s, saveEndText(d.DataLen), "WAVE保存 END");
}

} // namespace wavora
