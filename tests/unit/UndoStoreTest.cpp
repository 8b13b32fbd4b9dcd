// Undo and redo through the working files: the history strings, the Edit menu
// captions, the steps that come back, and what happens when files are gone.
#include "UndoTestSupport.h"

#include "undo/UndoFiles.h"
#include "view/SoundWindows.h"

#include <algorithm>

namespace wavora::test {
namespace {

using UndoStore = UndoFixture;

bool isSilentBase(const SoundDoc& d) {
    for (std::int32_t i = 0; i < d.DataLen; ++i) {
        auto at = static_cast<std::size_t>(i);
        if (d.Samples[at] != 128 || d.VolumeGraph[at] != 128 || d.PitchGraph[at] != 128) return false;
    }
    return d.SelStart == 0;
}

TEST_F(UndoStore, ThreeChangesUndoneAndRedoneWalkTheWholeHistory) {
    initialUndoMenu(*s);
    EXPECT_EQ(undoItem().caption, "<(_ _)>元に戻せません(&U)");
    EXPECT_FALSE(undoItem().enabled);
    EXPECT_EQ(undoItem().id, 1212);
    EXPECT_EQ(redoItem().caption, "<(_ _)>やり直せません(&Y)");
    EXPECT_FALSE(redoItem().enabled);
    EXPECT_EQ(redoItem().id, 1222);

    openSound(1000);
    SoundDoc& d = s->active();
    EXPECT_EQ(d.UnDoFlag, "00");
    EXPECT_FALSE(undoItem().enabled);
    change(20, 10);
    change(14, 20);
    change(29, 30);
    EXPECT_EQ(d.UnDoFlag, "00201429");
    EXPECT_EQ(undoItem().caption, "ディストーション の取消し(&U)");
    EXPECT_TRUE(undoItem().enabled);

    undoCommand(*s);
    EXPECT_TRUE(holds(d, 20));
    EXPECT_EQ(undoItem().caption, "エコー の取消し(&U)");
    EXPECT_EQ(redoItem().caption, "ディストーション のやり直し(&Y)");
    EXPECT_TRUE(redoItem().enabled);
    undoCommand(*s);
    EXPECT_TRUE(holds(d, 10));
    undoCommand(*s);
    EXPECT_TRUE(isSilentBase(d));
    EXPECT_EQ(d.UnDoFlag, "00");
    EXPECT_EQ(d.Yarinaoshi, "291420"); // the next step to redo is last
    EXPECT_EQ(d.UndoPos, 3);
    EXPECT_EQ(undoItem().caption, "<(_ _)>元に戻せません(&U)");
    EXPECT_FALSE(undoItem().enabled);
    EXPECT_EQ(redoItem().caption, "Sin波 のやり直し(&Y)");
    EXPECT_EQ(fake.debugLines.back(), "SRATE[ActWndNum]44100");
    EXPECT_NE(
        std::find(fake.debugLines.begin(), fake.debugLines.end(), "元に戻す　UnDoFlag$[ActWndNum]=00\r\n"),
        fake.debugLines.end());
    EXPECT_TRUE(fake.boxes.empty());

    // Nothing older than the base state.
    undoCommand(*s);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.lastBox().caption, "<(_ _)>戻せません.");
    EXPECT_EQ(fake.lastBox().text, "戻せるのは20回分の作業までです。");
    EXPECT_EQ(d.Yarinaoshi, "291420");
    EXPECT_TRUE(isSilentBase(d));
    EXPECT_EQ(s->BusyFlag, 0);

