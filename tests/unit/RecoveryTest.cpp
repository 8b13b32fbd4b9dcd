// A run that dies leaves its sounds in the undo folder and the next start
// offers them back. The run that "died" stays alive here beside the one that
// starts next in the same folder, so what comes back is compared with what
// the user had, and undo and redo are run on both.
#include "ToolTestSupport.h"
#include "app/NewSound.h"
#include "app/StartupRecovery.h"
#include "layers/Layers.h"
#include "undo/RecoveryKeeper.h"
#include "undo/RecoveryRecord.h"
#include "undo/UndoFiles.h"
#include "view/SoundWindowEvents.h"

#include <fstream>
#include <iterator>

namespace wavora::test {
namespace {

namespace fs = std::filesystem;

struct Recovery : ToolFixture {
    FakePlatform fake2;
    std::unique_ptr<EditorState> next;
    fs::path file(int slot) const { return root.path / recoveryFileName(slot); }

    std::optional<RecoveryRecord> record(int slot) const {
        std::ifstream in(file(slot), std::ios::binary);
        const std::vector<std::uint8_t> b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        return parseRecoveryRecord(b, slot);
    }
    EditorState& restart(MsgAnswer answer) {
        next = std::make_unique<EditorState>(fake2, root.path);
        fake2.answers = {answer};
        offerRecovery(*next);
        return *next;
    }
    void change(int slot, int code, std::uint8_t mark) {
        s.ActWndNum = slot;
        std::fill_n(doc(slot).Samples.begin(), doc(slot).DataLen, mark);
        std::fill_n(doc(slot).PitchGraph.begin(), 100, static_cast<std::uint8_t>(mark + 1));
        doc(slot).SelStart = mark;
        doc(slot).HasMarker = 1;
        snapshot(s, code);
    }
    void makeLayer(int slot, int x0, int x1) {
        fake.activeWindow = doc(slot).WindowHandle; // the windows lie over each other: the drop stays in this one
        select(slot, x0, x1);
        s.CurrentTool = ToolMakeLayer;
        drag(slot, 200 + (x0 + x1) / 2, 50, 200 + (x0 + x1) / 2 + 20, 50);
    }
    // The sound, its graphs, format, selection, marker, layers and history.
    void expectSameSound(int slot) {
        const SoundDoc &a = doc(slot), &b = next->docs[static_cast<std::size_t>(slot)];
        ASSERT_NE(b.WindowHandle, 0u);
        EXPECT_EQ(fake2.windowTitle(b.WindowHandle), fake.windowTitle(a.WindowHandle));
        ASSERT_EQ(b.DataLen, a.DataLen);
        EXPECT_TRUE(std::equal(a.Samples.begin(), a.Samples.begin() + a.DataLen, b.Samples.begin()));
        EXPECT_TRUE(std::equal(a.VolumeGraph.begin(), a.VolumeGraph.end(), b.VolumeGraph.begin()));
        EXPECT_TRUE(std::equal(a.PitchGraph.begin(), a.PitchGraph.end(), b.PitchGraph.begin()));
        EXPECT_EQ(std::tie(b.SRATE, b.BitsParSample, b.Channels, b.HasSelection, b.HasMarker, b.SelStart, b.SelLength),
                  std::tie(a.SRATE, a.BitsParSample, a.Channels, a.HasSelection, a.HasMarker, a.SelStart, a.SelLength));
        EXPECT_EQ(std::tie(b.UnDoFlag, b.Yarinaoshi, b.UndoPos, b.LayerCount, b.LayerIds, b.ActiveLayer),
                  std::tie(a.UnDoFlag, a.Yarinaoshi, a.UndoPos, a.LayerCount, a.LayerIds, a.ActiveLayer));
        for (int p = 1; p <= a.LayerCount; ++p) {
            const auto L = static_cast<std::size_t>(a.LayerIds[static_cast<std::size_t>(p)]);
            EXPECT_EQ(std::tie(next->layers.LyStart[L], next->layers.LyLen[L], next->layers.LyAdditive[L]),
                      std::tie(s.layers.LyStart[L], s.layers.LyLen[L], s.layers.LyAdditive[L]));
            EXPECT_TRUE(std::equal(s.layers.LySamples[L].begin(), s.layers.LySamples[L].begin() + s.layers.LyLen[L],
                                   next->layers.LySamples[L].begin()));
        }
        for (EditorState* e : {&s, next.get()}) {
            e->ActWndNum = slot;
            refreshUndoMenu(*e);
        }
        for (int item : {0, 1}) {
            const FakeMenuItem &was = fake.menu[std::pair(1, item)], &is = fake2.menu[std::pair(1, item)];
            EXPECT_EQ(std::tie(is.caption, is.enabled), std::tie(was.caption, was.enabled));
        }
    }
};

TEST_F(Recovery, TheRecordFollowsStepsUndoRedoRenameAndTheClose) {
    const int w = open(1000);
    change(w, 20, 10);
    change(w, 14, 20);
    undoCommand(s);
    change(w, 29, 30); // the undone step dropped: the files move down
    undoCommand(s);
    redoCommand(s);
    undoCommand(s);
    auto r = record(w);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->undoCodes, "0020");
    EXPECT_EQ(r->redoCodes, "29");
    EXPECT_EQ(r->undoPos, 1);
    EXPECT_EQ(r->title, "音");
    ASSERT_EQ(r->stepTags.size(), 3u);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(storedStepTag(s, w, k), r->stepTags[static_cast<std::size_t>(k)]) << k;

