// Undo of layer changes gives back what the user saw at that step: a deleted
// layer as it was just before its deletion, the top of the stack, and ids
// free again once undo goes back to before the layers were made.
#include "ToolTestSupport.h"
#include "layers/LayerPool.h"
#include "layers/Layers.h"

namespace wavora::test {
namespace {

struct LayerUndo : ToolFixture {
    int w = open(3000);
    void makeLayer(int x0, int x1) {
        select(w, x0, x1);
        s.CurrentTool = ToolMakeLayer;
        drag(w, 200 + (x0 + x1) / 2, 50, 200 + (x0 + x1) / 2 + 20, 50);
    }
};

TEST_F(LayerUndo, UndoingADeletionBringsBackTheLayerAsItWasThen) {
    makeLayer(100, 200);                 // made, first drop at 120
    s.CurrentTool = ToolMakeLayer;
    drag(w, 400, 50, 700, 50);           // moved to 420
    std::fill_n(s.layers.LySamples[1].begin(), 100, std::uint8_t{33});
    snapshot(s, 2);                      // drawn on
    selectLayer(s, 0);
    doc(w).Samples[2000] = 9;
    snapshot(s, 1);                      // the background drawn on: the layer is not active
    selectLayer(s, 1);
    deleteLayerCommand(s);
    ASSERT_EQ(doc(w).LayerCount, 0);
    EXPECT_TRUE(s.layers.LySamples[1].empty()); // its buffers went with it

    undoCommand(s);
    ASSERT_EQ(doc(w).LayerCount, 1);
    EXPECT_EQ(s.layers.LyStart[1], 420);
    ASSERT_GT(s.layers.LySamples[1].size(), 50u);
    EXPECT_EQ(s.layers.LySamples[1][50], 33);
    EXPECT_EQ(doc(w).Samples[2000], 9);
}

TEST_F(LayerUndo, TheTopLayerFollowsEveryRestore) {
    makeLayer(100, 200);
    makeLayer(500, 600);
    ASSERT_EQ(doc(w).TopLayer, 2);
    deleteLayerCommand(s);               // the active one: 2
    EXPECT_EQ(doc(w).TopLayer, 1);
    undoCommand(s);
    EXPECT_EQ(doc(w).TopLayer, 2);
    undoCommand(s);                      // before the second layer's drop
    undoCommand(s);                      // and before its selection
    EXPECT_EQ(doc(w).TopLayer, 1);
    redoCommand(s);
    redoCommand(s);
    EXPECT_EQ(doc(w).TopLayer, 2);
}

TEST_F(LayerUndo, BackToTheNewSoundEveryLayerIsFreeAgain) {
    makeLayer(100, 200);
    makeLayer(500, 600);
    while (doc(w).UnDoFlag.size() > 2) undoCommand(s);
    EXPECT_EQ(doc(w).LayerCount, 0);
    EXPECT_EQ(layersInUse(s), 0);
    EXPECT_EQ(s.layers.LayerPoolNext, 1);
    makeLayer(700, 800);
    EXPECT_EQ(doc(w).LayerIds[1], 1);
}

} // namespace
} // namespace wavora::test