    redoCommand(*s);
    EXPECT_TRUE(holds(d, 10));
    EXPECT_EQ(d.UnDoFlag, "0020");
    EXPECT_EQ(d.Yarinaoshi, "2914");
    EXPECT_EQ(undoItem().caption, "Sin波 の取消し(&U)");
    EXPECT_EQ(redoItem().caption, "エコー のやり直し(&Y)");
    EXPECT_NE(std::find(fake.debugLines.begin(), fake.debugLines.end(),
                        "やり直す　Yarinaoshi$[ActWndNum]=2914\r\n"),
              fake.debugLines.end());
    redoCommand(*s);
    redoCommand(*s);
    EXPECT_TRUE(holds(d, 30));
    EXPECT_EQ(d.UnDoFlag, "00201429");
    EXPECT_EQ(d.Yarinaoshi, "");
    EXPECT_EQ(d.UndoPos, 0);
    EXPECT_EQ(redoItem().caption, "<(_ _)>やり直せません。(&Y)");
    EXPECT_FALSE(redoItem().enabled);
    // A redo with nothing left to redo changes nothing.
    redoCommand(*s);
    EXPECT_TRUE(holds(d, 30));
    EXPECT_EQ(d.UnDoFlag, "00201429");
}

TEST_F(UndoStore, CommandsDoNothingWhileAnotherRunsOrWithoutASound) {
    openSound(100);
    change(20, 10);
    s->BusyFlag = 1;
    undoCommand(*s);
    EXPECT_EQ(s->active().UnDoFlag, "0020");
    EXPECT_TRUE(holds(s->active(), 10));
    EXPECT_EQ(s->BusyFlag, 1);
    s->BusyFlag = 0;
    undoCommand(*s);
    redoCommand(*s);
    EXPECT_TRUE(holds(s->active(), 10));
    EXPECT_EQ(s->BusyFlag, 0);

    // The window was closed but the menu still names its last change.
    s->active().WindowHandle = 0;
    s->WindowCount = 0;
    undoCommand(*s);
    EXPECT_EQ(s->active().UnDoFlag, "0020");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_NE(fake.lastBox().text.find("音声データWindowがありません。"), std::string::npos);
}

TEST_F(UndoStore, AChangeAfterTwoUndosDropsTheRedoBranch) {
    openSound(500);
    SoundDoc& d = s->active();
    change(20, 10);
    change(21, 20);
    change(22, 30);
    change(23, 40);
    undoStep(*s);
    undoStep(*s);
    ASSERT_TRUE(holds(d, 20));
    change(24, 50);

    EXPECT_EQ(d.UnDoFlag, "00202124");
    EXPECT_EQ(d.Yarinaoshi, "");
    EXPECT_EQ(d.UndoPos, 0);
    EXPECT_EQ(redoItem().caption, "<(_ _)>やり直せません。(&Y)");
    EXPECT_FALSE(redoItem().enabled);
    EXPECT_EQ(undoItem().caption, "コーラス の取消し(&U)");

    // Steps 2..20 are now 1..19: step 1 is the state the change was made on.
    EXPECT_EQ(fileBytes("UnDo_Nami_00_00.txt"), std::vector<std::uint8_t>(500, 50));
    EXPECT_EQ(fileBytes("UnDo_Nami_00_01.txt"), std::vector<std::uint8_t>(500, 20));
    EXPECT_EQ(fileBytes("UnDo_Hz_00_02.txt"), std::vector<std::uint8_t>(500, 12));
    EXPECT_EQ(fileBytes("UnDo_Vol_00_03.txt"), std::vector<std::uint8_t>(500, 128));
    EXPECT_FALSE(std::filesystem::exists(undoFile("UnDo_Info_00_04.txt")));
    // The background's layer record moved along with the sound's step.
    std::vector<std::uint8_t> layerStep1 = fileBytes("UnDo_LyInfo_00_01.txt");
    ASSERT_EQ(layerStep1.size(), LayerRecordSize);
    EXPECT_EQ(getInt32(layerStep1.data() + 37), 20); // SelStart of the state with mark 20

    undoStep(*s);
    EXPECT_TRUE(holds(d, 20));
    EXPECT_EQ(d.Yarinaoshi, "24");
    undoStep(*s);
    EXPECT_TRUE(holds(d, 10));
    undoStep(*s);
    EXPECT_TRUE(isSilentBase(d));
    undoStep(*s);
    EXPECT_EQ(fake.boxCount("<(_ _)>戻せません."), 1);
    EXPECT_TRUE(isSilentBase(d));
    // And forward again over the new branch only.
    redoStep(*s);
    redoStep(*s);
    redoStep(*s);
    EXPECT_TRUE(holds(d, 50));
    EXPECT_EQ(d.UnDoFlag, "00202124");
}

TEST_F(UndoStore, TwentyOneChangesKeepTwentyStepsBack) {
    openSound(64);
    SoundDoc& d = s->active();
    std::string expected;
    for (int i = 1; i <= 21; ++i) {
        int code = 1 + (i * 7) % 39;
        change(code, static_cast<std::uint8_t>(i));
        expected += (code < 10 ? "0" : "") + std::to_string(code);
    }
    EXPECT_EQ(d.UnDoFlag.size(), 42u);
    EXPECT_EQ(d.UnDoFlag, expected); // the base state "00" has fallen out

    for (int i = 0; i < 20; ++i)
        undoCommand(*s);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(holds(d, 1)); // the oldest state still kept: after the first change
    EXPECT_EQ(d.UndoPos, 20);
    EXPECT_EQ(undoItem().caption, "<(_ _)>元に戻せません(&U)");

    undoCommand(*s);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.lastBox().text, "戻せるのは20回分の作業までです。");
    EXPECT_TRUE(holds(d, 1));
    EXPECT_EQ(d.UndoPos, 20);
}

