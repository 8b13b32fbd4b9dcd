// What each tool does with the sound window's mouse messages: the marker
// toggle and the selection drag, drawing, zoom by click, and the layer tools.
#include "input/MouseTools.h"

#include "layers/LayerPool.h"
#include "layers/Layers.h"
#include "undo/UndoStore.h"
#include "view/SoundView.h"

#include <algorithm>
#include <cstdlib>

namespace wavora {

namespace {

constexpr int LabelStrip = 200;
constexpr int MakeLayerDistance = 5; // pixels the mouse must move before a layer is made

SoundDoc& docOf(EditorState& s, int slot) { return s.docs[static_cast<std::size_t>(slot)]; }

bool usable(const EditorState& s, int slot) {
    return slot >= 0 && slot < SlotCount && s.docs[static_cast<std::size_t>(slot)].WindowHandle != 0 &&
           s.docs[static_cast<std::size_t>(slot)].hasBuffers();
}

void toggleMarker(EditorState& s, int slot) {
    SoundDoc& d = docOf(s, slot);
    if (d.HasMarker) {
        d.HasMarker = 0;
        d.SelStart = 0;
    } else {
        d.HasMarker = 1;
        d.SelStart = s.tool.MouseByte;
        d.SelRect = {s.mouse.PressX, 0, s.mouse.PressX, 768};
    }
    d.HasSelection = 0;
    repaintSlot(s, slot);
}

// Right to left selects what left to right selects; the end of the data stops it.
void extendSelection(EditorState& s, int slot) {
    SoundDoc& d = docOf(s, slot);
    const ViewState& v = d.view;
    const std::int32_t left = std::max(0, std::min(s.tool.DragStartX, s.mouse.PressX));
    const std::int64_t reached = std::int64_t{v.FirstByte} + viewTrunc(static_cast<float>(s.mouse.PressX) / v.XScale);
    if (reached > d.DataLen) {
        s.tool.MouseByte = d.DataLen;
        return;
    }
    const std::int32_t width = std::abs(s.tool.DragStartX - s.mouse.PressX);
    d.HasMarker = 0;
    d.HasSelection = 1;
    d.SelRect = {left, 0, left + width, 768};
    d.SelStart = v.FirstByte + viewTrunc(static_cast<float>(left) / v.XScale);
    d.SelLength = std::min(viewTrunc(static_cast<float>(width) / v.XScale), d.DataLen);
    s.tool.SelectionChanged = 1;
    repaintSlot(s, slot);
}

bool insideSelection(const SoundDoc& d, std::int32_t x) {
    return d.HasSelection && x >= d.SelRect.left && x < d.SelRect.right;
}

void pressWithLayerTool(EditorState& s, int slot) {
    SoundDoc& d = docOf(s, slot);
    if (s.CurrentTool == ToolMakeLayer && insideSelection(d, s.mouse.PressX)) {
        s.tool.MakeArmed = 1;
        return;
    }
    if (listedLayers(d) == 0) return;
    updateLayerExtents(s, slot);
    const int id = layerUnderPoint(s, slot, s.mouse.PressX, s.mouse.PressY);
    if (id) beginLayerDrag(s, slot, id, s.mouse.PressX);
    else if (s.CurrentTool == ToolLayerMove && layerPosition(d, d.ActiveLayer))
        beginLayerDrag(s, slot, d.ActiveLayer, s.mouse.PressX);
    repaintSlot(s, slot);
}

void moveWithLayerTool(EditorState& s, int slot) {
    if (s.tool.MakeArmed) {
        const int dx = std::abs(s.mouse.PressClientX - (s.tool.DragStartX + LabelStrip));
        const int dy = std::abs(s.mouse.PressY - s.tool.DragStartY);
        if (std::max(dx, dy) < MakeLayerDistance) return;
        s.tool.MakeArmed = 0;
        // The layer is picked up where the press was, so it moves with the mouse.
        if (!makeLayerFromSelection(s, slot, s.tool.DragStartX)) return;
    }
    if (s.tool.DragLayer) dragLayerTo(s, slot, s.mouse.PressClientX - LabelStrip);
}

void recordDrawing(EditorState& s, int slot) {
    if (!s.tool.Drew) return;
    s.tool.Drew = 0;
    s.ActWndNum = slot;
    snapshot(s, docOf(s, slot).ActiveLayer != 0 ? 2 : 1);
}

} // namespace

void recordPress(EditorState& s, int slot, int clientX, int clientY) {
    const SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    const ViewState& v = d.view;
    s.mouse.PressClientX = clientX;
    s.mouse.PressClientY = clientY;
    s.mouse.PressX = std::max(0, clientX - LabelStrip);
    s.mouse.PressY = clientY + v.ScrollY - (v.FramedView ? v.YOffset : 0);
    const std::int64_t byte = std::int64_t{v.FirstByte} + viewTrunc(static_cast<float>(s.mouse.PressX) / v.XScale);
    s.tool.MouseByte = static_cast<std::int32_t>(std::clamp<std::int64_t>(byte, 0, d.DataLen));
    s.tool.MouseRow = viewTrunc(static_cast<float>(s.mouse.PressY) / v.YScale);
}

void onLeftPress(EditorState& s, int slot, int clientX, int clientY) {
    if (!usable(s, slot) || s.BusyFlag) return;
    s.ActWndNum = slot;
    recordPress(s, slot, clientX, clientY);
    s.tool.ButtonDown = 1;
    s.tool.slot = slot;
    s.tool.DragStartX = s.mouse.PressX;
    s.tool.DragStartY = s.mouse.PressY;
    s.tool.SelectionChanged = 0;
    s.tool.MakeArmed = 0;
    s.tool.Drew = 0;
    s.platform.captureMouse(docOf(s, slot).WindowHandle);

    if (s.EraserOn) return eraseAt(s, slot, true);
    switch (s.CurrentTool) {
    case ToolCurve: startStroke(s, slot); break;
    case ToolLine: startLine(s, slot); break;
    case ToolSelection: toggleMarker(s, slot); break;
    case ToolZoom:
        s.tool.zoomCursor = ZoomCursor::In;
        ZoomIn(s, slot);
        break;
    case ToolLayerMove:
    case ToolMakeLayer: pressWithLayerTool(s, slot); break;
    default: break;
    }
}

void onMouseMove(EditorState& s, int slot, int clientX, int clientY, bool leftDown) {
    if (!usable(s, slot) || s.BusyFlag) return;
    const bool down = leftDown && s.tool.ButtonDown && s.tool.slot == slot;
    if (!down) return;
    recordPress(s, slot, clientX, clientY);
    if (s.tool.DragLayer || s.tool.MakeArmed) return moveWithLayerTool(s, slot);
    if (s.EraserOn) return eraseAt(s, slot, false);
    switch (s.CurrentTool) {
    case ToolCurve: continueStroke(s, slot); break;
    case ToolLine: drawLineTo(s, slot); break;
    case ToolSelection: extendSelection(s, slot); break;
    default: break;
    }
}

void onLeftRelease(EditorState& s, int slot, int clientX, int clientY) {
    if (!usable(s, slot) || !s.tool.ButtonDown || s.tool.slot != slot) return;
    s.platform.releaseMouse();
    s.tool.ButtonDown = 0;
    s.tool.MakeArmed = 0;
    if (s.tool.DragLayer) {
        dropLayer(s, slot, clientX, clientY);
    } else if (s.CurrentTool == ToolSelection && !s.EraserOn) {
        if (s.tool.SelectionChanged) {
            s.ActWndNum = slot;
            snapshot(s, 8);
        }
    } else if (s.CurrentTool == ToolLine && !s.EraserOn && s.tool.Drew) {
        recordPress(s, slot, clientX, clientY);
        drawLineTo(s, slot);
        recordDrawing(s, slot);
    } else if (s.CurrentTool == ToolCurve) {
        recordDrawing(s, slot); // the eraser records no step of its own
    }
    s.tool.LineBackup.clear();
    s.tool.LayerDrawSurface.reset();
    s.tool.slot = -1;
}

void onRightPress(EditorState& s, int slot, int clientX, int clientY) {
    if (!usable(s, slot) || s.BusyFlag || s.tool.ButtonDown) return;
    s.ActWndNum = slot;
    recordPress(s, slot, clientX, clientY);
    if (s.CurrentTool == ToolZoom) {
        s.tool.zoomCursor = ZoomCursor::Out;
        ZoomOut(s, slot);
        ZoomOut(s, slot);
        return;
    }
    openLayerContextMenu(s, slot, clientX, clientY);
}

ToolCursor toolCursor(const EditorState& s) {
    if (s.CurrentTool == ToolZoom) return s.tool.zoomCursor == ZoomCursor::In ? ToolCursor::ZoomIn : ToolCursor::ZoomOut;
    if (s.CurrentTool == ToolLayerMove) return s.frame.LayerDragging ? ToolCursor::Move : ToolCursor::Arrow;
    if (s.CurrentTool >= 1 && s.CurrentTool <= 10) return ToolCursor::Drawing;
    return ToolCursor::Arrow;
}

} // namespace wavora
