// Layers made, dragged, dropped, deleted, merged, copied and pasted through the
// mouse and the context menu, and undo and redo after each of them.
#include "ToolTestSupport.h"
#include "audio/Render.h"
#include "layers/Clipboard.h"
#include "layers/LayerPool.h"
#include "layers/Layers.h"

namespace wavora::test {
namespace {

// What the user sees of a sound and its layers.
struct Seen {
    std::vector<int> ids;
    std::vector<std::int32_t> starts, lengths;
    std::vector<std::uint8_t> layerBytes, background;
    std::int32_t dataLen;
    bool operator==(const Seen&) const = default;
};

struct Layers : ToolFixture {
    int a = open(2000, 138);
    int b = -1;

    // Selects content x0..x1, then drags out of it with the make-layer tool.
    void makeLayer(int slot, int x0, int x1, int dx, int dy = 0) {
        select(slot, x0, x1);
        s.CurrentTool = ToolMakeLayer;
        const int x = 200 + (x0 + x1) / 2;
        drag(slot, x, 50, x + dx, 50 + dy);
    }
    Seen seen(int slot) {
        Seen v;
        SoundDoc& d = doc(slot);
        for (int p = 1; p <= d.LayerCount; ++p) {
            const auto id = static_cast<std::size_t>(d.LayerIds[static_cast<std::size_t>(p)]);
            v.ids.push_back(static_cast<int>(id));
            v.starts.push_back(s.layers.LyStart[id]);
            v.lengths.push_back(s.layers.LyLen[id]);
            v.layerBytes.insert(v.layerBytes.end(), s.layers.LySamples[id].begin(),
                                s.layers.LySamples[id].begin() + s.layers.LyLen[id]);
        }
        v.background.assign(d.Samples.begin(), d.Samples.begin() + d.DataLen);
        v.dataLen = d.DataLen;
        return v;
    }
    // The operation, then undo gives back what was before and redo what was after.
    template <typename Op>
    void undoable(int slot, Op op) {
        const Seen before = seen(slot);
        const int pool = s.layers.LayerPoolNext;
        op();
        s.ActWndNum = slot;
        const Seen after = seen(slot);
        ASSERT_NE(before, after);
        undoCommand(s);
        EXPECT_EQ(seen(slot), before);
        EXPECT_EQ(s.layers.LayerPoolNext, pool);
        EXPECT_EQ(doc(slot).TopLayer, before.ids.empty() ? 0 : before.ids.back());
        redoCommand(s);
        EXPECT_EQ(seen(slot), after);
    }
    void twoWindows(std::int32_t secondLength = 2000, std::uint8_t bits = 8) {
        b = open(secondLength, 128, bits);
        fake.moveWindow(doc(a).WindowHandle, 0, 0, 1100, 400);
        fake.moveWindow(doc(b).WindowHandle, 0, 500, 1100, 400);
        fake.activeWindow = doc(a).WindowHandle;
    }
};

TEST_F(Layers, MadeFromTheSelectionAndDraggedWithTheMouse) {
    for (int i = 100; i < 300; ++i) doc(a).Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    makeLayer(a, 100, 300, 150);
    ASSERT_EQ(doc(a).LayerCount, 1);
    EXPECT_EQ(doc(a).ActiveLayer, 1);
    EXPECT_EQ(s.layers.LyName[1], "レイヤー1");
    EXPECT_EQ(s.layers.LyLen[1], 200);
    EXPECT_EQ(s.layers.LyStart[1], 250);
    EXPECT_EQ(s.layers.LySamples[1][0], 100);
    EXPECT_EQ(s.layers.LySamples[1].size(), 1200u);
    EXPECT_EQ(doc(a).Samples[100], 100); // the background keeps its bytes
    EXPECT_EQ(doc(a).UnDoFlag.substr(doc(a).UnDoFlag.size() - 2), "04");
    // Dragged again, and dropped outside every window: back where it was.
    // (A press inside the selection would make another layer.)
    s.CurrentTool = ToolMakeLayer;
    drag(a, 600, 50, 700, 2000);
    EXPECT_EQ(s.layers.LyStart[1], 250);
    drag(a, 600, 50, 560, 50);
    EXPECT_EQ(s.layers.LyStart[1], 210);
    EXPECT_EQ(doc(a).LayerCount, 1);
    EXPECT_EQ(doc(a).UnDoFlag.substr(doc(a).UnDoFlag.size() - 2), "03");
}

TEST_F(Layers, ASixthLayerAnywhereShowsTheLimit) {
    twoWindows();
    for (int k = 0; k < 3; ++k) makeLayer(a, 100 + 200 * k, 150 + 200 * k, 10);
    for (int k = 0; k < 2; ++k) makeLayer(b, 100 + 200 * k, 150 + 200 * k, 10);
    EXPECT_EQ(layersInUse(s), 5);
    EXPECT_EQ(s.layers.LayerPoolNext, 6);
    fake.boxes.clear();
    makeLayer(b, 600, 650, 10);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.lastBox().caption, "これ以上レイヤーを作れません。<(_ _)>");
    EXPECT_EQ(fake.lastBox().text.rfind("レイヤーは5個までです。\r\n", 0), 0u);
    EXPECT_EQ(doc(b).LayerCount, 2);
}

TEST_F(Layers, DroppedIntoAnotherWindowUnlessItDoesNotFit) {
    twoWindows(150);
    makeLayer(a, 100, 300, 10); // 200 bytes
    s.CurrentTool = ToolMakeLayer;
    drag(a, 505, 50, 505, 600); // on the layer, outside the selection
    EXPECT_EQ(fake.lastBox().text, "レイヤーが長すぎて、このウィンドウにはおさまりません。");
    EXPECT_EQ(doc(a).LayerCount, 1);
    EXPECT_EQ(s.layers.LyStart[1], 110);

    doc(b).DataLen = 2000; // lengthened, as a command would, with its own step
    s.ActWndNum = b;
    snapshot(s, 18);
    undoable(b, [&] { drag(a, 505, 50, 605, 600); });
    EXPECT_EQ(doc(a).LayerCount, 0); // redone: the layer lies on the second sound
    ASSERT_EQ(doc(b).LayerCount, 1);
    EXPECT_EQ(s.layers.LyStart[1], 210);
    undoCommand(s); // and undone once more, it is back on the first
    EXPECT_EQ(doc(a).LayerCount, 1);
    EXPECT_EQ(s.layers.LyStart[1], 110);
}

TEST_F(Layers, MergeCopiesWhatPlayAdds) {
    makeLayer(a, 100, 300, 10);
    std::fill_n(s.layers.LySamples[1].begin(), 200, std::uint8_t{148});
    s.layers.LyAdditive[1] = 1;
    snapshot(s, 2); // as drawing on the layer records it
    RenderLayers(s);
    EXPECT_EQ(s.RenderBuffer[150], 128 + 10 + 20);
    const std::string history = doc(a).UnDoFlag;
    mergeLayersCommand(s);
    EXPECT_EQ(doc(a).UnDoFlag, history); // a merge is not taken back
    EXPECT_EQ(doc(a).LayerCount, 0);
    EXPECT_EQ(doc(a).Samples[150], 148);
    EXPECT_EQ(doc(a).Samples[99], 138);
    EXPECT_EQ(fake.boxCount("結合は元に戻せないです。"), 1);
    fake.answers.push_back(MsgAnswer::No);
    undoCommand(s);
    mergeLayersCommand(s);
    EXPECT_EQ(doc(a).LayerCount, 1);
}

TEST_F(Layers, ADeletedLayersIdAndColourGoToTheNextLayer) {
    makeLayer(a, 100, 200, 10);
    makeLayer(a, 400, 500, 10);
    undoable(a, [&] {
        selectLayer(s, 1);
        deleteLayerCommand(s);
    });
    makeLayer(a, 700, 800, 10);
    EXPECT_EQ(doc(a).LayerIds[2], 1);
    auto menu = layerContextMenu(s, a, 0, 0);
    EXPECT_EQ(menu[0].text, "レイヤー1 (ピンク)");
    EXPECT_TRUE(menu[0].checked);
    EXPECT_EQ(menu.back().text, "透過にする");
    deleteLayerCommand(s);
    deleteLayerCommand(s); // the background is chosen now: nothing is deleted
    EXPECT_EQ(doc(a).LayerCount, 1);
}

TEST_F(Layers, ContextMenuCopiesAndPastesALayerIntoTheWindowUnderIt) {
    twoWindows();
    makeLayer(a, 100, 200, 10);
    fake.popupChoices = {MenuCopy};
    openLayerContextMenu(s, a, 250, 50);
    const auto& items = fake.popups.back();
    ASSERT_GE(items.size(), 8u);
    EXPECT_EQ(items[1].text, "背景を選択");
    EXPECT_EQ(items[2].id, 0);
    fake.popupChoices = {MenuPaste};
    openLayerContextMenu(s, b, 700, 50);
    ASSERT_EQ(doc(b).LayerCount, 1);
    EXPECT_EQ(doc(b).LayerIds[1], 2);
    EXPECT_EQ(s.layers.LyStart[2], 500);
    EXPECT_EQ(s.layers.LySamples[2][0], 138);
    EXPECT_EQ(s.frame.PopupMenuFlag, 0);
}

TEST_F(Layers, NoLayerAndBitDepthRefusals) {
    twoWindows(2000, 16);
    deleteLayerCommand(s);
    mergeLayersCommand(s);
    EXPECT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.lastBox().text, "その画像にはレイヤーがありません。レイヤーがある画像のウィンドウを指定してから実行してください。");
    makeLayer(a, 100, 200, 10);
    s.CurrentTool = ToolMakeLayer;
    drag(a, 405, 50, 405, 600);
    EXPECT_EQ(fake.lastBox().caption, "<(*_ _)>");
    EXPECT_EQ(doc(b).LayerCount, 0);
}

} // namespace
} // namespace wavora::test
