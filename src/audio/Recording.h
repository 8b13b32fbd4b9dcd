#pragma once
// Recording from the sound card into the active sound, in place: the device
// fills exactly the bytes the sound has and stops by itself (or at Stop).
#include "core/EditorState.h"

namespace wavora {

// Command 1215.
void recordCommand(EditorState& s);
// The input device's messages to the frame.
void onWaveInOpen(EditorState& s);
void onWaveInData(EditorState& s);
void onWaveInClose(EditorState& s);
// One more second recorded (from the timer): the wait dialog moves on.
void onRecordSecond(EditorState& s);
// Shutdown: a recording still running is ended and its buffer released.
void releaseRecording(EditorState& s);

extern const char* const RecordingEndCaption; // "録音終了"

} // namespace wavora