TEST_F(UndoStore, UndoingARateAndDepthChangeBringsTheFormatBack) {
    openSound(1000);
    SoundDoc& d = s->active();
    d.DataLen = 2000;
    d.BitsParSample = 16;
    d.SRATE = 22050;
    d.Channels = 2;
    d.HasSelection = 1;
    d.SelRect = {5, 0, 60, 768};
    change(39, 17);
    EXPECT_EQ(fake.debugLines.back(), "UnDoTaihi SRATE[ActWndNum]22050");

    fake.windows[d.WindowHandle].enabled = false;
    int paintsBefore = fake.windows[d.WindowHandle].invalidations;
    undoCommand(*s);
    EXPECT_EQ(d.DataLen, 1000);
    EXPECT_EQ(d.BitsParSample, 8);
    EXPECT_EQ(d.SRATE, 44100);
    EXPECT_EQ(d.Channels, 1);
    EXPECT_EQ(d.HasSelection, 0);
    EXPECT_EQ(d.SelRect.left, 0);
    EXPECT_EQ(d.SelRect.right, 0);
    EXPECT_EQ(d.SelRect.bottom, 1000);
    EXPECT_EQ(d.SelLength, 1000);
    EXPECT_EQ(d.view.ExtentX, 1000);
    EXPECT_TRUE(isSilentBase(d));
    EXPECT_TRUE(fake.windows[d.WindowHandle].enabled);
    EXPECT_GT(fake.windows[d.WindowHandle].invalidations, paintsBefore);
    EXPECT_EQ(undoItem().caption, "<(_ _)>元に戻せません(&U)");
    EXPECT_EQ(redoItem().caption, "ビット変換 のやり直し(&Y)");

    redoCommand(*s);
    EXPECT_EQ(d.DataLen, 2000);
    EXPECT_EQ(d.BitsParSample, 16);
    EXPECT_EQ(d.SRATE, 22050);
    EXPECT_EQ(d.Channels, 2);
    EXPECT_EQ(d.SelRect.right, 60);
    EXPECT_TRUE(holds(d, 17));
}

