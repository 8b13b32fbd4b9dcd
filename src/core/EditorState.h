#pragma once
// The whole state of the editor, made once at start-up and handed by reference
// to every command. A test makes a fresh one in one line.
#include "core/DialogRequest.h"
#include "core/Surface.h"
#include "core/WaveDevice.h"
#include "doc/Limits.h"
#include "doc/SoundDoc.h"
#include "text/Random.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace wavora {

class Platform;
struct WindowSurfaces; // the sound window's own surfaces (view)

// Where the next generation writes; the last flag set wins.
struct GenTargetFlags {
    std::int32_t wave = 1;
    std::int32_t volume = 0;
    std::int32_t pitch = 0;
};

struct GeneratorParams {
    std::array<std::uint8_t, 3> GenAmp{50, 50, 50};
    std::array<float, 3> GenFreq{440.0f, 50.0f, 50.0f};
    float GenPhase = 0.0f;
    GenTargetFlags GenTarget;
    std::int32_t GeneratorId = 0;
    std::int32_t CycleLength = 0;
    std::int32_t ScaleOctave = 4;
    std::int32_t ScaleNote = 0;
};

struct WaitState {
    std::uint32_t WaitTotal = 0;
    std::uint32_t WaitDone = 0;
    std::string WaitFaceText;
};

// The frame's own flags and what it remembers between runs.
struct FrameState {
    std::uint8_t DialogBusy = 0;
    std::uint8_t SkipFlag = 0;
    std::uint8_t WaitCursorFlag = 0;
    std::uint8_t PopupMenuFlag = 0;
    std::uint8_t PaintingFlag = 0;
    std::int32_t left = 13, top = 50, width = 950, height = 534;
    std::int32_t toolLeft = 1, toolTop = 2;
    std::string FileOpenPath;
    std::string FileHozonPath;
    std::string CurrentDir; // the current directory at start-up, as UTF-8
    std::string HelperReply; // the converter program's last reply (at most 500 bytes)
    // Names chosen in the helper's file dialogs; entry 0 holds a single choice.
    // Each holds at most ChosenNameSize - 1 bytes as the reply carried them
    // (Shift-JIS); kept here as UTF-8.
    std::array<std::string, ChosenNameCount> ChosenNames{};
    // Set by the save command when its file could not be written, so that the
    // close of a sound window keeps the window (and the sound) instead.
    std::uint8_t SaveFailed = 0;
    std::uint8_t LayerDragging = 0; // a layer is being moved with the mouse
    // Set while start-up asks about the work of a run that died and brings
    // it back: no command may run on the sounds meanwhile.
    std::uint8_t RecoveryRunning = 0;
};

// Where the input device stands: open from the record command to the data
// message, closing from then until its close message.
constexpr std::uint8_t RecordDeviceClosed = 0, RecordDeviceOpen = 1, RecordDeviceClosing = 2;

// One playback and one recording at a time for the whole program. The flags
// and the cursor are also read and written by the 20 ms timer's thread.
struct PlaybackState {
    std::atomic<std::uint8_t> PlayingFlag{0};
    std::uint8_t LoopPlay = 0;
    std::atomic<std::uint8_t> RecordingFlag{0};
    std::atomic<std::int32_t> PlayPos{0};
    std::atomic<float> PlayStep{0.0f}; // bytes the cursor moves per tick, from the playing sound
    float RecordMs = 0.0f;             // the timer thread's own count towards the next second
    std::uint8_t VolumeGraphFixed = 0;
    std::uint8_t PitchGraphFixed = 0;
    WaveFormat DeviceFormat;           // filled from the sound before each open
    WaveBuffer PlayHeader;
    WaveBuffer RecordHeader;
    std::uint32_t PlaySerial = 0;      // numbers each playback; the device's reports carry it
    std::uint8_t RecordDevice = 0;     // RecordDeviceClosed, RecordDeviceOpen or RecordDeviceClosing
    std::int32_t RecordSlot = 0;       // the slot being recorded into
    std::uint8_t Auditioning = 0;      // the playback running is an audition
    std::uint8_t AutoAudition = 0;     // audition the active sound after every change (remembered)
};

// What the renderer leaves behind for the player and the writer.
struct RenderState {
    std::int32_t OutputLength = 0; // bytes of the mix in RenderBuffer
    std::uint8_t RenderingFlag = 0; // Play is working on the sound
    std::uint8_t MixRunning = 0;    // the layers are being mixed
    // Play's own: the speed ratio of each 10-byte block, the curves as they
    // were when Play began (for fixed curves), and whether the volume graph
    // held anything. Made on first use.
    std::vector<float> PitchRatios;
    std::vector<std::uint8_t> VolumeBackup, PitchBackup;
    std::array<std::uint8_t, SlotTableSize> VolumeGraphNonFlat{};
    // The audition's own: what it plays (the device reads it while it plays),
    // its block ratios, and a sound read back from the undo files to be heard.
    // Made on first use.
    std::vector<std::uint8_t> AuditionBuffer;
    std::vector<float> AuditionRatios;
    std::unique_ptr<SoundDoc> StoredSound;
};

