#pragma once
// The echo, chorus and distortion commands: each keeps the sound as it was
// (the pre-effect copy, so that the chorus can be redone with other
// settings), asks for its parameters with a live preview, applies the effect
// and records one undo step.
#include "core/EditorState.h"
#include "edit/HeldSound.h"

#include <functional>

namespace wavora {

void echoCommand(EditorState& s);             // 1216
void multiEchoCommand(EditorState& s);        // 1240
void chorusCommand(EditorState& s);           // 1232
void redoChorusFrequencyCommand(EditorState& s); // 1233
void redoChorusVolumeCommand(EditorState& s);    // 1234
void distortionCommand(EditorState& s);       // 1235

// Shows the request in s.dialog with a live preview: every edit of a
// preview row puts `from` back and runs `apply`, and the window shows the
// result. Afterwards the sound is as `from` holds it and the effect
// parameters as they were, whatever the answer; returns the dialog's result.
int runWithPreview(EditorState& s, const HeldSound& from, const std::function<void(EditorState&)>& apply);

// The loop-play menu command, started while the chorus frequency is chosen
// again so that the user hears the sound being changed.
constexpr int LoopPlayCommandId = 1238;

} // namespace wavora
