#include "edit/MixStereo.h"

#include "core/Platform.h"
#include "core/SlotTable.h"
#include "edit/EditSupport.h"
#include "edit/SampleMath.h"
#include "text/NumberText.h"
#include "ui/GeneralDialog.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"
#include "view/SoundWindows.h"

#include <algorithm>
#include <cstring>

namespace wavora {

namespace {

const char* const WrongRate = "(;ﾟДﾟ)!";
const std::string WindowLimitCaption = "(o・ェ・)/音声データウィンドウは" + intText(SlotCount) + "個までです。";

SoundDoc& doc(EditorState& s, int slot) {
    return s.docs[static_cast<std::size_t>(slot)];
}

// One row of `kind` per window, labelled with its title, none chosen.
// Returns the dialog's result.
int askWindows(EditorState& s, const std::vector<int>& slots, const std::string& caption, std::uint8_t kind,
               std::uint8_t requiredChecks) {
    beginDialog(s.dialog, caption, static_cast<int>(slots.size()));
    s.dialog.RequiredChecks = requiredChecks;
    for (int slot : slots)
        addDialogRow(s.dialog, kind, choiceLabel(s, slot), "0", 0, 0);
    const int result = s.platform.runModalWindow(s, "HanyouDialog");
    s.dialog.DialogOpen = 0;
    return result;
}

// The windows whose rows are on, in row order.
std::vector<int> chosenWindows(const EditorState& s, const std::vector<int>& slots) {
    std::vector<int> chosen;
    for (std::size_t i = 0; i < slots.size(); ++i)
        if (s.dialog.DialogRows[i + 1].Value == "1") chosen.push_back(slots[i]);
    return chosen;
}

// The one window chosen with radio rows; -1 on Cancel or when none is chosen.
int askOneWindow(EditorState& s, const std::vector<int>& slots, const std::string& caption,
                 std::uint8_t requiredChecks) {
    if (askWindows(s, slots, caption, RowRadio, requiredChecks) == DialogResultCancel) return -1;
    const std::vector<int> chosen = chosenWindows(s, slots);
    return chosen.empty() ? -1 : chosen.front();
}

// False, after its message, when the two sounds differ in rate or depth.
bool sameFormat(EditorState& s, const SoundDoc& a, const SoundDoc& b, const char* rateText, const char* bitsText) {
    if (a.SRATE != b.SRATE) {
        refuse(s, WrongRate, rateText);
        return false;
    }
    if (a.BitsParSample != b.BitsParSample) {
        refuse(s, WrongRate, bitsText);
        return false;
    }
    return true;
}

// A new window with a fresh sound of `length` bytes; -1 when none could be made.
int newSoundWindow(EditorState& s, const std::string& title, int rate, std::uint8_t bits, std::uint16_t channels) {
    const int slot = createSoundWindow(s, title, DefaultClientWidth, DefaultClientHeight);
    if (slot < 0) return -1;
    SoundDoc& d = doc(s, slot);
    d.SRATE = rate;
    d.BitsParSample = bits;
    d.DataLen = 0;
    allocateNewSound(s);
    d.Channels = channels;
    return slot;
}

// The new window shows its whole sound, and its first state is recorded.
void finishNewSound(EditorState& s, int slot, int undoCode) {
    s.ActWndNum = slot;
    fitViewToLength(s, slot);
    snapshot(s, undoCode);
    redrawSlot(s, slot);
}

std::uint8_t byteOr(const SoundDoc& d, std::int64_t at) {
    return at < d.DataLen ? d.Samples[static_cast<std::size_t>(at)] : d.silenceValue();
}

// Left and right interleaved into WorkBuffer1: byte by byte for 8-bit
// sounds, word by word for 16-bit ones. A source shorter than the other
// gives silence after its end.
void interleave(EditorState& s, const SoundDoc& left, const SoundDoc& right, std::int64_t n) {
    Bytes& out = s.WorkBuffer1;
    if (left.BitsParSample == 16) {
        for (std::int64_t i = 0; i < n; i += 2) {
            const auto o = static_cast<std::size_t>(2 * i);
            out[o] = byteOr(left, i);
            out[o + 1] = byteOr(left, i + 1);
            out[o + 2] = byteOr(right, i);
            out[o + 3] = byteOr(right, i + 1);
        }
        return;
    }
    for (std::int64_t i = 0; i < n; ++i) {
        out[static_cast<std::size_t>(2 * i)] = byteOr(left, i);
        out[static_cast<std::size_t>(2 * i + 1)] = byteOr(right, i);
    }
}

} // namespace

void mixCommand(EditorState& s) {
    BusyGuard busy(s);
    if (!busy.acquired()) return;
    const std::vector<int> slots = windowSlots(s);
    if (slots.size() < 2) {
        refuse(s, "(o・ェ・)/", "合成するデータのウィンドウを二つ用意してください。");
        return;
    }
    std::vector<int> pair = slots;
    if (slots.size() > 2) {
        if (askWindows(s, slots, "合成するウィンドウを２つ指定してください。", RowCheck, 2) == DialogResultCancel)
            return;
        pair = chosenWindows(s, slots);
        if (pair.size() != 2) return; // the close box ticks nothing
    }
    const int a = pair[0], b = pair[1];
    if (!sameFormat(s, doc(s, a), doc(s, b), "サンプリングレートが違うので合成できません。",
                    "ビット数が違うので合成できません。"))
        return;
    const int c = askOneWindow(s, slots, "合成波を表示するウィンドウを指定してください。", 0);
    if (c < 0) return;
    if (!sameFormat(s, doc(s, a), doc(s, c), "合成先のサンプリングレートが違うので合成データが壊れます。",
                    "ビット数が違うので合成データが壊れます。"))
        return;
    s.ActWndNum = c;
    const std::int32_t n = std::clamp(std::min(doc(s, a).DataLen, doc(s, b).DataLen), 0, DATALENMAX);
    MixInto(s, doc(s, a).Samples, doc(s, b).Samples, n, c);
    snapshot(s, 13);
    redrawSlot(s, c);
}

void stereoMixCommand(EditorState& s) {
    BusyGuard busy(s);
    if (!busy.acquired()) return;
    const std::vector<int> slots = windowSlots(s);
    if (static_cast<int>(slots.size()) >= SlotCount) {
        refuse(s, WindowLimitCaption,
               "合成したデータを入れる場所を作れません。消しても良い音声データウィンドウをひとつ減らしてください。");
        return;
    }
    if (slots.size() < 2) {
        refuse(s, "(o・ェ・)/", "ステレオ合成するデータのウィンドウを二つ用意してください。");
        return;
    }
    const int left = askOneWindow(s, slots, "左チャンネルの音を指定してください。", 1);
    if (left < 0) return;
    const int right = askOneWindow(s, slots, "右チャンネルの音を指定してください。", 1);
    if (right < 0) return;
    if (left == right && s.platform.messageBox({"左と右の音が同じです。このままでいいですか？", "(o・ェ・)",
                                                MsgButtons::YesNo}) == MsgAnswer::No)
        return;
    const SoundDoc& l = doc(s, left);
    const SoundDoc& r = doc(s, right);
    if (!sameFormat(s, l, r, "サンプリングレートが違うのでステレオ合成できません。",
                    "ビット数が違うのでステレオ合成できません。"))
        return;
    // Refused before the new window is made, so that nothing is left behind.
    const std::int64_t n = std::max(l.DataLen, r.DataLen);
    if (2 * n > DATALENMAX) {
        refuse(s, "<(_ _)>長すぎてステレオ合成できません。", "合成する元の長さの限界は25秒です。モノラルの半分です。");
        return;
    }
    const std::string title = "ステレオ合成 左" + s.platform.windowTitle(l.WindowHandle) + " 右 " +
                              s.platform.windowTitle(r.WindowHandle);
    interleave(s, l, r, n);
    const int slot = newSoundWindow(s, title, l.SRATE, l.BitsParSample, 2);
    if (slot < 0) return;
    SoundDoc& out = doc(s, slot);
    out.DataLen = static_cast<std::int32_t>(2 * n);
    std::memcpy(out.Samples.data(), s.WorkBuffer1.data(), static_cast<std::size_t>(out.DataLen));
    finishNewSound(s, slot, 34);
}

void stereoSplitCommand(EditorState& s) {
    BusyGuard busy(s);
    if (!busy.acquired() || !haveSoundWindow(s)) return;
    if (s.WindowCount + 2 >= SlotCount + 1) {
        refuse(s, WindowLimitCaption,
               "モノ分割したデータを入れる場所を2つ作れません。消しても良い音声データウィンドウを" +
                   intText(s.WindowCount - 3) + "個減らしてください。");
        return;
    }
    const int source = s.activeSlot();
    const SoundDoc& src = doc(s, source);
    if (src.Channels != 2) return;
    const bool wide = src.BitsParSample == 16;
    const std::int32_t len = std::clamp(src.DataLen, 0, DATALENMAX);
    // A 16-bit frame is a left word and a right word; a part-frame at the end
    // is dropped, as an odd byte of an 8-bit sound is.
    const std::int32_t half = wide ? len / 4 * 2 : len / 2;
    const std::string title = s.platform.windowTitle(src.WindowHandle);
    const int rate = src.SRATE;
    const std::uint8_t bits = src.BitsParSample;

    int made[2] = {-1, -1};
    const char* const suffix[2] = {" 左チャンネル", " 右チャンネル"};
    for (int side = 0; side < 2; ++side) {
        made[side] = newSoundWindow(s, title + suffix[side], rate, bits, 1);
        if (made[side] < 0) return;
        SoundDoc& out = doc(s, made[side]);
        const SoundDoc& from = doc(s, source);
        out.DataLen = half;
        const std::int32_t unit = wide ? 2 : 1;
        for (std::int32_t i = 0; i < half; i += unit)
            std::memcpy(out.Samples.data() + i, from.Samples.data() + 2 * i + side * unit,
                        static_cast<std::size_t>(unit));
        // Each new window gets its first state; the right one is active last.
        finishNewSound(s, made[side], 0);
    }
    repaintSlot(s, source);
}

} // namespace wavora
