#pragma once
// The frame's command table: every menu identifier reaches one handler without
// arguments that works on the active slot.
#include "core/EditorState.h"

namespace wavora {

using CommandHandler = void (*)(EditorState&);

// The handler of a menu identifier; null for identifiers whose command is not
// built yet and for unknown ones (both do nothing).
CommandHandler commandHandler(int id);
// True for every identifier the menu bar or the tool window can send.
bool isCommandId(int id);

// The frame's WM_COMMAND: context-menu identifiers first, then the table.
void dispatchCommand(EditorState& s, int id);

// Handlers the frame owns itself.
void selectionToolCommand(EditorState& s);   // 1205
void zoomToolCommand(EditorState& s);        // 1206
void resetVolumeGraphCommand(EditorState& s); // 1220
void resetPitchGraphCommand(EditorState& s);  // 1221
void autoAuditionCommand(EditorState& s);     // 1272
void historyWindowCommand(EditorState& s);    // 1273
void latestVersionCommand(EditorState& s);    // 1267
void helpCommand(EditorState& s);             // 1250

// The page command 1267 opens.
extern const char* const ProductPageUrl;

} // namespace wavora
