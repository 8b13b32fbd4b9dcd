#pragma once
// Listening without changing anything: the active sound rendered exactly as
// Play would hand it to the device (layers mixed, the pitch graph stretched,
// the volume graph applied, the marker and selection rules), but into a
// buffer of its own, so the samples, graphs, layers and history stay as they
// are. Also the automatic audition after every change, and the audition of a
// state kept in the undo files.
#include "core/EditorState.h"

namespace wavora {

// Renders `d` (the active sound, or a sound that is no slot's when
// `withLayers` is false) into AuditionBuffer as Play would play it and sets
// `length` to the bytes rendered. False, with Play's message, when the pitch
// graph makes it longer than a sound can be.
bool renderAudition(EditorState& s, const SoundDoc& d, bool withLayers, std::int32_t& length);

// Stops what plays, renders the active sound and plays it once. A silent
// sound is said so only when `tellWhenSilent`. False when nothing was played.
bool auditionActive(EditorState& s, bool tellWhenSilent);

// Command 1271 "試聴(&T)".
void auditionCommand(EditorState& s);
// The space bar: stops what plays, or auditions when nothing plays.
void auditionOrStopCommand(EditorState& s);

// After every message the frame has handled: when the sound has changed
// since the last look (an undo step written, undone or redone) and the
// automatic audition is on, the active sound is auditioned, from its start.
// A change made while a command still runs, or by Play or a recording, is
// only taken note of.
void auditionIfChanged(EditorState& s);
// Play and the recording record their own steps: nothing new to hear.
void markChangesHeard(EditorState& s);
// A parameter dialog's live preview has just changed the active sound.
void auditionPreview(EditorState& s);

// Auditions the active sound's state `step` from the undo files; the sound
// itself is not touched. False (nothing played) when the step cannot be read.
bool auditionStoredState(EditorState& s, int step);

} // namespace wavora