TEST_F(UndoStore, EachWindowUndoesItsOwnHistory) {
    int a = openSound(300);
    change(20, 10);
    // The second sound starts with a selection of its own, so its layer record
    // (written under the same background id 0) differs from the first's.
    int b = 0;
    {
        b = 1;
        SoundDoc& db = s->docs[1];
        db.WindowHandle = fake.createSoundWindow("音2");
        ++s->WindowCount;
        s->ActWndNum = b;
        db.DataLen = 400;
        fillSound(db, 200);
        db.HasSelection = 1;
        db.SelStart = 7;
        db.SelLength = 9;
        db.SelRect = {3, 0, 30, 768};
        db.LayerIds[1] = 4;
        snapshot(*s, 0);
    }
    change(14, 210);
    ASSERT_EQ(s->docs[1].UnDoFlag, "0014");

    s->ActWndNum = a;
    refreshUndoMenu(*s);
    EXPECT_EQ(undoItem().caption, "Sin波 の取消し(&U)");
    EXPECT_EQ(redoItem().caption, "<(_ _)>やり直せません(&Y)"); // no "。" on activation
    EXPECT_FALSE(redoItem().enabled);

    undoCommand(*s);
    const SoundDoc& da = s->docs[static_cast<std::size_t>(a)];
    EXPECT_EQ(s->ActWndNum, a);
    EXPECT_TRUE(isSilentBase(da));
    EXPECT_EQ(da.DataLen, 300);
    EXPECT_EQ(da.HasSelection, 0);
    EXPECT_EQ(da.SelLength, 300);
    EXPECT_EQ(da.SelRect.left, 0);
    EXPECT_EQ(da.LayerIds[1], 0);
    EXPECT_EQ(da.Yarinaoshi, "20");
    // The other window's sound and history are untouched.
    const SoundDoc& db = s->docs[static_cast<std::size_t>(b)];
    EXPECT_TRUE(holds(db, 210));
    EXPECT_EQ(db.UnDoFlag, "0014");
    EXPECT_EQ(db.Yarinaoshi, "");

    s->ActWndNum = b;
    refreshUndoMenu(*s);
    EXPECT_EQ(undoItem().caption, "エコー の取消し(&U)");
    undoCommand(*s);
    EXPECT_EQ(db.DataLen, 400);
    EXPECT_EQ(db.Samples[0], 200);
    EXPECT_EQ(db.HasSelection, 1);
    EXPECT_EQ(db.SelStart, 7);
    EXPECT_EQ(db.SelLength, 9);
    EXPECT_TRUE(isSilentBase(da));
}

TEST_F(UndoStore, AnotherWindowsChangesDoNotLendThisWindowAnOldSelection) {
    // The background's layer files are shared: the second window's first
    // change pushes the first window's layer records one step further back.
    int a = openSound(300);
    SoundDoc& da = s->docs[static_cast<std::size_t>(a)];
    da.HasSelection = 1;
    da.SelStart = 40;
    da.SelLength = 10;
    da.SelRect = {4, 0, 5, 768};
    snapshot(*s, 20);
    openSound(200);
    s->ActWndNum = a;
    undoCommand(*s);
    EXPECT_EQ(da.UnDoFlag, "00");
    EXPECT_EQ(da.HasSelection, 0);
    EXPECT_EQ(da.SelStart, 0);
    EXPECT_EQ(da.SelLength, 300);
    EXPECT_EQ(da.SelRect.left, 0);
    redoCommand(*s);
    EXPECT_EQ(da.HasSelection, 1);
    EXPECT_EQ(da.SelStart, 40);
    EXPECT_EQ(da.SelLength, 10);
}

TEST_F(UndoStore, ANewSoundInAClosedWindowsSlotOffersNothingToRedo) {
    int slot = openSound(100);
    change(20, 10);
    undoCommand(*s);
    ASSERT_TRUE(redoItem().enabled);
    releaseSlot(*s, slot);
    // Under Windows the new window is activated while it is being made, and
    // activation rewrites both items from the slot's history.
    fake.onCreate = [&](WindowId) { refreshUndoMenu(*s); };
    ASSERT_EQ(createSoundWindow(*s, "新", 1100, 768), slot);
    snapshot(*s, 0);
    EXPECT_EQ(redoItem().caption, "<(_ _)>やり直せません(&Y)");
    EXPECT_FALSE(redoItem().enabled);
    EXPECT_EQ(s->active().UnDoFlag, "00");
}

