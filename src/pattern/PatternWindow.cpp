#include "pattern/PatternWindow.h"

#include "core/DialogRequest.h"
#include "edit/Length.h"
#include "pattern/PatternFiles.h"
#include "pattern/PatternImage.h"
#include "text/NumberText.h"
#include "ui/FaceMessages.h"
#include "ui/GeneralDialog.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"
#include "view/SoundWindowEvents.h"

#include <algorithm>
#include <cmath>

namespace wavora {

namespace {

using Kind = PatternControlKind;

constexpr int UndoPatternInput = 16; // "波形入力"

bool inDrawingArea(int x, int y) {
    return x >= 0 && y >= 0 && x < PatternAreaWidth && y < PatternAreaHeight;
}

std::unique_ptr<Surface> whiteSurface(EditorState& s, int width, int height) {
    std::unique_ptr<Surface> surface = s.platform.createSurface(width, height);
    if (surface) surface->fill(White);
    return surface;
}

// Free-hand strokes are black and thin; the eraser paints white, three wide.
void stroke(PatternWindow& w, int x0, int y0, int x1, int y1) {
    if (w.PatternEraser)
        w.PictureSurface->line(x0, y0, x1, y1, White, 3);
    else
        w.PictureSurface->line(x0, y0, x1, y1, Black, 1);
}

std::vector<std::uint8_t>& targetBuffer(EditorState& s) {
    SoundDoc& d = s.active();
    switch (s.pattern.PatternTarget) {
    case 1:
        return d.VolumeGraph;
    case 2:
        return d.PitchGraph;
    default:
        return d.Samples;
    }
}

// "連続させて波に" and "一発で": the work area traced into the target, the
// window closed, the sound redrawn and the step recorded.
PatternAfter inputPattern(EditorState& s, PatternWindow& w, PatternInput mode) {
    if (s.BusyFlag) return PatternAfter::Stay;
    // Nothing to write into: the window stays, with the drawing in it.
    if (s.WindowCount == 0) {
        showFaceMessage(s, "");
        return PatternAfter::Stay;
    }
    composePatternWork(w);
    ExtractPattern(s, *w.WorkSurface, targetBuffer(s), mode);
    closePatternWindow(s, w);
    const int slot = s.activeSlot();
    SoundDoc& d = s.active();
    RenderGraphs(s, slot, d.Samples.data(), d.VolumeGraph.data(), d.PitchGraph.data(), d.view.FirstByte);
    snapshot(s, UndoPatternInput);
    onSize(s, slot, d.view.ClientWidth, d.view.ClientHeight);
    return PatternAfter::Close;
}

// The frequency for a period of m samples, asked through the general dialog
// as one number; 0 when cancelled.
float WidthHeight2(EditorState& s, std::int32_t rate, std::int32_t period) {
    const auto current = static_cast<std::int32_t>(static_cast<float>(rate) / static_cast<float>(period));
    beginDialog(s.dialog, "波形の周波数を変える", 1);
    addDialogRow(s.dialog, RowNumber, "高さ（周波数Hz）", intText(current), 20000, 1);
    const int result = s.platform.runModalWindow(s, "HanyouDialog");
    s.dialog.DialogOpen = 0;
    if (result == DialogResultCancel) return 0;
    return static_cast<float>(textToNumber(s.dialog.DialogRows[1].Value));
}

} // namespace

void changePatternFrequency(EditorState& s, PatternWindow& w) {
    if (!w.PictureSurface) return;
    // The frequency is counted at the active sound's rate.
    if (s.WindowCount == 0) {
        showFaceMessage(s, "");
        return;
    }
    const std::int32_t rate = s.active().SRATE;
    // Traced like an input, but into nothing: only the pattern itself changes.
    extractPatternValues(*w.PictureSurface, s.pattern);
    const std::int32_t period = s.pattern.PatternLen;
    if (period < 1) {
        s.platform.messageBox({"波形データが無いか、何かがおかしいです。", "<(_ _)>"});
        return;
    }
    const float frequency = WidthHeight2(s, rate, period);
    if (!(frequency > 0.0f)) return;
    const auto wanted = static_cast<std::int32_t>(static_cast<float>(rate) / frequency);
    // A frequency above the rate leaves no sample per period; the stretch
    // would divide by zero. It says "失敗" and the pattern stays.
    const float ratio = wanted > 0 ? static_cast<float>(period) / static_cast<float>(wanted) : 0.0f;
    if (WaveStretchForHakei(s, s.pattern.PatternBuf, 0, period - 1, ratio, s.pattern.PatternLen) != 0) return;
    drawPatternIntoPicture(w, s.pattern);
    repaintPatternWindow(s, w);
}

namespace {

void shiftPicture(EditorState& s, PatternWindow& w, int delta) {
    w.PictureShift += delta;
    w.WorkSurface->fillRect(0, 0, w.PictureSize.width, w.PictureSize.height, White);
    repaintPatternWindow(s, w);
}

void chooseTool(PatternWindow& w, int id) {
    w.tool = id == LineToolId ? PatternTool::Line : PatternTool::FreeHand;
    w.PatternEraser = id == EraserToolId;
}

} // namespace

const std::array<PatternControl, 12>& patternControls() {
    static const std::array<PatternControl, 12> controls{{
        {InputContinuousId, Kind::Button, "連続させて波に", 604, 285, 88, 20},
        {InputOnceId, Kind::Button, "一発で", 495, 285, 88, 20},
        {ShiftUpId, Kind::Button, "↑", 157, 282, 20, 20},
        {ShiftDownId, Kind::Button, "↓", 188, 282, 20, 20},
        {ShiftDownTenId, Kind::Button, "↓↓", 219, 282, 24, 20},
        {ShiftUpTenId, Kind::Button, "↑↑", 122, 282, 24, 20},
        {PatternCancelId, Kind::Button, "きゃんせる", 17, 282, 88, 20},
        {ShiftLabelId, Kind::Label, "ずらしボタン", 148, 261, 69, 15},
        {TargetWaveId, Kind::Radio, "波", 325, 287, 45, 15},
        {TargetVolumeId, Kind::Radio, "音量", 373, 287, 52, 15},
        {TargetPitchId, Kind::Radio, "高さ", 428, 288, 63, 15},
        {TargetLabelId, Kind::Label, "入力先", 265, 288, 39, 12},
    }};
    return controls;
}

bool openPatternWindow(EditorState& s, PatternWindow& w) {
    s.pattern.PatternWindowOpen = 1;
    s.platform.enableToolWindow(false);
    w.PictureSurface = whiteSurface(s, PatternAreaWidth, PatternAreaHeight);
    w.WorkSurface = whiteSurface(s, PatternAreaWidth, PatternAreaHeight);
    w.GuideSurface = whiteSurface(s, PatternAreaWidth, PatternAreaHeight);
    if (!w.PictureSurface || !w.WorkSurface || !w.GuideSurface) return false;
    w.PictureSize = {PatternAreaWidth, PatternAreaHeight};
    w.GuideSurface->line(0, GuideRow, PatternAreaWidth - 1, GuideRow, Red);
    const PatternState& p = s.pattern;
    for (std::int32_t i = 0; i < std::min(p.PatternLen, DATALENMAX); ++i)
        w.PictureSurface->set(i, p.PatternBuf[static_cast<std::size_t>(i)], Black);
    composePatternWork(w);
    return true;
}

void closePatternWindow(EditorState& s, PatternWindow& w) {
    if (s.pattern.PatternWindowOpen) {
        s.pattern.PatternWindowOpen = 0;
        s.platform.enableToolWindow(true);
    }
    w.drawing = false;
    w.lineUndo.reset();
}

void composePatternWork(PatternWindow& w) {
    if (!w.WorkSurface || !w.PictureSurface || !w.GuideSurface) return;
    copyPixels(*w.WorkSurface, 0, w.PictureShift, *w.PictureSurface, 0, 0, w.PictureSize.width,
               w.PictureSize.height);
    andPixels(*w.WorkSurface, 0, 0, *w.GuideSurface, 0, 0, PatternAreaWidth, PatternAreaHeight);
}

void repaintPatternWindow(EditorState& s, PatternWindow& w) {
    composePatternWork(w);
    if (w.window) s.platform.invalidate(w.window);
}

void drawPatternIntoPicture(PatternWindow& w, const PatternState& pattern) {
    if (!w.PictureSurface) return;
    w.PictureSurface->fill(White);
    for (std::int32_t i = 0; i < std::min(pattern.PatternLen, DATALENMAX); ++i)
        w.PictureSurface->set(i, pattern.PatternBuf[static_cast<std::size_t>(i)], Black);
}

bool replacePicture(EditorState& s, PatternWindow& w, const Surface& image) {
    std::unique_ptr<Surface> picture = s.platform.createSurface(image.width(), image.height());
    if (!picture) return false;
    copyPixels(*picture, 0, 0, image, 0, 0, image.width(), image.height());
    w.PictureSurface = std::move(picture);
    w.PictureSize = {image.width(), image.height()};
    w.drawing = false;
    w.lineUndo.reset();
    // What the previous, perhaps larger, picture left outside the new one goes.
    if (w.WorkSurface) w.WorkSurface->fill(White);
    return true;
}

// Drawing happens where the user sees it: the picture is shown shifted, so
// the point is moved back by the shift.
void patternPress(PatternWindow& w, int x, int y) {
    if (!w.PictureSurface || !inDrawingArea(x, y)) return;
    y -= w.PictureShift;
    w.drawing = true;
    w.pressX = w.lastX = x;
    w.pressY = w.lastY = y;
    if (w.tool == PatternTool::Line) {
        w.lineUndo = std::make_unique<Surface>(w.PictureSize.width, w.PictureSize.height);
        copyPixels(*w.lineUndo, 0, 0, *w.PictureSurface, 0, 0, w.PictureSize.width, w.PictureSize.height);
        return;
    }
    stroke(w, x, y, x, y);
}

void patternDrag(PatternWindow& w, int x, int y) {
    if (!w.drawing || !w.PictureSurface) return;
    y -= w.PictureShift;
    if (w.tool == PatternTool::Line) {
        if (w.lineUndo)
            copyPixels(*w.PictureSurface, 0, 0, *w.lineUndo, 0, 0, w.PictureSize.width, w.PictureSize.height);
        w.PictureSurface->line(w.pressX, w.pressY, x, y, Black, 1);
        return;
    }
    if (x == w.pressX && y == w.pressY) return;
    if (x == w.lastX && y == w.lastY)
        stroke(w, x, y, x, y);
    else
        stroke(w, w.lastX, w.lastY, x, y);
    w.lastX = x;
    w.lastY = y;
}

void patternRelease(PatternWindow& w, int x, int y) {
    if (!w.drawing) return;
    if (w.tool == PatternTool::Line) patternDrag(w, x, y);
    w.drawing = false;
    w.lineUndo.reset();
}

void clearAllPatterns(EditorState& s, PatternWindow& w) {
    const MsgAnswer answer =
        s.platform.messageBox({"", "このパターンを保存しますか？", MsgButtons::YesNoCancel});
    if (answer == MsgAnswer::Cancel) return;
    if (answer == MsgAnswer::Yes && w.PictureSurface) {
        extractPatternValues(*w.PictureSurface, s.pattern);
        SavePatternFile(s);
    }
    std::fill(s.pattern.PatternBuf.begin(), s.pattern.PatternBuf.end(), std::uint8_t{0});
    // The length goes with the values: a cleared pattern is no pattern, and
    // the next opening must not draw a line of zeros along the top.
    s.pattern.PatternLen = 0;
    if (w.PictureSurface) w.PictureSurface->fill(White);
    repaintPatternWindow(s, w);
}

PatternAfter patternCommand(EditorState& s, PatternWindow& w, int id) {
    switch (id) {
    case InputContinuousId:
        return inputPattern(s, w, PatternInput::Continuous);
    case InputOnceId:
        return inputPattern(s, w, PatternInput::Once);
    case ShiftUpId:
        shiftPicture(s, w, -1);
        break;
    case ShiftDownId:
        shiftPicture(s, w, 1);
        break;
    case ShiftDownTenId:
        shiftPicture(s, w, 10);
        break;
    case ShiftUpTenId:
        shiftPicture(s, w, -10);
        break;
    case PatternCancelId:
        closePatternWindow(s, w);
        return PatternAfter::Close;
    case TargetWaveId:
        s.pattern.PatternTarget = 0;
        break;
    case TargetVolumeId:
        s.pattern.PatternTarget = 1;
        break;
    case TargetPitchId:
        s.pattern.PatternTarget = 2;
        break;
    case CurveToolId:
    case LineToolId:
    case EraserToolId:
        chooseTool(w, id);
        break;
    case StepWholeId:
        s.pattern.PatternStep = 1;
        break;
    case StepHalfId:
        s.pattern.PatternStep = 2;
        break;
    case StepQuarterId:
        s.pattern.PatternStep = 4;
        break;
    case StepEighthId:
        s.pattern.PatternStep = 8;
        break;
    case ClearAllId:
        clearAllPatterns(s, w);
        break;
    case OpenImageId:
        OpenImageAsPicture(s, w);
        break;
    case OpenPatternFileId:
        OpenPatternInWindow(s, w);
        break;
    case ChangeFrequencyId:
        changePatternFrequency(s, w);
        break;
    default:
        break;
    }
    return PatternAfter::Stay;
}

void patternWindowCommand(EditorState& s) {
    if (s.BusyFlag || s.pattern.PatternWindowOpen) return;
    s.platform.runModalWindow(s, PatternWindowClass);
}

} // namespace wavora
