#pragma once
// What the general parameter dialog decides, apart from its window. The window
// adapter owns the controls and the nested loop; for every event it reads the
// controls into a DialogControls, calls one of these, and carries out what
// comes back. The life of one dialog, as the adapter drives it:
//
//   dialogCreated          window made, controls not laid out yet (DialogReady 0)
//   computeDialogLayout    rectangles, ranges, which controls to show (DialogLayout.h)
//   initialControls        the texts and ticks the controls start with
//   readDialogPosition     where to put it (DialogPosition.h)
//   dialogLaidOut          from now on events count (DialogReady 1)
//   ... dialogEditChanged / dialogControlsChanged / selectRadioRow on user input
//   dialogOk -> true       close with DialogResultOk
//   dialogCancel           close with DialogResultCancel
//   dialogCloseRequested   close with its result, the controls are not read
//   dialogDestroyed        position saved, flags and hooks cleared
#include "core/DialogRequest.h"
#include "core/EditorState.h"
#include "ui/DialogPosition.h"

#include <optional>
#include <string>

namespace wavora {

constexpr int DialogResultOk = 0;
constexpr int DialogResultCancel = -1;

// The controls as the layout fills them: each edit box holds its row's Value,
// check boxes and radio buttons are on when Value is "1".
DialogControls initialControls(const DialogRequest& request);

// The window exists; events are ignored until dialogLaidOut.
void dialogCreated(EditorState& s);
void dialogLaidOut(EditorState& s);

// Radio rows form one group: turning one on turns every other radio row off.
void selectRadioRow(const DialogRequest& request, DialogControls& controls, int row);

// OK (button or Enter). Copies the controls into the rows and checks them; true
// when the dialog is to close with DialogResultOk. On false the user has been
// told why and the dialog stays open with what they typed.
bool dialogOk(EditorState& s, const DialogControls& controls);

// "キャンセル": stops looping and running playback and clears BusyFlag. The
// adapter then closes with DialogResultCancel.
void dialogCancel(EditorState& s);

// A close request (Alt+F4 and the like). Nothing is read from the controls, so
// the command sees its own defaults; the result tells the adapter what to
// close with.
int dialogCloseRequested(EditorState& s);

// What the adapter must change after an edit: the length limit of the
// new-sound dialog moved, so the window caption and row 1's spin range follow.
struct EditUpdate {
    bool limitChanged = false;
    std::string caption; // also stored as DialogCaption
    int spinMin = 0, spinMax = 0;
};

// The edit box of `row` got new text. Rows 1 and 2 drive the effect preview;
// rows 1, 2 and 3 the new-sound length limit.
EditUpdate dialogEditChanged(EditorState& s, int row, const DialogControls& controls);

// Any edit, check, radio or spin event. Runs the controls preview hook and,
// because the bit depth is chosen with radio rows, the length limit too.
EditUpdate dialogControlsChanged(EditorState& s, const DialogControls& controls);

// The window is going: its last position is saved (when given) and the
// per-dialog flags and hooks are cleared, so the next command starts clean.
void dialogDestroyed(EditorState& s, std::optional<DialogPosition> closedAt = std::nullopt);

} // namespace wavora
