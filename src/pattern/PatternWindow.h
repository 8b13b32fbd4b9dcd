#pragma once
// The pattern window ("HakeiPat") apart from its window: the picture the user
// draws on or loads, the guide line, the drawing tools, the shift buttons and
// what every button and menu item does. The window adapter creates the
// controls from the table below, hands over mouse and command messages and
// copies WorkSurface to the screen.
#include "core/EditorState.h"
#include "core/Platform.h"
#include "core/Surface.h"
#include "pattern/ExtractPattern.h"

#include <array>
#include <memory>

namespace wavora {

// --- Controls, menu items and tool buttons.
enum PatternId : int {
    InputContinuousId = 1000,
    InputOnceId = 1001,
    ShiftUpId = 1002,
    ShiftDownId = 1003,
    ShiftDownTenId = 1004,
    ShiftUpTenId = 1005,
    PatternCancelId = 1006,
    ShiftLabelId = 1007,
    TargetWaveId = 1008,
    TargetVolumeId = 1009,
    TargetPitchId = 1010,
    TargetLabelId = 1011,

    OpenPatternFileId = 1095,
    OpenImageId = 1096,
    ClearAllId = 1097,
    StepWholeId = 1098,
    StepHalfId = 1099,
    StepQuarterId = 1100,
    StepEighthId = 1101,
    ChangeFrequencyId = 1102,

    CurveToolId = 5100,
    LineToolId = 5101,
    EraserToolId = 5102,
};

enum class PatternControlKind { Button, Label, Radio };

struct PatternControl {
    int id;
    PatternControlKind kind;
    const char* text;
    int x, y, width, height;
};

// Below the 800 x 256 drawing area, in client coordinates.
const std::array<PatternControl, 12>& patternControls();

// The window as the frame's modal runner makes it.
constexpr const char* PatternWindowClass = "HakeiPat";
constexpr int PatternWindowWidth = 723;
constexpr int PatternWindowHeight = 360;
constexpr int GuideRow = 127;

enum class PatternTool { FreeHand = 1, Line = 2 };

struct PatternWindow {
    WindowId window = 0;                     // the window on screen, once there is one
    std::unique_ptr<Surface> PictureSurface; // what the user draws on, or a loaded picture
    std::unique_ptr<Surface> GuideSurface;   // white with the red guide line
    std::unique_ptr<Surface> WorkSurface;    // what is shown and traced
    Size PictureSize{PatternAreaWidth, PatternAreaHeight};
    int PictureShift = 0;
    PatternTool tool = PatternTool::FreeHand;
    bool PatternEraser = false;

    // A drag in progress: where the button went down and the last point, in
    // picture coordinates; the picture as it was at the press of a line.
    bool drawing = false;
    int pressX = 0, pressY = 0, lastX = 0, lastY = 0;
    std::unique_ptr<Surface> lineUndo;
};

// Opening: the tool window is disabled, the surfaces made white with the
// guide line, and the current pattern drawn into the picture. False (after
// the platform has told the user) when a surface could not be made.
bool openPatternWindow(EditorState& s, PatternWindow& w);
// Every way out: the tool window is enabled again and the surfaces released.
// Safe to call more than once.
void closePatternWindow(EditorState& s, PatternWindow& w);

// The picture at its shift with the guide line over it, into WorkSurface.
void composePatternWork(PatternWindow& w);
// WorkSurface composed anew and the window asked to show it.
void repaintPatternWindow(EditorState& s, PatternWindow& w);
// The picture cleared to white (at its size) and the pattern drawn into it
// as one black pixel per value.
void drawPatternIntoPicture(PatternWindow& w, const PatternState& pattern);
// A new picture of the given size (a loaded image), shown from its top left.
bool replacePicture(EditorState& s, PatternWindow& w, const Surface& image);

// The left button in client coordinates. A press outside the drawing area
// starts nothing.
void patternPress(PatternWindow& w, int x, int y);
void patternDrag(PatternWindow& w, int x, int y);
void patternRelease(PatternWindow& w, int x, int y);

// "全部消す": asks whether to save the pattern first (Cancel stops), then
// clears the pattern and the picture. The sound is not changed.
void clearAllPatterns(EditorState& s, PatternWindow& w);

// "波形の周波数を変える": the picture's pattern resampled to the period of a
// frequency the user gives at the active sound's rate, and drawn anew. The
// sound is not changed.
void changePatternFrequency(EditorState& s, PatternWindow& w);

enum class PatternAfter { Stay, Close };

// A button, radio button, tool button or menu item of the window.
PatternAfter patternCommand(EditorState& s, PatternWindow& w, int id);

// Frame menu 1102 "波形パターン入力ウィンドウ(&I)": the window, modal, through
// the platform's runner. Nothing while a command runs or the window is open.
void patternWindowCommand(EditorState& s);

} // namespace wavora
