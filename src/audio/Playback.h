#pragma once
// Playback: one buffer handed to the output device in one write, played once
// or again and again until Stop, and the play cursor that the 20 ms timer
// moves over the sound window.
#include "core/EditorState.h"
#include "core/WaveOutput.h" // stopPlayback

#include <cstdint>

namespace wavora {

// The device format of a sound: PCM with the sound's rate, bits and channels.
WaveFormat waveFormatOf(const SoundDoc& d);

// Plays `length` bytes of the active sound (of RenderBuffer when it has
// layers): from the marker to the end, or only the selection, when there is
// one. A playback still running is stopped first. The first device call that
// fails is shown and ends the start, leaving nothing playing.
void StartPlayback(EditorState& s, std::int32_t length);
// The same from another buffer of DATALENMAX bytes holding sound `d` as it is
// to be heard: d's format, marker and selection rules apply.
void startPlaybackOf(EditorState& s, const SoundDoc& d, std::uint8_t* source, std::int32_t length);

// Command 1238: Play, over and over until Stop.
void loopPlayCommand(EditorState& s);
// Command 1227: ends playback and recording and releases the command guard.
void stopCommand(EditorState& s);

// The output device has played the buffer whose User field is `user`: play it
// again when looping, else close the device. Reports of a playback that has
// already been stopped are ignored.
void onWaveOutDone(EditorState& s, std::uint32_t user);

// What one tick of the 20 ms timer asks of the interface thread.
struct TimerTick {
    bool moveCursor = false;   // repaint the play line
    bool recordSecond = false; // one more second of recording: advance the wait dialog
};
// The timer's work, on the timer's own thread: it only counts.
TimerTick onTimerTick(PlaybackState& p);
// The interface thread's side of a tick.
void onPlayCursorMoved(EditorState& s);

} // namespace wavora