// The effects' parameters, kept while the program runs and never saved.
// Delays and gains are single-precision on purpose: the byte counts derived
// from them are products rounded to single precision before truncation.
struct EffectParams {
    float EchoDelay = 0.3f;   // "seconds" of 10000 bytes (20000 for 16-bit sounds)
    float EchoDecay = 0.7f;   // gain of the echo source before each echo
    float ChorusRatio = 0.83f; // speed of the chorus copy, 1.0 = same pitch
    float ChorusGain = 0.8f;  // chorus copy against the dry sound
    std::int32_t EchoStep = 0; // bytes between echoes, from the last echo command
    std::int32_t DistortionLevel = 59; // drive, 1..200
    float GainRegister = 1.0f; // what ScaleRange multiplies by
};

// What the random waves chose, per sound window, so that a wave can be
// described, written down and made again. Entry n is segment n of a super
// random wave, or component n of a random Sin. Entries past the latest run's
// segment count keep older values; readers go by the lengths.
constexpr int RandomMemoEntries = 101;
struct RandomWaveMemo {
    std::array<std::int32_t, RandomMemoEntries> SegLength{};
    // Entries 0 and 1 double as the kinds the kind filter allows.
    std::array<std::int32_t, RandomMemoEntries> SegKind{};
    std::array<std::array<std::int32_t, 3>, RandomMemoEntries> SegAmp{};
    std::array<std::array<std::int32_t, 3>, RandomMemoEntries> SegFreq{};
    std::array<std::int32_t, RandomMemoEntries> VolKind{};
    std::array<std::array<std::int32_t, 3>, RandomMemoEntries> VolAmp{};
    std::array<std::array<std::int32_t, 3>, RandomMemoEntries> VolFreq{};
    std::array<std::int32_t, RandomMemoEntries> FxKind{};
    std::array<float, RandomMemoEntries> FxChorusFreq{};
    std::array<float, RandomMemoEntries> FxChorusVol{};
    std::array<std::int32_t, RandomMemoEntries> FxDistortion{};
};

// Which command made the window's sound: none, a super random wave, a super
// random effect wave, a random Sin, a random synthesized Sin.
enum RandomWaveKindValue : std::uint8_t {
    NoRandomWave = 0,
    SuperRandomWave = 1,
    SuperRandomEffectWave = 2,
    RandomSinWave = 3,
    RandomSynthSinWave = 4,
    EffectSoundWave = 5,
};

// The recipe of an effect sound (a coin, a laser, ...): its kind, the seed of
// the press that chose it and the parameters chosen, from which the sound is
// made again byte for byte.
constexpr int EffectSoundParamCount = 13;
constexpr int EffectSoundKindCount = 7;
struct EffectSoundMemo {
    std::int32_t kind = 0;
    std::uint32_t seed = 0;
    std::array<std::int32_t, EffectSoundParamCount> params{};
};

// How far the random waves may roam, for the whole program while it runs.
struct RandomWaveParams {
    std::array<std::int32_t, 2> RandFreqUpper{500, 3000};
    std::array<std::int32_t, 2> RandFreqLower{50, 1};
    std::uint8_t KindFilter = 0;    // only the two kinds of the active memo's entries 0 and 1
    std::int32_t ComponentCount = 1; // 1: random Sin, 2: random synthesized Sin
    std::uint8_t MemoReadMode = 0;  // the information command runs for the memo reader
};
constexpr std::array<std::int32_t, 2> FreqHardMax{3000, 3000};
constexpr std::array<std::int32_t, 2> FreqHardMin{1, 1};

// Where the last mouse press in a sound window happened; zooming centres on it.
struct MouseState {
    std::int32_t PressX = 0;       // client x - 200, at least 0: content pixels
    std::int32_t PressY = 0;       // row in scaled content pixels
    std::int32_t PressClientX = 0; // the press as the window received it
    std::int32_t PressClientY = 0;
};

// The waveform pattern: one period of a wave, drawn or traced in the pattern
// window. It outlives the window, so a pattern can be put in, saved or opened
// again later in the run.
struct PatternState {
    std::vector<std::uint8_t> PatternBuf; // DATALENMAX bytes: per column the row of the curve, 0 = top
    std::int32_t PatternLen = 0;
    std::int32_t PatternStep = 1;   // the extraction keeps every PatternStep-th column: 1, 2, 4 or 8
    std::uint8_t PatternTarget = 0; // where the input buttons write: 0 samples, 1 volume, 2 pitch graph
    std::uint8_t PatternWindowOpen = 0;
};

// Which band of the sound window a row of the content lies in.
enum class Band : std::uint8_t { Wave, Volume, Pitch };

// Which of the drawing cursors the zoom tool shows: it follows the last zoom.
enum class ZoomCursor : std::uint8_t { In, Out };