    fake.dialogs.push_back([](EditorState& st) {
        st.dialog.DialogRows[1].Value = "ぴこぴこ";
        return 0;
    });
    renameCommand(s);
    EXPECT_EQ(record(w)->title, "ぴこぴこ");
    EXPECT_FALSE(fs::exists(root.path / recoveryTempName(w)));
    onDestroy(s, w);
    EXPECT_FALSE(fs::exists(file(w)));
}

TEST_F(Recovery, TwoSoundsWithLayersComeBackInTheirSlotsAndGoOn) {
    const int a = open(3000);
    open(500);
    const int b = open(2000);
    onDestroy(s, 1); // slot 1 is free when the program dies
    makeLayer(a, 100, 200);
    change(a, 20, 10);
    makeLayer(b, 300, 400);
    toggleTransparency(s);
    change(b, 14, 40);
    change(b, 29, 50);
    undoCommand(s);
    fake.dialogs.push_back([](EditorState& st) {
        st.dialog.DialogRows[1].Value = "二つ目";
        return 0;
    });
    renameCommand(s);

    ASSERT_EQ(doc(a).LayerCount * doc(b).LayerCount, 1);
    ASSERT_TRUE(s.layers.LyAdditive[static_cast<std::size_t>(doc(b).LayerIds[1])]);
    restart(MsgAnswer::Yes);
    ASSERT_EQ(fake2.boxes.size(), 1u);
    EXPECT_EQ(fake2.boxes[0].caption, "(o・ェ・)/前回の作業が残っています");
    EXPECT_EQ(fake2.boxes[0].text, "前回、Wavoraは正しく終了しませんでした。\r\n作業中だった音を元に戻しますか？\r\n"
                                   "（いいえを選ぶと、残っていた作業の記録は消えます。）");
    EXPECT_EQ(next->docs[1].WindowHandle, 0u);
    EXPECT_EQ(next->WindowCount, 2);
    for (int slot : {a, b}) {
        SCOPED_TRACE(slot);
        expectSameSound(slot);
        for (auto step : {undoCommand, undoCommand, redoCommand}) {
            step(s);
            step(*next);
            expectSameSound(slot);
        }
    }
}

TEST_F(Recovery, DamagedNewestStepFallsBackAndIsNamed) {
    const int w = open(1000);
    change(w, 20, 10);
    change(w, 14, 20);
    fs::resize_file(root.path / undoFileName(UndoPart::Nami, w, 0), 10);
    EditorState& n = restart(MsgAnswer::Yes);
    EXPECT_EQ(n.docs[0].SelStart, 10);
    EXPECT_EQ(n.docs[0].Samples[999], 10);
    EXPECT_EQ(n.docs[0].UnDoFlag, "0020");
    EXPECT_EQ(n.docs[0].UndoPos, 0);
    ASSERT_EQ(fake2.boxes.size(), 2u);
    EXPECT_EQ(fake2.boxes[1].caption, RecoveryReportCaption);
    EXPECT_NE(fake2.boxes[1].text.find("・音　…　こわれていない、いちばん新しい状態で戻しました"), std::string::npos);
    undoCommand(n);
    EXPECT_EQ(n.docs[0].Samples[999], 128);
}

// The program died between the step files' shift and the record of the new
// step: the steps are one number further on than the record says.
TEST_F(Recovery, StepsLeftAtOtherNumbersByACutOffShiftAreFound) {
    const int w = open(1000);
    change(w, 20, 10);
    std::ifstream in(file(w), std::ios::binary);
    const std::string before{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    change(w, 14, 20);
    std::ofstream(file(w), std::ios::binary | std::ios::trunc) << before;
    EditorState& n = restart(MsgAnswer::Yes);
    EXPECT_EQ(fake2.boxes.size(), 1u); // the record's state and history came back whole
    EXPECT_EQ(n.docs[0].Samples[999], 10);
    EXPECT_EQ(n.docs[0].UnDoFlag, "0020");
    undoCommand(n);
    EXPECT_EQ(n.docs[0].Samples[999], 128);
    EXPECT_EQ(n.docs[0].SelStart, 0);
}

TEST_F(Recovery, CleanFolderNoAndOnlyDamagedRecords) {
    restart(MsgAnswer::Yes);
    EXPECT_TRUE(fake2.boxes.empty()); // nothing left: nothing asked

    const int w = open(1000);
    change(w, 20, 10);
    fake2.boxes.clear();
    restart(MsgAnswer::No);
    EXPECT_EQ(fake2.boxes.size(), 1u);
    EXPECT_TRUE(fs::is_directory(root.path / UndoFolderName));
    EXPECT_TRUE(fs::is_empty(root.path / UndoFolderName));
    EXPECT_EQ(next->WindowCount, 0);

    change(w, 14, 20);
    std::ofstream(file(w), std::ios::binary | std::ios::trunc) << "WvRc\x01 not a record";
    fake2.boxes.clear();
    restart(MsgAnswer::Yes);
    EXPECT_EQ(next->WindowCount, 0);
    ASSERT_EQ(fake2.boxes.size(), 2u);
    EXPECT_NE(fake2.boxes[1].text.find("名前の分からない音）　…　戻せませんでした"), std::string::npos);
    EXPECT_FALSE(fs::exists(root.path / undoFileName(UndoPart::Info, w, 0)));
    EXPECT_FALSE(fs::exists(file(w)));
}

} // namespace
} // namespace wavora::test
