#pragma once
// The work a run that died left behind, offered back at start-up: the
// question, each sound in its own window again, and one word about what could
// not come back whole.
#include "core/EditorState.h"

namespace wavora {

// Runs once the frame is shown and before the first command. With no record
// in the undo folder it asks nothing and costs one look at the folder.
void offerRecovery(EditorState& s);

extern const char* const RecoveryCaption;
extern const char* const RecoveryQuestion;
extern const char* const RecoveryReportCaption;

} // namespace wavora
