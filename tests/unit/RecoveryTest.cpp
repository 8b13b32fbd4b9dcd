// A run that dies leaves its sounds in the undo folder and the next start
// offers them back. The run that "died" stays alive here beside the one that
// starts next in the same folder, so what comes back is compared with what
// the user had, and undo and redo are run on both.
#include "ToolTestSupport.h"
#include "app/NewSound.h"
#include "app/StartupRecovery.h"
#include "input/SoundWindowLifetime.h"
#include "layers/Layers.h"
#include "undo/RecoveryKeeper.h"
#include "undo/RecoveryRecord.h"
#include "undo/UndoFiles.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace wavora::test {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Everything of a slot the user can see or reach: title, sound, graphs,
// format, selection, marker, layers, history and the Edit menu.
std::string whatUserHas(EditorState& s, FakePlatform& fake, int slot) {
    SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
    s.ActWndNum = slot;
    refreshUndoMenu(s);
    std::ostringstream o;
    o << fake.windowTitle(d.WindowHandle) << d.DataLen << d.SRATE << +d.BitsParSample << d.Channels << d.HasSelection
      << d.HasMarker << d.SelStart << d.SelLength << d.UnDoFlag << '/' << d.Yarinaoshi << +d.ActiveLayer;
    for (const auto* buffer : {&d.Samples, &d.VolumeGraph, &d.PitchGraph})
        o.write(reinterpret_cast<const char*>(buffer->data()), d.DataLen);
    for (int p = 1; p <= d.LayerCount; ++p) {
        const auto L = static_cast<std::size_t>(d.LayerIds[static_cast<std::size_t>(p)]);
        o << L << s.layers.LyStart[L] << s.layers.LyLen[L] << +s.layers.LyAdditive[L] << +s.layers.LySamples[L][5];
    }
    for (int item : {0, 1}) o << fake.menu[std::pair(1, item)].caption << fake.menu[std::pair(1, item)].enabled;
    return o.str();
}

struct Recovery : ToolFixture {
    FakePlatform fake2;
    std::unique_ptr<EditorState> next;
    fs::path record(int slot) const { return root.path / recoveryFileName(slot); }
    EditorState& restart(MsgAnswer answer) {
        fake2.boxes.clear();
        next = std::make_unique<EditorState>(fake2, root.path);
        fake2.answers = {answer};
        offerRecovery(*next);
        return *next;
    }
    void change(int slot, int code, std::uint8_t mark) {
        SoundDoc& d = doc(s.ActWndNum = slot);
        std::fill_n(d.Samples.begin(), d.DataLen, mark);
        std::fill_n(d.PitchGraph.begin(), 100, mark);
        std::fill_n(d.VolumeGraph.begin() + 100, 100, mark);
        d.SelStart = d.HasMarker = mark;
        snapshot(s, code);
    }
    void makeLayer(int slot, int x0) {
        fake.activeWindow = doc(slot).WindowHandle; // the windows lie over each other: the drop stays here
        select(slot, x0, x0 + 100);
        s.CurrentTool = ToolMakeLayer;
        drag(slot, 250 + x0, 50, 270 + x0, 50);
    }
    void rename(const char* title) {
        fake.dialogs.push_back([title](EditorState& st) {
            st.dialog.DialogRows[1].Value = title;
            return 0;
        });
        renameCommand(s);
    }
};

TEST_F(Recovery, TheRecordFollowsStepsUndoRedoRenameAndTheClose) {
    const int w = open(1000);
    change(w, 20, 10);
    change(w, 14, 20);
    undoCommand(s);
    change(w, 29, 30); // the undone step dropped: the files move down
    for (auto step : {undoCommand, redoCommand, undoCommand}) step(s);
    rename("ぴこぴこ");
    const std::string bytes = bytesOf(record(w));
    auto r = parseRecoveryRecord({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, w);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->undoCodes + "/" + r->redoCodes + "/" + r->title + "/" + std::to_string(r->undoPos), "0020/29/ぴこぴこ/1");
    ASSERT_EQ(r->stepTags.size(), 3u);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(storedStepTag(s, w, k), r->stepTags[static_cast<std::size_t>(k)]) << k;
    EXPECT_FALSE(fs::exists(root.path / recoveryTempName(w)));
    onDestroy(s, w);
    EXPECT_FALSE(fs::exists(record(w)));
}

