// The frame's own decisions: which slot is active, the close question, the
// command table and the small commands the frame handles itself.
#include "DialogDriver.h"
#include "FakePlatform.h"
#include "TempFolder.h"
#include "app/Commands.h"
#include "app/Frame.h"
#include "app/MenuTable.h"
#include "app/NewSound.h"
#include "undo/UndoStore.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wavora {
namespace {

using namespace test;

struct Frame : ::testing::Test {
    TempRoot root;
    FakePlatform fake;
    EditorState s{fake, root.path};
    int newSound() {
        fake.dialogs.push_back(DialogUser().ok().script());
        newSoundCommand(s);
        return s.ActWndNum;
    }
};

TEST_F(Frame, ActiveSlotFollowsTheActiveSoundWindow) {
    newSound();
    newSound();
    followActiveWindow(s, s.docs[0].WindowHandle);
    EXPECT_EQ(s.ActWndNum, 0);
    followActiveWindow(s, 0); // no sound window active: stays
    EXPECT_EQ(s.ActWndNum, 0);
    followActiveWindow(s, 9999);
    EXPECT_EQ(s.ActWndNum, 0);
    s.ActWndNum = 7;
    followActiveWindow(s, 9999);
    EXPECT_EQ(s.ActWndNum, 0);
}

TEST_F(Frame, CloseAsksAndOnYesClosesEverySoundWindow) {
    newSound();
    newSound();
    newSound();
    fake.boxes.clear();
    std::vector<std::pair<WindowId, int>> closed;
    fake.onRequestClose = [&](WindowId w) { closed.push_back({w, s.ActWndNum}); };

    fake.answers.push_back(MsgAnswer::No);
    EXPECT_FALSE(frameCloseRequested(s));
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.lastBox().caption, "(ﾟoﾟ)!　Wavoraを閉じる");
    EXPECT_EQ(fake.lastBox().text, "本当にWavoraを閉じますか？　はい(y)＝閉じる　いいえ(n)＝閉じない");
    EXPECT_EQ(fake.lastBox().buttons, MsgButtons::YesNo);
    EXPECT_TRUE(closed.empty());

    EXPECT_TRUE(frameCloseRequested(s));
    ASSERT_EQ(closed.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(closed[static_cast<std::size_t>(i)].first,
                  s.docs[static_cast<std::size_t>(i)].WindowHandle);
        EXPECT_EQ(closed[static_cast<std::size_t>(i)].second, i); // each is made active before it closes
    }
}

TEST_F(Frame, EveryMenuItemIsACommandAndOthersDoNothing) {
    for (const MenuPopup& p : menuBar())
        for (const MenuItem& item : p.items) {
            if (item.id == 0) continue;
            EXPECT_TRUE(isCommandId(item.id)) << item.id;
        }
    EXPECT_TRUE(isCommandId(1265));
    EXPECT_FALSE(isCommandId(0));
    EXPECT_FALSE(isCommandId(1000));
    EXPECT_EQ(commandHandler(1000), nullptr);
    dispatchCommand(s, 1000);
    dispatchCommand(s, 9000); // the window list of the MDI menu
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Frame, ContextMenuIdentifiersAreTheirsWhileTheMenuIsOpen) {
    s.frame.PopupMenuFlag = 1;
    dispatchCommand(s, 12310);
    EXPECT_EQ(s.frame.PopupMenuFlag, 0);
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Frame, ToolCommands) {
    newSound();
    SoundDoc& d = s.active();
    d.HasSelection = 1;
    d.HasMarker = 1;
    d.SelStart = 10;
    d.SelLength = 5;
    int paints = fake.windows[d.WindowHandle].invalidations;
    dispatchCommand(s, 1205);
    EXPECT_EQ(s.CurrentTool, 3);
    EXPECT_EQ(d.HasSelection, 0);
    EXPECT_EQ(d.HasMarker, 0);
    EXPECT_EQ(d.SelStart, 0);
    EXPECT_EQ(d.SelLength, d.DataLen);
    EXPECT_GT(fake.windows[d.WindowHandle].invalidations, paints);
    dispatchCommand(s, 1206);
    EXPECT_EQ(s.CurrentTool, 4);
}

TEST_F(Frame, GraphResetsAreRecordedAndCanBeUndone) {
    newSound();
    SoundDoc& d = s.active();
    std::fill_n(d.PitchGraph.begin(), 100, std::uint8_t{3});
    snapshot(s, 15);
    dispatchCommand(s, 1221);
    EXPECT_TRUE(
        std::all_of(d.PitchGraph.begin(), d.PitchGraph.end(), [](std::uint8_t b) { return b == 128; }));
    EXPECT_EQ(d.UnDoFlag, "001512");
    EXPECT_EQ(fake.menu[std::pair(EditPopup, 0)].caption, "音の高さグラフのリセット の取消し(&U)");
    dispatchCommand(s, 1212);
    EXPECT_EQ(d.PitchGraph[99], 3);
    EXPECT_EQ(fake.menu[std::pair(EditPopup, 1)].caption, "音の高さグラフのリセット のやり直し(&Y)");

    std::fill_n(d.VolumeGraph.begin(), 10, std::uint8_t{200});
    dispatchCommand(s, 1220);
    EXPECT_EQ(d.VolumeGraph[0], 128);
    EXPECT_EQ(d.UnDoFlag, "001511");
    EXPECT_EQ(fake.menu[std::pair(EditPopup, 0)].caption, "音量グラフのリセット の取消し(&U)");
}

TEST_F(Frame, GraphResetWithoutASoundOnlyTellsTheUser) {
    dispatchCommand(s, 1220);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_NE(fake.lastBox().text.find("音声データWindowがありません。"), std::string::npos);
    EXPECT_EQ(s.docs[0].UnDoFlag, "");
}

TEST_F(Frame, LatestVersionOpensTheProductPage) {
    dispatchCommand(s, 1267);
    ASSERT_EQ(fake.webPages.size(), 1u);
    EXPECT_EQ(fake.webPages[0], ProductPageUrl);
    EXPECT_EQ(fake.webPages[0].rfind("https://", 0), 0u);
}

} // namespace
} // namespace wavora
