// The sound window's mouse tools and arrow keys, driven by sequences of mouse
// events in client coordinates (the content starts at x = 200).
#include "ToolTestSupport.h"
#include "ui/ToolWindow.h"

namespace wavora::test {
namespace {

struct MouseTools : ToolFixture {};

TEST_F(MouseTools, TwoClicksSetAndRemoveTheMarker) {
    int w = open(1000);
    s.CurrentTool = ToolSelection;
    click(w, 300, 40);
    EXPECT_EQ(doc(w).HasMarker, 1);
    EXPECT_EQ(doc(w).SelStart, 100);
    click(w, 300, 40);
    EXPECT_EQ(doc(w).HasMarker, 0);
    EXPECT_EQ(doc(w).HasSelection, 0);
    EXPECT_EQ(doc(w).UnDoFlag, "00"); // a click changes no selection
}

TEST_F(MouseTools, RightToLeftSelectsTheSameAndTheEndStopsADrag) {
    int w = open(500);
    select(w, 100, 400);
    const std::int32_t start = doc(w).SelStart, length = doc(w).SelLength;
    EXPECT_EQ(start, 100);
    EXPECT_EQ(length, 300);
    EXPECT_EQ(doc(w).UnDoFlag, "0008");
    select(w, 400, 100);
    EXPECT_EQ(doc(w).SelStart, start);
    EXPECT_EQ(doc(w).SelLength, length);
    EXPECT_EQ(doc(w).HasMarker, 0);
    select(w, 100, 900); // moves past byte 500 change nothing
    EXPECT_EQ(doc(w).SelStart + doc(w).SelLength, 500);
}

TEST_F(MouseTools, APressAddressesTheByteUnderItAtAnyZoom) {
    int w = open(5000);
    doc(w).view.XScale = 0.5f;
    doc(w).view.FirstByte = 1000;
    s.CurrentTool = ToolSelection;
    onLeftPress(s, w, 300, 10);
    EXPECT_EQ(s.mouse.PressX, 100);
    EXPECT_EQ(s.tool.MouseByte, 1200);
    EXPECT_EQ(doc(w).SelStart, 1200);
    onLeftRelease(s, w, 300, 10);
    onLeftPress(s, w, 150, 10); // on the label strip: the content's first byte
    EXPECT_EQ(s.tool.MouseByte, 1000);
}

TEST_F(MouseTools, ZoomToolRightClickZoomsOutTwice) {
    int w = open(100000);
    s.CurrentTool = ToolZoom;
    onRightPress(s, w, 500, 100);
    EXPECT_FLOAT_EQ(doc(w).view.XScale, 0.25f);
    EXPECT_FLOAT_EQ(doc(w).view.YScale, 0.5f);
    EXPECT_EQ(toolCursor(s), ToolCursor::ZoomOut);
    click(w, 500, 100);
    EXPECT_FLOAT_EQ(doc(w).view.XScale, 0.5f);
    EXPECT_EQ(toolCursor(s), ToolCursor::ZoomIn);
    EXPECT_TRUE(fake.popups.empty());
}

TEST_F(MouseTools, ArrowKeysChangeVolumeAndPitchAndResetTheGraphs) {
    int w = open(1000, 178);
    std::fill_n(doc(w).VolumeGraph.begin(), 50, std::uint8_t{10});
    std::fill_n(doc(w).PitchGraph.begin(), 50, std::uint8_t{20});
    onKeyDown(s, w, ArrowKey::Up); // gain (256 - 116) / 128
    EXPECT_EQ(doc(w).Samples[0], 128 + 54);
    EXPECT_EQ(doc(w).Samples[999], 128 + 54);
    EXPECT_TRUE(std::all_of(doc(w).VolumeGraph.begin(), doc(w).VolumeGraph.end(), [](auto v) { return v == 128; }));
    EXPECT_TRUE(std::all_of(doc(w).PitchGraph.begin(), doc(w).PitchGraph.end(), [](auto v) { return v == 128; }));
    onKeyDown(s, w, ArrowKey::Down); // gain (256 - 142) / 128
    EXPECT_EQ(doc(w).Samples[0], 128 + 48);
    EXPECT_EQ(doc(w).UnDoFlag, "001515");

    onKeyDown(s, w, ArrowKey::Right); // a semitone higher: shorter
    EXPECT_EQ(doc(w).DataLen, 943);
    onKeyDown(s, w, ArrowKey::Other);
    EXPECT_EQ(doc(w).UnDoFlag, "00151515");
    select(w, 100, 300);
    onKeyDown(s, w, ArrowKey::Left); // lower and longer, the selection with it
    EXPECT_EQ(doc(w).DataLen, 943 + 11);
    EXPECT_EQ(doc(w).SelLength, 211);
    s.play.PlayingFlag = 1; // keys wait while the sound plays
    onKeyDown(s, w, ArrowKey::Up);
    EXPECT_EQ(doc(w).UnDoFlag.size(), 12u);
}

TEST_F(MouseTools, CurveDrawsTheLogicalRowIntoTheBandUnderThePress) {
    int w = open(1000);
    s.CurrentTool = ToolCurve;
    onLeftPress(s, w, 300, 256 + 40);
    EXPECT_EQ(doc(w).VolumeGraph[100], 40);
    EXPECT_EQ(doc(w).VolumeGraph[99], 128); // neighbours read back as they were
    for (int x = 310; x <= 400; x += 10) onMouseMove(s, w, x, 256 + 40 + (x - 300) * 6 / 10, true);
    onLeftRelease(s, w, 400, 316);
    EXPECT_NEAR(doc(w).VolumeGraph[150], 70, 1);
    EXPECT_NEAR(doc(w).VolumeGraph[200], 100, 1);
    EXPECT_EQ(doc(w).VolumeGraph[201], 128);
    EXPECT_EQ(doc(w).Samples[150], 128); // other bands untouched
    EXPECT_EQ(doc(w).UnDoFlag, "0001");

    int wide = open(1000, 0, 16); // a 16-bit waveform row r is the byte r + 128
    s.CurrentTool = ToolCurve;
    click(wide, 300, 10);
    EXPECT_EQ(doc(wide).Samples[100], 138);
}

TEST_F(MouseTools, LineFollowsTheMouseBackAndForth) {
    int w = open(1000);
    s.CurrentTool = ToolLine;
    onLeftPress(s, w, 250, 300);
    onMouseMove(s, w, 350, 300, true);
    onMouseMove(s, w, 300, 300, true);
    onLeftRelease(s, w, 300, 300);
    EXPECT_EQ(doc(w).VolumeGraph[50], 44);
    EXPECT_EQ(doc(w).VolumeGraph[100], 44);
    EXPECT_EQ(doc(w).VolumeGraph[120], 128); // the longer line left nothing behind
    EXPECT_EQ(doc(w).UnDoFlag, "0001");
}

TEST_F(MouseTools, HzLineSpendsLongerOnTheLowerLevels) {
    int w = open(1000);
    s.CurrentTool = ToolLine;
    s.HzLineMode = 1;
    drag(w, 200, 512, 400, 612);
    const auto& p = doc(w).PitchGraph;
    EXPECT_EQ(p[0], 0);
    EXPECT_TRUE(std::is_sorted(p.begin(), p.begin() + 199));
    const auto low = std::count_if(p.begin(), p.begin() + 200, [](auto v) { return v < 50; });
    EXPECT_GT(low, 120); // an even line would give 100
}

TEST_F(MouseTools, EraserClearsAroundTheMouseInTheBandUnderIt) {
    int w = open(1000);
    std::fill_n(doc(w).PitchGraph.begin(), 1000, std::uint8_t{0});
    s.CurrentTool = ToolEraser;
    s.EraserOn = 1;
    click(w, 300, 600);
    for (int i = 95; i <= 105; ++i) EXPECT_EQ(doc(w).PitchGraph[i], i >= 99 && i <= 102 ? 128 : 0) << i;
    int wide = open(1000, 7, 16); // the waveform of a 16-bit sound is erased to silence
    click(wide, 300, 100);
    EXPECT_EQ(doc(wide).Samples[100], 0);
}

TEST_F(MouseTools, ToolButtonsChooseToolsAndRunCommands) {
    toolButtonPressed(s, 5006); // no sound window: the message, the tool stays
    EXPECT_EQ(fake.boxes.size(), 1u);
    toolButtonPressed(s, 5009);
    EXPECT_EQ(pressedToolButton(s), 5009);
    toolButtonPressed(s, 5008);
    EXPECT_EQ(s.EraserOn, 0);
    EXPECT_EQ(s.HzLineMode, 1);
    EXPECT_EQ(pressedToolButton(s), 5008);
    for (int id : {5001, 5003, 5004, 5011, 5016}) toolButtonPressed(s, id);
    EXPECT_EQ(commands, (std::vector<int>{1201, 1227, 1205, 1239, 5016}));
    EXPECT_EQ(toolButtons()[8].icon, std::string("Clearのアイコン.ico.ico"));
    EXPECT_EQ(defaultToolWindowPosition(13, 50, 950).x, 964);
    EXPECT_EQ(toolWindowSize(4, 19).height, 8 + 19 + 512);
}

} // namespace
} // namespace wavora::test
