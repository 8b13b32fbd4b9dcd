#pragma once
// A scripted user for the general dialog. Each script answers one
// runModalWindow call of FakePlatform and goes through the dialog's life as the
// real window does: created, laid out with the request's defaults, the user's
// input with the events the controls fire, then OK, Cancel or the close box,
// and finally the destroy step.
//
//   auto seen = watchDialog();
//   fake.dialogs.push_back(pressOk({{1, "0.5"}}, {{6, true}}, seen));
//   newSoundCommand(s);
//   EXPECT_EQ(seen->request.DialogRows[3].Value, "44100");
//
// For a sequence of input, or OK pressed more than once:
//
//   fake.dialogs.push_back(DialogUser().type(1, "99").ok().type(1, "5").ok().script(seen));
//
// A dialog that is still open when the steps run out is cancelled, as a user
// would do who cannot get past a refusal; `gaveUp` then tells so.
#include "FakePlatform.h"
#include "ui/GeneralDialog.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace wavora::test {

// What one scripted dialog was shown and how it ended.
struct ShownDialog {
    bool shown = false;
    DialogRequest request;                 // as it was when the dialog opened
    DialogControls controls;               // as the user left them
    std::vector<EditUpdate> updates;       // every length-limit change, in order
    std::vector<std::string> refusalTexts; // the message of each refused OK
    int result = 0;                        // what runModalWindow returned
    bool gaveUp = false;                   // the steps ended with the dialog open
};

inline std::shared_ptr<ShownDialog> watchDialog() {
    return std::make_shared<ShownDialog>();
}

class DialogUser {
  public:
    // Replaces the text of the row's edit box (fires the edit and change events).
    DialogUser& type(int row, std::string text) {
        steps_.push_back([row, text](Run& r) {
            r.controls.text[idx(row)] = text;
            r.record(dialogEditChanged(r.s, row, r.controls));
            r.record(dialogControlsChanged(r.s, r.controls));
        });
        return *this;
    }
    // Ticks or clears a check box; for a radio row, selects it.
    DialogUser& tick(int row, bool on = true) {
        steps_.push_back([row, on](Run& r) {
            if (r.s.dialog.DialogRows[idx(row)].Kind == RowRadio && on)
                selectRadioRow(r.s.dialog, r.controls, row);
            else
                r.controls.checked[idx(row)] = on;
            r.record(dialogControlsChanged(r.s, r.controls));
        });
        return *this;
    }
    // Lets the test look at or change the state in the middle of the input.
    DialogUser& then(std::function<void(EditorState&)> look) {
        steps_.push_back([look](Run& r) { look(r.s); });
        return *this;
    }
    DialogUser& ok() {
        steps_.push_back([](Run& r) {
            std::size_t boxes = r.fake().boxes.size();
            if (dialogOk(r.s, r.controls)) {
                r.close(DialogResultOk);
            } else {
                bool told = r.fake().boxes.size() > boxes;
                r.seen->refusalTexts.push_back(told ? r.fake().lastBox().text : std::string());
            }
        });
        return *this;
    }
    DialogUser& cancel() {
        steps_.push_back([](Run& r) {
            dialogCancel(r.s);
            r.close(DialogResultCancel);
        });
        return *this;
    }
    DialogUser& closeBox() {
        steps_.push_back([](Run& r) { r.close(dialogCloseRequested(r.s)); });
        return *this;
    }

    FakePlatform::DialogScript script(std::shared_ptr<ShownDialog> seen = nullptr) const {
        if (!seen) seen = watchDialog();
        return [steps = steps_, seen](EditorState& s) {
            Run r{s, seen, {}, false, 0};
            dialogCreated(s);
            seen->shown = true;
            seen->request = s.dialog;
            r.controls = initialControls(s.dialog);
            dialogLaidOut(s);
            for (const auto& step : steps) {
                if (r.closed) break;
                step(r);
            }
            if (!r.closed) {
                seen->gaveUp = true;
                dialogCancel(s);
                r.close(DialogResultCancel);
            }
            seen->controls = r.controls;
            seen->result = r.result;
            return r.result;
        };
    }

  private:
    struct Run {
        EditorState& s;
        std::shared_ptr<ShownDialog> seen;
        DialogControls controls;
        bool closed;
        int result;

        FakePlatform& fake() { return static_cast<FakePlatform&>(s.platform); }
        void record(const EditUpdate& u) {
            if (u.limitChanged) seen->updates.push_back(u);
        }
        void close(int code) {
            dialogDestroyed(s);
            closed = true;
            result = code;
        }
    };

    static std::size_t idx(int row) {
        return static_cast<std::size_t>(row < 0 || row > DialogMaxRows ? 0 : row);
    }

    std::vector<std::function<void(Run&)>> steps_;
};

// Types into the edit boxes, sets the check and radio rows, presses OK.
inline FakePlatform::DialogScript pressOk(const std::map<int, std::string>& edits = {},
                                          const std::map<int, bool>& checks = {},
                                          std::shared_ptr<ShownDialog> seen = nullptr) {
    DialogUser user;
    for (const auto& [row, on] : checks)
        user.tick(row, on);
    for (const auto& [row, text] : edits)
        user.type(row, text);
    return user.ok().script(std::move(seen));
}

inline FakePlatform::DialogScript pressCancel(std::shared_ptr<ShownDialog> seen = nullptr) {
    return DialogUser().cancel().script(std::move(seen));
}

inline FakePlatform::DialogScript closeBox(std::shared_ptr<ShownDialog> seen = nullptr) {
    return DialogUser().closeBox().script(std::move(seen));
}

} // namespace wavora::test
