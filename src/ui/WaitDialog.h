#pragma once
// The small progress window shown while long work runs on the interface thread,
// with a little face that changes at every step.
#include "core/EditorState.h"

#include <array>
#include <cstdint>

namespace wavora {

extern const char* const WaitDialogCaption;   // " お待ちください"
extern const char* const WaitDialogFirstFace; // "|  <(_ _)>"
extern const std::array<const char*, 17> WaitFaces;

void openWaitDialog(EditorState& s);
// The number of steps the work will report; the bar starts again at 0.
void setWaitTotal(EditorState& s, std::uint32_t total);
// Reports n more steps done. The dialog goes away once the count is reached,
// and a dialog that is gone (counted out or closed by the user) is left alone.
void advanceWait(EditorState& s, std::uint32_t n);

} // namespace wavora