// The mouse tools' state between a press and its release (one window at a time).
struct ToolState {
    std::uint8_t ButtonDown = 0;     // a left press until the left release
    std::int32_t DragStartX = 0;     // PressX, PressY of that press
    std::int32_t DragStartY = 0;
    std::int32_t MouseByte = 0;      // the data byte under the last press or move
    std::int32_t MouseRow = 0;       // the logical row 0..767 under it
    int slot = -1;                   // the window the button went down in
    Band band = Band::Wave;          // the band a stroke or line draws in
    std::int32_t LastX = 0;          // previous point of a stroke, content pixels
    std::int32_t LastY = 0;
    std::int32_t LastByte = 0;       // the eraser's previous data byte
    std::uint8_t SelectionChanged = 0;
    std::uint8_t Drew = 0;           // something was drawn or erased since the press
    std::uint8_t ConvertRunning = 0; // one conversion of drawn columns at a time
    std::uint8_t MakeArmed = 0;      // a press inside the selection with tool 23
    std::int32_t LayerOffsetX = 0;   // press x minus the dragged layer's left edge
    std::int32_t DragLayer = 0;      // the layer being dragged, 0 = none
    std::int32_t DragFromPixelX = 0; // where it was when the drag began
    std::int32_t DragFromStart = 0;
    std::uint8_t FreshLayer = 0;     // the dragged layer was just made from the selection
    ZoomCursor zoomCursor = ZoomCursor::In;
    // The line tool draws over what was there at its press, so moving back
    // leaves nothing of the longer line behind.
    std::vector<std::uint8_t> LineBackup;
    std::unique_ptr<Surface> LayerDrawSurface; // a layer's picture while it is drawn on
};

// Cut and copy fill this; paste reads it.
struct LayerClipboardState {
    std::vector<std::uint8_t> samples, volume, pitch;
    std::int32_t length = 0;
    std::uint8_t full = 0;             // filled by a cut or copy at least once
    std::uint8_t LayerCopyPending = 0; // the next paste duplicates a layer
    std::int32_t ClipSourceSlot = 0;
    std::int32_t menuX = 0, menuY = 0; // where the context menu was opened (client pixels)
    int menuSlot = -1;                 // in which window
};

struct EditorState {
    explicit EditorState(Platform& platform, std::filesystem::path root = {});
    ~EditorState();
    EditorState(const EditorState&) = delete;
    EditorState& operator=(const EditorState&) = delete;

    Platform& platform;
    std::filesystem::path root; // folder that every relative path of the program starts from

    std::array<SoundDoc, SlotTableSize> docs;
    std::int32_t ActWndNum = 0;
    std::int32_t WindowCount = 0;
    std::uint8_t BusyFlag = 0;
    std::uint8_t CurrentTool = 1;
    std::uint8_t EraserOn = 0;
    std::uint8_t HzLineMode = 0;

    LayerPool layers;
    GeneratorParams gen;
    DialogRequest dialog;
    WaitState wait;
    FrameState frame;
    PlaybackState play;
    RenderState render;
    MouseState mouse;
    PatternState pattern;
    EffectParams effects;
    ToolState tool;
    LayerClipboardState clip;
    Lcg rng;
    RandomWaveParams random;
    std::array<RandomWaveMemo, SlotTableSize> RandomWaveMemos{};
    std::array<std::uint8_t, SlotTableSize> RandomWaveKind{};
    std::array<EffectSoundMemo, SlotTableSize> EffectSoundMemos{};
    std::array<std::int32_t, EffectSoundKindCount> EffectSoundsMade{}; // numbers the windows' titles

    // Counts the changes that can be heard (every undo step written, undone
    // or redone); HeardSerial is where the automatic audition has caught up.
    std::uint32_t ChangeSerial = 0;
    std::uint32_t HeardSerial = 0;
    // Run by the parameter dialog after its live preview has changed the
    // sound; the application hands in the audition. Empty: nothing.
    std::function<void(EditorState&)> previewChanged;

    std::vector<std::uint8_t> ScratchBuffer; // the undo store assembles its records here
    bool UndoWriteFailed = false;            // the last undo step could not be stored (said once)
    std::vector<std::uint8_t> CycleBuffer;   // one block of a periodic generator
    std::vector<std::uint8_t> RenderBuffer;
    std::vector<std::uint8_t> GraphWork;
    std::vector<std::uint8_t> WorkBuffer1, WorkBuffer2, WorkBuffer3;

    // The frame's command dispatch, handed in by the application at start-up:
    // windows below the command table start a menu command through it, as the
    // user would. Empty in a state without a frame.
    std::function<void(EditorState&, int)> runCommand;

    std::array<std::unique_ptr<WindowSurfaces>, SlotTableSize> surfaces;
    std::unique_ptr<Surface> SelectionTint;   // 1000 x 768 cyan, ANDed for marker and selection
    std::unique_ptr<Surface> PlayLineSurface; // 10 x 768 black

    // The active slot, always a valid table entry.
    SoundDoc& active();
    int activeSlot() const;
    // The slot shown by a window, or -1.
    int slotOfWindow(WindowId window) const;
    std::filesystem::path path(const std::string& relativeUtf8) const;
};

// A parameter dialog's live preview has changed the active sound.
inline void notifyPreviewChanged(EditorState& s) {
    if (s.previewChanged) s.previewChanged(s);
}

} // namespace wavora
