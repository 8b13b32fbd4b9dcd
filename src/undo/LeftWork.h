#pragma once
// What a run that died left in "WavoraUnDo": which sounds can come back, in
// which state and with how much of their history, and putting their step
// files where the undo store expects them before they do.
#include "core/EditorState.h"
#include "undo/RecoveryRecord.h"

#include <optional>
#include <vector>

namespace wavora {

// True when the folder holds the record of at least one sound (or the
// temporary file one was being written to). One listing of the folder, so a
// clean start costs nothing to speak of. Step files without any record name
// no sound that could come back and are left as they are.
bool leftSoundsInFolder(const EditorState& s);

struct LeftSound {
    int slot = 0;
    std::optional<RecoveryRecord> record; // none: the record itself is damaged
    int step = -1;                        // the step it comes back in, -1 when none is intact
    int newest = 0, oldest = 0;           // the intact steps around it (numbers of the record)
    std::vector<int> foundAt;             // where each step of the record lies now, -1 nowhere

    bool comesBack() const { return step >= 0; }
    // Its current state and its whole history are intact.
    bool complete() const;
};

// Every record in the folder, each step it names checked against its
// fingerprint (and looked for at other numbers when it is not where it
// should be). Reads only; sorted so that the sound changed last comes last.
std::vector<LeftSound> surveyLeftWork(EditorState& s);

// Renumbers the intact history of a sound that comes back so that its newest
// intact step becomes step 0, removes the slot's other step files, and
// returns the history as it then stands. `layerFiles`: the layers whose
// step files move with it.
RecoveryRecord settleLeftSound(EditorState& s, const LeftSound& l, std::uint8_t layerFiles);

// The files of a sound that does not come back.
void removeLeftSound(EditorState& s, int slot);

} // namespace wavora
