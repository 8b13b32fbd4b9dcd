#pragma once
// Cut, copy and paste of the sound windows' context menu, and the two ways of
// putting outside bytes at the marker or into the selection: the program's own
// clipboard and a WAV file's data.
#include "core/EditorState.h"

#include <cstdint>

namespace wavora {

void cutCommand(EditorState& s);
void copyCommand(EditorState& s);
// Duplicates the copied layer into the window the menu was opened over, or
// pastes the clipboard's bytes at the marker or over the selection.
void pasteCommand(EditorState& s);

// The clipboard's bytes into the active sound: inserted at the marker, or in
// place of the selection (both, marker first, when both are set).
void pasteAtMarker(EditorState& s);
void pasteOverSelection(EditorState& s);

// A WAV file's data in place of the active sound's selection (the curves stay
// as they are); the selection then covers the new bytes. A file that would make
// the sound reach DATALENMAX bytes is refused with the overflow message before
// anything changes. Returns false after a refusal.
bool replaceSelectionWithData(EditorState& s, const std::uint8_t* data, std::int32_t length);

} // namespace wavora
