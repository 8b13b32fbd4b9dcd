// The tool window and the mouse tools in the real program: buttons pressed,
// and drawings, selections, layers and pastes made with mouse messages posted
// to the sound windows, as the user's mouse would send them.
#include "WinHarness.h"

#include "FakePlatform.h"
#include "audio/Render.h"
#include "wavfile/WavFile.h"

#include <commctrl.h>

#include <fstream>

#include <cstdlib>

namespace wintest {
namespace {

using namespace std::chrono_literals;

struct Tools : EditorTest {
    HWND newSound() {
        EXPECT_TRUE(whileWindowOpen(L"NORMALDLG", nullptr, [&] { command(1001); }, [](HWND d) {
            PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }));
        pump(300ms);
        return reinterpret_cast<HWND>(state().active().WindowHandle);
    }
    HWND tools() { return findOwnWindow(L"TBWindow"); }
    // What the sound device was given (ALSA writes it to a file of the run's home).
    std::vector<std::uint8_t> playAndCapture() {
        const auto file = folder.parent_path().parent_path() / L"winehome" / L"played.raw";
        std::error_code ec;
        std::filesystem::remove(file, ec);
        press(5001); // the tool window's Play
        pump(10s, [&] { return !state().play.PlayingFlag; });
        pump(300ms);
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static bool startsWith(const std::vector<std::uint8_t>& got, const std::vector<std::uint8_t>& expect) {
        return got.size() >= expect.size() && std::equal(expect.begin(), expect.end(), got.begin());
    }
    void press(int id) {
        PostMessageW(tools(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(tools(), id)));
        pump(250ms);
    }
    bool pressedIn(int id) { return SendMessageW(GetDlgItem(tools(), id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    static void mouse(HWND w, UINT message, POINT p) {
        PostMessageW(w, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(p.x, p.y));
    }
    // A left drag in steps, every point in the client coordinates of `w`.
    void drag(HWND w, POINT from, POINT to) {
        mouse(w, WM_LBUTTONDOWN, from);
        pump(30ms);
        for (int i = 1; i <= 8; ++i) {
            mouse(w, WM_MOUSEMOVE, {from.x + (to.x - from.x) * i / 8, from.y + (to.y - from.y) * i / 8});
            pump(30ms);
        }
        mouse(w, WM_LBUTTONUP, to);
        pump(200ms);
    }
    // A right click whose context menu is answered with `downs` arrow keys and Enter.
    void contextMenu(HWND w, POINT at, int downs) {
        ASSERT_TRUE(whileWindowOpen(L"#32768", nullptr,
                                    [&] {
                                        PostMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
                                        pump(1500ms, [&] { return !findOwnWindow(L"#32768") && state().frame.PopupMenuFlag == 0; });
                                    },
                                    [&](HWND menu) {
                                        for (int i = 0; i < downs; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
                                        PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
                                    }));
        pump(300ms);
    }
};

TEST_F(Tools, SixteenButtonsBesideTheFrameShowTheChosenTool) {
    HWND tb = tools();
    ASSERT_NE(tb, nullptr);
    RECT r{};
    GetWindowRect(tb, &r);
    EXPECT_EQ(r.left, 13 + 950 + 1);
    EXPECT_EQ(r.top, 50 + 2);
    int buttons = 0, withIcons = 0;
    for (HWND c = GetWindow(tb, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        ++buttons;
        if (SendMessageW(c, BM_GETIMAGE, IMAGE_ICON, 0)) ++withIcons;
    }
    EXPECT_EQ(buttons, 16);
    EXPECT_EQ(withIcons, 16) << "the icons read ahead at start-up reach their buttons";
    // The tips come once the frame is up; by now every button has one.
    HWND tips = nullptr;
    while ((tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr)) && GetWindow(tips, GW_OWNER) != tb) {}
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 16);
    RECT last{};
    GetWindowRect(GetDlgItem(tb, 5016), &last);
    EXPECT_EQ(last.bottom - last.top, 32);
    EXPECT_TRUE(pressedIn(5006)); // the curve tool is chosen at start

    HWND w = newSound();
    press(5007);
    EXPECT_EQ(state().CurrentTool, 2);
    EXPECT_TRUE(pressedIn(5007));
    EXPECT_FALSE(pressedIn(5006));
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == frame() || IsChild(frame(), focus)) << "the focus stays with the frame";
    command(1206); // a tool chosen from the menu shows pressed in too
    pump(400ms);
    EXPECT_TRUE(pressedIn(5010));
    press(5001); // Play's button runs the menu's command: nothing for a silent sound but its message
    EXPECT_NE(w, nullptr);
}

TEST_F(Tools, ALineDrawnInTheVolumeBandBecomesTheGraphAndIsHeard) {
    HWND w = newSound();
    auto& d = state().docs[0];
    for (int i = 0; i < 400; ++i) d.Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(60 + (i * 7) % 131);
    press(5007);
    drag(w, {250, 300}, {350, 340});
    EXPECT_EQ(d.VolumeGraph[50], 44);
    EXPECT_NEAR(d.VolumeGraph[100], 64, 1);
    EXPECT_NEAR(d.VolumeGraph[150], 84, 1);
    EXPECT_EQ(d.VolumeGraph[151], 128);
    EXPECT_EQ(d.UnDoFlag, "0001");

    // Play applies the drawn graph: each byte by (256 - v) / 128.
    wavora::test::FakePlatform fake;
    wavora::EditorState expected(fake);
    auto& e = expected.active();
    e.Samples = d.Samples;
    e.VolumeGraph = d.VolumeGraph;
    e.DataLen = d.DataLen;
    wavora::ApplyVolumeGraph(expected, 0, e.DataLen);
    ASSERT_NE(e.Samples[100], d.Samples[100]);
    EXPECT_TRUE(startsWith(playAndCapture(), {e.Samples.begin(), e.Samples.begin() + e.DataLen}));
    EXPECT_EQ(d.VolumeGraph[100], 128); // and resets it
    command(1212);
    EXPECT_NEAR(d.VolumeGraph[100], 64, 1); // undo of Play's step brings the line back
}

TEST_F(Tools, ALayerMadeFromASelectionIsDraggedIntoAnotherWindow) {
    HWND first = newSound();
    HWND second = newSound();
    MoveWindow(first, 0, 0, 900, 210, TRUE);
    MoveWindow(second, 0, 215, 900, 210, TRUE);
    pump(200ms);
    auto& a = state().docs[0];
    for (int i = 0; i < 1000; ++i) a.Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(100 + i % 50);
    // Play refuses a silent sound, so the second one has a little sound of its own.
    std::fill_n(state().docs[1].Samples.begin(), 100, std::uint8_t{140});
    SendMessageW(wavora::app().mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first), 0);
    pump(200ms);
    press(5004);
    drag(first, {300, 50}, {400, 50});
    EXPECT_EQ(a.HasSelection, 1);
    EXPECT_EQ(a.SelStart, 100);
    EXPECT_EQ(a.SelLength, 100);

    press(5005);
    POINT target{450, 60};
    MapWindowPoints(second, first, &target, 1);
    drag(first, {350, 50}, target);
    const auto& b = state().docs[1];
    ASSERT_EQ(b.LayerCount, 1);
    EXPECT_EQ(a.LayerCount, 0);
    const int id = b.LayerIds[1];
    EXPECT_EQ(state().layers.LyStart[static_cast<std::size_t>(id)], 250 - 50);
    EXPECT_EQ(state().ActWndNum, 1);
    // What Play and Save hear of the second sound: the layer's bytes in its silence.
    wavora::RenderLayers(state());
    EXPECT_EQ(state().RenderBuffer[199], 128);
    EXPECT_EQ(state().RenderBuffer[200], 100);
    EXPECT_EQ(state().RenderBuffer[249], 149);
    EXPECT_EQ(b.UnDoFlag.substr(b.UnDoFlag.size() - 2), "04");
    // Played there, the second sound sounds with the layer over it.
    EXPECT_TRUE(startsWith(playAndCapture(), {state().RenderBuffer.begin(), state().RenderBuffer.begin() + state().render.OutputLength}));

    // A second layer, made and dropped within the second window, lies in its own colour.
    press(5004);
    drag(second, {700, 50}, {800, 50});
    press(5005);
    drag(second, {750, 50}, {650, 50});
    ASSERT_EQ(b.LayerCount, 2);
    EXPECT_EQ(b.LayerIds[2], 2);
    EXPECT_EQ(state().layers.LyStart[2], 400);
    RedrawWindow(second, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pump(200ms);
    HDC dc = GetDC(second);
    EXPECT_EQ(GetPixel(dc, 410, 20), RGB(255, 187, 255)); // layer 1, pink
    EXPECT_EQ(GetPixel(dc, 610, 20), RGB(255, 255, 187)); // layer 2, yellow
    ReleaseDC(second, dc);
    if (std::getenv("WAVORA_SHOT_PAUSE")) pump(std::chrono::seconds(std::atoi(std::getenv("WAVORA_SHOT_PAUSE"))));
}

TEST_F(Tools, CopyAndPasteAtTheMarkerWithTheContextMenu) {
    HWND w = newSound();
    auto& d = state().docs[0];
    for (int i = 0; i < 300; ++i) d.Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i % 200);
    const std::int32_t length = d.DataLen;
    press(5004);
    drag(w, {300, 50}, {350, 50}); // bytes 100..149
    contextMenu(w, {320, 60}, 4); // コピー
    EXPECT_EQ(state().clip.length, 50);
    mouse(w, WM_LBUTTONDOWN, {210, 60}); // a marker at byte 10
    mouse(w, WM_LBUTTONUP, {210, 60});
    pump(200ms);
    ASSERT_EQ(d.HasMarker, 1);
    contextMenu(w, {220, 60}, 5); // 貼り付け
    EXPECT_EQ(d.DataLen, length + 50);
    EXPECT_EQ(d.Samples[10], 100);
    EXPECT_EQ(d.Samples[59], 149);
    EXPECT_EQ(d.Samples[60], 10);
    EXPECT_EQ(d.UnDoFlag.substr(d.UnDoFlag.size() - 2), "19");
}

TEST_F(Tools, AWavFileIsReadIntoTheSelection) {
    HWND w = newSound();
    press(5004);
    drag(w, {300, 50}, {400, 50}); // bytes 100..199
    const std::vector<std::uint8_t> data(50, 200);
    const std::vector<std::uint8_t> file = wavora::wavFileBytes(data, 1, 44100, 8);
    std::ofstream((folder / L"in.wav"), std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    std::thread user = answerFileDialog(L"一度に読み込めるのは１つだけです", folder / L"in.wav");
    const auto& d = state().docs[0];
    const std::int32_t length = d.DataLen;
    command(1207);
    user.join();
    pump(200ms);
    EXPECT_EQ(d.DataLen, length - 50);
    EXPECT_EQ(d.Samples[99], 128);
    EXPECT_EQ(d.Samples[100], 200);
    EXPECT_EQ(d.Samples[149], 200);
    EXPECT_EQ(d.Samples[150], 128);
    EXPECT_EQ(d.SelLength, 50);
    EXPECT_EQ(d.UnDoFlag.substr(d.UnDoFlag.size() - 2), "10");
}

} // namespace
} // namespace wintest