TEST_F(UndoStore, AStepWithMissingOrShortFilesLeavesTheSoundAlone) {
    openSound(200);
    SoundDoc& d = s->active();
    change(20, 10);
    change(14, 20);
    change(29, 30);
    d.HasSelection = 1;
    d.SelLength = 5;
    // What the buffer holds now must not be taken for a step.
    std::fill_n(s->ScratchBuffer.begin(), 100, static_cast<std::uint8_t>(0));

    std::filesystem::remove(undoFile("UnDo_Nami_00_01.txt"));
    undoCommand(*s);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.lastBox().caption, "<(_ _)>");
    EXPECT_NE(fake.lastBox().text.find("読み込めなかった"), std::string::npos);
    EXPECT_TRUE(holds(d, 30));
    EXPECT_EQ(d.DataLen, 200);
    EXPECT_EQ(d.HasSelection, 1);
    EXPECT_EQ(d.SelLength, 5);
    // The history still describes the sound as it is.
    EXPECT_EQ(d.UnDoFlag, "00201429");
    EXPECT_EQ(d.Yarinaoshi, "");
    EXPECT_EQ(d.UndoPos, 0);
    EXPECT_EQ(undoItem().caption, "ディストーション の取消し(&U)");
    EXPECT_TRUE(undoItem().enabled);
    EXPECT_EQ(redoItem().caption, "<(_ _)>やり直せません(&Y)");
    EXPECT_FALSE(redoItem().enabled);

    truncateFile("UnDo_Hz_00_02.txt", 199);
    EXPECT_FALSE(restoreStep(*s, 2));
    truncateFile("UnDo_Info_00_03.txt", 52);
    EXPECT_FALSE(restoreStep(*s, 3));
    EXPECT_FALSE(restoreStep(*s, 9)); // never written
    EXPECT_EQ(fake.boxes.size(), 4u);
    EXPECT_TRUE(holds(d, 30));
    EXPECT_EQ(d.SelLength, 5);

    // A state record that names another slot or an impossible length is no step either.
    std::vector<std::uint8_t> info = fileBytes("UnDo_Info_00_00.txt");
    putInt32(info.data() + 5, DATALENMAX + 1);
    std::ofstream(undoFile("UnDo_Info_00_00.txt"), std::ios::binary)
        .write(reinterpret_cast<const char*>(info.data()), static_cast<std::streamsize>(info.size()));
    EXPECT_FALSE(restoreStep(*s, 0));
    EXPECT_EQ(d.DataLen, 200);
}

TEST_F(UndoStore, ARedoThatCannotBeReadKeepsItsPlaceInTheList) {
    openSound(200);
    SoundDoc& d = s->active();
    change(20, 10);
    change(14, 20);
    undoStep(*s);
    ASSERT_TRUE(holds(d, 10));
    std::filesystem::remove(undoFile("UnDo_Vol_00_00.txt"));
    redoStep(*s);
    EXPECT_EQ(fake.boxes.size(), 1u);
    EXPECT_TRUE(holds(d, 10));
    EXPECT_EQ(d.UnDoFlag, "0020");
    EXPECT_EQ(d.Yarinaoshi, "14");
    EXPECT_EQ(d.UndoPos, 1);
    EXPECT_EQ(redoItem().caption, "エコー のやり直し(&Y)");
    EXPECT_TRUE(redoItem().enabled);
    // Undo past it still works.
    undoStep(*s);
    EXPECT_TRUE(isSilentBase(d));
}

TEST_F(UndoStore, ClearingTheFolderRemovesEveryFile) {
    openSound(100);
    change(20, 10);
    saveEffectSource(*s);
    ASSERT_TRUE(std::filesystem::exists(undoFile("UnDo_Info_00_01.txt")));
    ASSERT_TRUE(std::filesystem::exists(undoFile("GenOn_00.txt")));
    clearUndoFolder(*s);
    EXPECT_FALSE(std::filesystem::exists(root / "WavoraUnDo"));
    EXPECT_TRUE(std::filesystem::exists(root));
    clearUndoFolder(*s); // a second time (no folder) is harmless
    EXPECT_FALSE(std::filesystem::exists(root / "WavoraUnDo"));
}

} // namespace
} // namespace wavora::test
