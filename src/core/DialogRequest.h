#pragma once
// The request a command fills before it asks the user through the general
// dialog, and reads back afterwards. One request at a time: the dialog is modal.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace wavora {

struct EditorState;

enum RowKind : std::uint8_t {
    RowHeading = 0,
    RowText = 1,
    RowNumber = 2,
    RowCheck = 3,
    RowRadio = 4,
    RowSlider = 5,
    RowLength = 6,
};

constexpr int DialogMaxRows = 13;

struct DialogRow {
    std::uint8_t Kind = RowHeading;
    std::string Label;
    std::string Value; // default on entry, result after OK; "1" = on for check and radio rows
    float Max = 0;
    float Min = 0;     // Min and Max both 0: no range check
};

// What the dialog's controls hold at one moment, row by row (index 1..13):
// the edit box text and the state of the row's check box or radio button.
struct DialogControls {
    std::array<std::string, DialogMaxRows + 1> text{};
    std::array<bool, DialogMaxRows + 1> checked{};
};

struct PreviewFlags {
    std::uint8_t multiEcho = 0;
    std::uint8_t distortion = 0;
    std::uint8_t chorus = 0;
    std::uint8_t filter = 0;
};

// Parameters the live preview of the effect dialogs sets before it applies the
// effect again; the effect commands read them.
struct PreviewParams {
    double multiEchoFirst = 0;
    double multiEchoSecond = 0;
    int distortion = 0;
    double chorusFrequency = 0;
    double chorusVolume = 0;
    double filterFrequency = 0; // Hz
    int filterPasses = 0;
};

struct DialogRequest {
    std::string DialogCaption;
    std::int32_t DialogRowCount = 0;
    std::int32_t DialogNextRow = 1;
    std::array<DialogRow, DialogMaxRows + 1> DialogRows{}; // 1..13; entry 0 unused
    std::uint8_t DialogAnswer = 0;
    std::uint8_t RequiredChecks = 0;
    PreviewFlags PreviewMode;
    std::uint8_t ChorusPreviewTarget = 0;
    std::uint8_t DialogReady = 0;
    std::uint8_t DialogOpen = 0;

    PreviewParams preview;
    // Set by an effect command that saved an unprocessed copy for previews: puts
    // the copy back and applies the effect with `preview`.
    std::function<void(EditorState&)> effectPreview;
    // Set by a generator command while its "リアルタイム変化(波)" row is in use:
    // regenerates the active sound from the controls as they are now.
    std::function<void(EditorState&, const DialogControls&)> controlsPreview;
    // Run by OK once every row has been accepted, while the dialog is still
    // open (the new-sound command creates its sound here).
    std::function<void(EditorState&)> okAction;
};

// Stores a row at DialogNextRow and moves on. Mind the order: label before the
// default value, upper bound before lower bound.
void addDialogRow(DialogRequest& request, std::uint8_t kind, const std::string& label, const std::string& value,
                  float max, float min);

// Starts a request: caption, row count, the next row back to 1, answer 0, and
// every flag and hook of a previous request cleared.
void beginDialog(DialogRequest& request, const std::string& caption, int rowCount);

} // namespace wavora