TEST_F(Recovery, TwoSoundsWithLayersComeBackInTheirSlotsAndGoOn) {
    const int a = open(3000);
    open(500);
    const int b = open(2000);
    onDestroy(s, 1); // slot 1 is free when the program dies
    makeLayer(a, 100);
    change(a, 20, 10);
    makeLayer(b, 300);
    toggleTransparency(s);
    change(b, 14, 40);
    change(b, 29, 50);
    undoCommand(s);
    rename("二つ目");
    ASSERT_EQ(doc(a).LayerCount * doc(b).LayerCount, 1);

    restart(MsgAnswer::Yes);
    ASSERT_EQ(fake2.boxes.size(), 1u); // the question (its words are checked on the real box)
    EXPECT_EQ(next->docs[1].WindowHandle, 0u);
    for (int slot : {a, b}) {
        EXPECT_EQ(whatUserHas(*next, fake2, slot), whatUserHas(s, fake, slot)) << slot;
        for (auto step : {undoCommand, undoCommand, redoCommand, undoCommand}) {
            step(s);
            step(*next);
            EXPECT_EQ(whatUserHas(*next, fake2, slot), whatUserHas(s, fake, slot)) << slot;
        }
    }
}

TEST_F(Recovery, DamagedStepsFallBackOrAreFoundWhereACutOffShiftLeftThem) {
    const int w = open(1000);
    change(w, 20, 10);
    const std::string before = bytesOf(record(w));
    change(w, 14, 20);
    // The newest step cut short: the one before it comes back, and is named.
    fs::resize_file(root.path / undoFileName(UndoPart::Nami, w, 0), 10);
    restart(MsgAnswer::Yes);
    EXPECT_EQ(std::pair(int{next->docs[0].Samples[999]}, next->docs[0].UnDoFlag), std::pair(10, std::string("0020")));
    ASSERT_EQ(fake2.boxes.size(), 2u);
    EXPECT_EQ(fake2.boxes[1].caption, RecoveryReportCaption);
    EXPECT_NE(fake2.boxes[1].text.find("・音　…　こわれていない、いちばん新しい状態で戻しました"), std::string::npos);

    // Died between the steps' shift and the new record: they lie one number on.
    change(w, 14, 20);
    std::ofstream(record(w), std::ios::binary | std::ios::trunc) << before;
    EditorState& n = restart(MsgAnswer::Yes);
    EXPECT_EQ(fake2.boxes.size(), 1u); // the state and history of the record came back whole
    EXPECT_EQ(std::pair(int{n.docs[0].Samples[999]}, n.docs[0].UnDoFlag), std::pair(10, std::string("0020")));
    undoCommand(n);
    EXPECT_EQ(n.docs[0].Samples[999], 128);
}

TEST_F(Recovery, CleanFolderNoAndOnlyDamagedRecords) {
    restart(MsgAnswer::Yes);
    EXPECT_TRUE(fake2.boxes.empty()); // nothing left: nothing asked

    const int w = open(1000);
    restart(MsgAnswer::No);
    EXPECT_EQ(fake2.boxes.size(), 1u);
    EXPECT_TRUE(fs::is_directory(root.path / UndoFolderName) && fs::is_empty(root.path / UndoFolderName));
    EXPECT_EQ(next->WindowCount, 0);

    change(w, 14, 20);
    std::ofstream(record(w), std::ios::binary | std::ios::trunc) << "WvRc\x01 not a record";
    restart(MsgAnswer::Yes);
    EXPECT_EQ(next->WindowCount, 0);
    ASSERT_EQ(fake2.boxes.size(), 2u);
    EXPECT_NE(fake2.boxes[1].text.find("名前の分からない音）　…　戻せませんでした"), std::string::npos);
    EXPECT_FALSE(fs::exists(root.path / undoFileName(UndoPart::Info, w, 0)) || fs::exists(record(w)));
}

} // namespace
} // namespace wavora::test
