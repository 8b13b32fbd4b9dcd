#include "core/WaveOutput.h"

#include "core/DeviceErrors.h"

namespace wavora {

void closeOutput(EditorState& s, bool quiet) {
    WaveBuffer& h = s.play.PlayHeader;
    for (WaveCall c : {WaveCall::OutReset, WaveCall::OutUnprepareHeader, WaveCall::OutClose})
        quiet ? quietDeviceCall(s, c, h) : deviceCall(s, c, h);
    s.play.PlayingFlag = 0;
}

void stopPlayback(EditorState& s) {
    if (s.play.PlayingFlag) closeOutput(s, false);
}

} // namespace wavora
