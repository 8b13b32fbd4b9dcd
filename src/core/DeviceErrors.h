#pragma once
// The text shown for a wave device's result code in every device message box.
#include "core/EditorState.h"
#include "core/WaveDevice.h"

#include <string>

namespace wavora {

// "" for 0; otherwise the code's text (empty for codes without one) followed
// by "  エラーコード定数＝" and the code in decimal.
std::string deviceErrorText(int code);

// Makes one device call; a failure is shown with its text under the call's
// name. True when the call succeeded.
bool deviceCall(EditorState& s, WaveCall call, WaveBuffer& buffer);
// The same, without a message: for calls whose failure means nothing to the user.
bool quietDeviceCall(EditorState& s, WaveCall call, WaveBuffer& buffer);

} // namespace wavora
