#pragma once
// Ending a playback. Any dialog's Cancel, a new Play and the frame's end all
// stop what plays, so the way back to idle sits below them all.
#include "core/EditorState.h"

namespace wavora {

// Reset, release and close: the way back to idle from any point of a playback.
// `quiet` leaves failures unshown. PlayingFlag is cleared in any case.
void closeOutput(EditorState& s, bool quiet);

// Ends a running playback (device reset, released and closed) without
// touching LoopPlay or BusyFlag. Nothing happens when nothing plays.
void stopPlayback(EditorState& s);

} // namespace wavora
