#include "app/StartupRecovery.h"

#include "core/Platform.h"
#include "core/SlotTable.h"
#include "undo/LeftWork.h"
#include "undo/RecoveryKeeper.h"
#include "undo/UndoFiles.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"
#include "view/SoundWindows.h"

#include <algorithm>
#include <array>
#include <system_error>

namespace wavora {

const char* const RecoveryCaption = "(o・ェ・)/前回の作業が残っています";
const char* const RecoveryQuestion = "前回、Wavoraは正しく終了しませんでした。\r\n作業中だった音を元に戻しますか？\r\n"
                                     "（いいえを選ぶと、残っていた作業の記録は消えます。）";
const char* const RecoveryReportCaption = "<(_ _)>元どおりにできなかった音があります";

namespace {

void emptyUndoFolder(EditorState& s) {
    clearUndoFolder(s);
    std::error_code ignored;
    std::filesystem::create_directories(s.path(UndoFolderName), ignored);
}

// Samples, graphs, format, selection, marker and layers of the step, the
// history around it, the title and the layers' transparency. False when the
// step is not where the history now puts it (a folder that refused the
// renumbering), so no other step is taken for it.
bool bringBack(EditorState& s, const LeftSound& l, std::uint8_t layerFiles) {
    const RecoveryRecord r = settleLeftSound(s, l, layerFiles);
    if (storedStepTag(s, l.slot, r.undoPos) != r.stepTags[r.undoPos]) return false;
    const int slot = createSoundWindowIn(s, l.slot, r.title, DefaultClientWidth, DefaultClientHeight);
    if (slot < 0) return false;
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    s.platform.setWindowTitle(d.WindowHandle, r.title); // as it was, also an empty one
    allocateNewSound(s);
    d.UnDoFlag = r.undoCodes;
    d.Yarinaoshi = r.redoCodes;
    d.UndoPos = r.undoPos;
    d.UndoLayerFiles = layerFiles;
    d.HasGenOn = r.hasGenOn;
    d.StepTags = r.stepTags;
    d.HistorySerial = r.serial;
    fitViewToLength(s, slot);
    // The tool stays the one the tool window shows.
    const std::uint8_t tool = s.CurrentTool;
    const bool restored = restoreStep(s, r.undoPos);
    s.CurrentTool = tool;
    std::fill(d.Samples.begin() + std::clamp(d.DataLen, 0, DATALENMAX), d.Samples.end(), d.silenceValue());
    for (int p = 1; p <= std::clamp(d.LayerCount, 0, MaxLayerId); ++p) {
        const int id = d.LayerIds[static_cast<std::size_t>(p)];
        if (id >= 1 && id <= MaxLayerId) s.layers.LyAdditive[static_cast<std::size_t>(id)] = (r.additive >> id) & 1;
    }
    UpdateHorizontalBar(s, slot);
    UpdateVerticalBar(s, slot);
    writeRecoveryRecord(s, slot);
    repaintSlot(s, slot);
    return restored;
}

std::string nameOf(const LeftSound& l) {
    if (!l.record) return "（記録がこわれていて名前の分からない音）";
    return l.record->title.empty() ? "（名前のない音）" : l.record->title;
}

std::string whatBecameOf(const LeftSound& l, bool back) {
    if (!back) return "戻せませんでした（使える記録が残っていません）";
    if (l.step != l.record->undoPos) return "こわれていない、いちばん新しい状態で戻しました";
    return "戻しましたが、取消し・やり直しのできる回数が減りました";
}

} // namespace

void offerRecovery(EditorState& s) {
    if (!leftSoundsInFolder(s)) return;
    s.frame.RecoveryRunning = 1;
    const MessageBoxSpec ask{RecoveryQuestion, RecoveryCaption, MsgButtons::YesNo, MsgIcon::Question};
    if (s.platform.messageBox(ask) != MsgAnswer::Yes) {
        emptyUndoFolder(s);
        s.frame.RecoveryRunning = 0;
        return;
    }
    const std::vector<LeftSound> left = surveyLeftWork(s);
    // Two records claim the same layer's files only when the program died
    // between writing them; the sound that changed last wrote them last.
    std::array<int, LayerTableSize> layerOwner{};
    layerOwner.fill(-1);
    for (const LeftSound& l : left)
        for (int id = 0; id < LayerTableSize - 1; ++id)
            if (l.record && (l.record->layerFiles & (1u << id))) layerOwner[static_cast<std::size_t>(id)] = l.slot;
    std::string report;
    int last = -1;
    for (const LeftSound& l : left) {
        unsigned owned = 0;
        for (int id = 0; id < LayerTableSize - 1; ++id)
            if (layerOwner[static_cast<std::size_t>(id)] == l.slot) owned |= 1u << id;
        const bool back = l.comesBack() && bringBack(s, l, static_cast<std::uint8_t>(owned));
        if (back) last = l.slot;
        else removeLeftSound(s, l.slot);
        if (!back || !l.complete()) report += "・" + nameOf(l) + "　…　" + whatBecameOf(l, back) + "\r\n";
    }
    if (last >= 0) {
        s.ActWndNum = last;
        refreshUndoMenu(s);
    }
    if (!report.empty()) {
        report.erase(report.size() - 2); // the last line's break
        s.platform.messageBox({"次の音は、作業の記録がこわれていたので、すっかり元どおりにはできませんでした。\r\n\r\n" + report,
                               RecoveryReportCaption, MsgButtons::Ok, MsgIcon::Exclamation});
    }
    s.frame.RecoveryRunning = 0;
}

} // namespace wavora
