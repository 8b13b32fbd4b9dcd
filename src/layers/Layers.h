#pragma once
// What the user does with layers: making one from the selection, dragging it
// (also into another window), deleting, merging, making it transparent, and
// the sound window's context menu that offers these.
#include "core/EditorState.h"
#include "core/Platform.h"

#include <vector>

namespace wavora {

// The topmost layer of the slot whose picture holds the content point, 0 when none.
int layerUnderPoint(const EditorState& s, int slot, std::int32_t contentX, std::int32_t contentY);

// The select-and-make-layer tool dragged out of the selection: a layer with a
// copy of the selected bytes, active and being dragged from `pressX` (content
// pixels). False after a refusal (its message shown).
bool makeLayerFromSelection(EditorState& s, int slot, std::int32_t pressX);
// A press on a layer starts dragging it.
void beginLayerDrag(EditorState& s, int slot, int id, std::int32_t pressX);
// Every move of a drag: the layer's left edge follows the mouse.
void dragLayerTo(EditorState& s, int slot, std::int32_t contentX);
// The release of a drag at a point of the slot's client area.
void dropLayer(EditorState& s, int slot, int clientX, int clientY);

void deleteLayerCommand(EditorState& s); // 1213
void mergeLayersCommand(EditorState& s); // 1211

// The context menu's own commands.
void selectLayer(EditorState& s, int id); // 0 = the background
void selectionToLayerCommand(EditorState& s);
void toggleTransparency(EditorState& s);

// Identifiers of the context menu (all above 12309, so the frame routes them
// to the menu's handler).
constexpr int MenuLayerBase = 12310; // + layer id
constexpr int MenuBackground = 12320;
constexpr int MenuSelectionToLayer = 12321;
constexpr int MenuCut = 12322;
constexpr int MenuCopy = 12323;
constexpr int MenuPaste = 12324;
constexpr int MenuTransparency = 12325;

std::vector<PopupItem> layerContextMenu(const EditorState& s, int slot, std::int32_t contentX, std::int32_t contentY);
// A right press with any tool but the zoom tool: the menu at the press, and
// its choice carried out.
void openLayerContextMenu(EditorState& s, int slot, int clientX, int clientY);
// One chosen item; also reached from the frame's command dispatch.
void contextMenuCommand(EditorState& s, int id);

} // namespace wavora
