// The wait dialog's counting and faces, and the face message boxes: what the
// user sees while long work runs and when something cannot be done.
#include "FakePlatform.h"
#include "ui/FaceMessages.h"
#include "ui/WaitDialog.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <set>
#include <string>

namespace wavora {
namespace {

using test::FakePlatform;

class WaitDialogTest : public ::testing::Test {
  protected:
    FakePlatform fake;
    EditorState s{fake};
};

TEST_F(WaitDialogTest, OpeningStartsTheCountAndTheFirstFace) {
    s.wait.WaitTotal = 7;
    s.wait.WaitDone = 3;
    openWaitDialog(s);
    EXPECT_TRUE(fake.waitOpen);
    EXPECT_EQ(s.wait.WaitTotal, 0u);
    EXPECT_EQ(s.wait.WaitDone, 0u);
    EXPECT_EQ(fake.waitFace, "|  <(_ _)>");
    EXPECT_EQ(s.wait.WaitFaceText, "|  <(_ _)>");
}

TEST_F(WaitDialogTest, ClosesOnceDonePlusOneReachesTheTotal) {
    openWaitDialog(s);
    setWaitTotal(s, 10);
    EXPECT_EQ(fake.waitRange, 10u);
    advanceWait(s, 4);
    advanceWait(s, 4);
    EXPECT_TRUE(fake.waitOpen); // 8 + 1 < 10
    EXPECT_EQ(fake.waitPosition, 8u);
    advanceWait(s, 1);
    EXPECT_FALSE(fake.waitOpen);
    EXPECT_EQ(s.wait.WaitDone, 9u);

    openWaitDialog(s);
    setWaitTotal(s, 10);
    advanceWait(s, 9);
    EXPECT_FALSE(fake.waitOpen);
}

TEST_F(WaitDialogTest, ZeroStepsAndAClosedDialogChangeNothing) {
    openWaitDialog(s);
    setWaitTotal(s, 1); // the very next step would close it
    fake.waitFace = "unchanged";
    advanceWait(s, 0);
    EXPECT_TRUE(fake.waitOpen);
    EXPECT_EQ(fake.waitFace, "unchanged");
    EXPECT_EQ(fake.waitPosition, 0u);

    // The user closed it: later reports are dropped.
    fake.waitDialogDestroy();
    advanceWait(s, 3);
    setWaitTotal(s, 50);
    EXPECT_EQ(s.wait.WaitDone, 0u);
    EXPECT_EQ(s.wait.WaitTotal, 1u);
    EXPECT_EQ(fake.waitPosition, 0u);
    EXPECT_EQ(fake.waitFace, "unchanged");
}

TEST_F(WaitDialogTest, NoTotalClosesAtTheFirstStepAndTheCountNeverWraps) {
    openWaitDialog(s);
    advanceWait(s, 1);
    EXPECT_FALSE(fake.waitOpen);

    // At the top of the 32-bit range "done + 1" must not wrap to 0 and keep
    // the dialog open for ever.
    constexpr std::uint32_t top = std::numeric_limits<std::uint32_t>::max();
    openWaitDialog(s);
    setWaitTotal(s, top);
    s.wait.WaitDone = top - 3;
    advanceWait(s, 1);
    EXPECT_TRUE(fake.waitOpen); // (top - 2) + 1 < top
    advanceWait(s, 2);          // done is top: in 32 bits top + 1 would be 0
    EXPECT_FALSE(fake.waitOpen);
    EXPECT_EQ(s.wait.WaitDone, top);

    openWaitDialog(s);
    setWaitTotal(s, top);
    s.wait.WaitDone = top - 2;
    advanceWait(s, 5); // would wrap past the top
    EXPECT_FALSE(fake.waitOpen);
    EXPECT_EQ(s.wait.WaitDone, top);
}

TEST_F(WaitDialogTest, EveryStepShowsOneOfTheSeventeenFacesDrawnFromTheClock) {
    std::set<std::string> faces(WaitFaces.begin(), WaitFaces.end());
    EXPECT_EQ(faces.size(), 15u);             // "|" and the far bow appear twice
    EXPECT_TRUE(faces.count("| 　<(_ _)>♪")); // with its full-width space
    std::set<std::string> shown;
    openWaitDialog(s);
    setWaitTotal(s, 1000000);
    for (std::uint32_t t = 0; t < 3000; ++t) {
        fake.ticks = t * 7919u;
        advanceWait(s, 1);
        ASSERT_TRUE(faces.count(fake.waitFace)) << fake.waitFace;
        ASSERT_EQ(s.wait.WaitFaceText, fake.waitFace);
        shown.insert(fake.waitFace);
    }
    EXPECT_EQ(shown, faces);
    // The same tick count gives the same face: the seed comes from the clock.
    fake.ticks = 4242;
    advanceWait(s, 1);
    std::string first = fake.waitFace;
    fake.waitFace.clear();
    advanceWait(s, 1);
    EXPECT_EQ(fake.waitFace, first);
}

// Captions over many tick counts: each face shows up, and the faces that own
// several of the ten draws show up that many times as often.
std::map<std::string, int> captionCounts(FakePlatform& fake, EditorState& s, void (*show)(EditorState&)) {
    fake.boxes.clear();
    for (std::uint32_t t = 0; t < 20000; ++t) {
        fake.ticks = t;
        show(s);
    }
    std::map<std::string, int> counts;
    for (const auto& b : fake.boxes)
        ++counts[b.caption];
    return counts;
}

void expectShare(const std::map<std::string, int>& counts, const std::string& common, double times) {
    double others = 0;
    for (const auto& [caption, n] : counts)
        if (caption != common) others += n;
    double each = others / static_cast<double>(counts.size() - 1);
    for (const auto& [caption, n] : counts) {
        if (caption != common) {
            EXPECT_NEAR(n / each, 1.0, 0.25) << caption;
        }
    }
    EXPECT_NEAR(counts.at(common) / each, times, times * 0.25);
}

TEST_F(WaitDialogTest, FaceMessagesDrawTheirCaptionsWithTheRightWeights) {
    auto general = captionCounts(fake, s, [](EditorState& st) { showFaceMessage(st, ""); });
    EXPECT_EQ(general.size(), 7u);
    for (const char* c : {"<(_ _)>", "（;・-・）", "m(_ _)m", "(つд⊂)", "（‘ v‘）/", "('-'*)", "(;ﾟ0ﾟ)"})
        EXPECT_TRUE(general.count(c)) << c;
    expectShare(general, "<(_ _)>", 4.0);
    for (const auto& b : fake.boxes)
        ASSERT_EQ(b.text, NoSoundWindowText);

    auto layer = captionCounts(fake, s, [](EditorState& st) { showNoLayerMessage(st); });
    EXPECT_EQ(layer.size(), 9u);
    expectShare(layer, "<(_ _)>", 2.0);
    EXPECT_EQ(
        fake.lastBox().text,
        "その画像にはレイヤーがありません。レイヤーがある画像のウィンドウを指定してから実行してください。");

    showFaceMessage(s, "別の話");
    EXPECT_EQ(fake.lastBox().text, "別の話");
    EXPECT_EQ(fake.lastBox().buttons, MsgButtons::Ok);
}

} // namespace
} // namespace wavora
