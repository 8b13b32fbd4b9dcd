// The general dialog's procedures as a user meets them: what OK accepts and
// refuses and with which words, what Cancel and the close box leave behind,
// the live previews, and the length limit of the new-sound dialog.
#include "DialogDriver.h"
#include "FakePlatform.h"
#include "app/NewSound.h"
#include "ui/GeneralDialog.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace wavora {
namespace {

using test::DialogUser;
using test::FakePlatform;
using test::pressCancel;
using test::pressOk;
using test::watchDialog;

// The last message box, or an empty one when none was shown, so that a
// missing message fails the comparison instead of reading past the list.
test::RecordedBox lastBox(const FakePlatform& fake) {
    return fake.boxes.empty() ? test::RecordedBox{"", "", MsgButtons::YesNo} : fake.boxes.back();
}

class GeneralDialogTest : public ::testing::Test {
  protected:
    FakePlatform fake;
    EditorState s{fake};

    DialogRow& row(int i) { return s.dialog.DialogRows[static_cast<std::size_t>(i)]; }
    int run() { return fake.runModalWindow(s, "HanyouDialog"); }

    // Headings above the checked row so that its number counts from the top.
    void rangeRequest(float max, float min) {
        beginDialog(s.dialog, "範囲", 4);
        addDialogRow(s.dialog, RowHeading, "見出し", "", 0, 0);
        addDialogRow(s.dialog, RowHeading, "見出し", "", 0, 0);
        addDialogRow(s.dialog, RowNumber, "値", "5", max, min);
        addDialogRow(s.dialog, RowHeading, "見出し", "", 0, 0);
    }

    // The rows of the new-sound dialog, without asking for the sound itself.
    void lengthRequest(const std::string& rate, bool sixteen) {
        beginDialog(s.dialog, "長さは11.3秒まで", 6);
        addDialogRow(s.dialog, RowLength, "長さ（秒）", "1", 500000.0f / 44100, 0);
        addDialogRow(s.dialog, RowText, "名前", "ウィンドウ0", 0, 0);
        addDialogRow(s.dialog, RowText, "サンプリングレート(8000～44100)", rate, 44100, 8000);
        addDialogRow(s.dialog, RowHeading, "1サンプル当たりのbit数", "", 0, 0);
        addDialogRow(s.dialog, RowRadio, "8bit(あらいけど長い)", sixteen ? "" : "1", 0, 0);
        addDialogRow(s.dialog, RowRadio, "16bit(きれいだけど短い)", sixteen ? "1" : "", 0, 0);
    }
};

const char* const TooBig = "上から3番目のデータが大きすぎます。\r\n範囲は1～10のあいだです。";
const char* const TooSmall = "上から3番目のデータが小さすぎます\r\n範囲は1～10のあいだです。";

TEST_F(GeneralDialogTest, BoundsAreInclusiveAndOneBeyondIsRefusedWithTheRowAndRange) {
    for (const char* ok : {"1", "10", " 7.25"}) {
        rangeRequest(10, 1);
        fake.dialogs.push_back(pressOk({{3, ok}}));
        EXPECT_EQ(run(), DialogResultOk) << ok;
        EXPECT_EQ(row(3).Value, ok);
    }
    EXPECT_TRUE(fake.boxes.empty());

    struct Case {
        const char* typed;
        const char* text;
    };
    for (Case c :
         {Case{"11", TooBig}, Case{"10.001", TooBig}, Case{"0", TooSmall}, Case{"0.999", TooSmall}}) {
        rangeRequest(10, 1);
        auto seen = watchDialog();
        fake.dialogs.push_back(pressOk({{3, c.typed}}, {}, seen));
        std::size_t before = fake.boxes.size();
        // The user cannot get past the refusal and finally cancels.
        EXPECT_EQ(run(), DialogResultCancel) << c.typed;
        ASSERT_EQ(fake.boxes.size(), before + 1);
        EXPECT_EQ(lastBox(fake).caption, "<(;_ _)>");
        EXPECT_EQ(lastBox(fake).text, c.text);
        EXPECT_EQ(lastBox(fake).buttons, MsgButtons::Ok);
        EXPECT_TRUE(seen->gaveUp);
        // What was typed is already in the row.
        EXPECT_EQ(row(3).Value, c.typed);
    }
}

TEST_F(GeneralDialogTest, TheUserCanCorrectARefusedValue) {
    rangeRequest(10, 1);
    auto seen = watchDialog();
    fake.dialogs.push_back(DialogUser().type(3, "12").ok().type(3, "9").ok().script(seen));
    EXPECT_EQ(run(), DialogResultOk);
    EXPECT_EQ(seen->refusalTexts.size(), 1u);
    EXPECT_EQ(seen->refusalTexts[0], TooBig);
    EXPECT_EQ(row(3).Value, "9");
}

TEST_F(GeneralDialogTest, FractionalBoundsReadAsShownAndNonNumbersReadAsZero) {
    // A bound that a float cannot hold exactly is shown with the digits it
    // has, and typing exactly that text is accepted.
    beginDialog(s.dialog, "", 1);
    addDialogRow(s.dialog, RowSlider, "", "0", 0.1f, -2.5f);
    fake.dialogs.push_back(pressOk({{1, "0.1"}}));
    EXPECT_EQ(run(), DialogResultOk);
    fake.dialogs.push_back(pressOk({{1, "0.11"}}));
    run();
    EXPECT_EQ(lastBox(fake).text, "上から1番目のデータが大きすぎます。\r\n範囲は-2.5～0.1のあいだです。");

    beginDialog(s.dialog, "", 1);
    addDialogRow(s.dialog, RowNumber, "", "1", 1, 0.1f);
    fake.dialogs.push_back(pressOk({{1, "0.1"}}));
    EXPECT_EQ(run(), DialogResultOk);

    // "abc" reads as 0: refused below 1, accepted when 0 is inside the range.
    rangeRequest(10, 1);
    fake.dialogs.push_back(pressOk({{3, "abc"}}));
    EXPECT_EQ(run(), DialogResultCancel);
    EXPECT_EQ(lastBox(fake).text, TooSmall);
    std::size_t boxes = fake.boxes.size();
    rangeRequest(5, -5);
    fake.dialogs.push_back(pressOk({{3, "abc"}}));
    EXPECT_EQ(run(), DialogResultOk);
    EXPECT_EQ(row(3).Value, "abc");
    EXPECT_EQ(fake.boxes.size(), boxes);
}

TEST_F(GeneralDialogTest, OnlyBoundedValueRowsAreCheckedAndTheFirstFailureStops) {
    beginDialog(s.dialog, "", 6);
    addDialogRow(s.dialog, RowNumber, "", "", 0, 0);      // both 0: anything goes
    addDialogRow(s.dialog, RowText, "", "", 20, 10);      // a bounded text row is checked
    addDialogRow(s.dialog, RowCheck, "", "", 0.5f, 0.2f); // never checked
    addDialogRow(s.dialog, RowLength, "", "", 3, 2);
    addDialogRow(s.dialog, RowSlider, "", "", 3, 2);
    addDialogRow(s.dialog, RowHeading, "", "", 3, 2); // never checked
    fake.dialogs.push_back(pressOk({{1, "1e99"}, {2, "15"}, {4, "9"}, {5, "9"}, {6, "9"}}, {{3, true}}));
    EXPECT_EQ(run(), DialogResultCancel);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(lastBox(fake).text, "上から4番目のデータが大きすぎます。\r\n範囲は2～3のあいだです。");
    // Every row was copied before the check: the values stay as typed.
    EXPECT_EQ(row(5).Value, "9");
    EXPECT_EQ(row(3).Value, "1");

    fake.dialogs.push_back(pressOk({{2, "9"}}));
    run();
    EXPECT_EQ(lastBox(fake).text, "上から2番目のデータが小さすぎます\r\n範囲は10～20のあいだです。");
}

TEST_F(GeneralDialogTest, RequiredChecksCountOnlyTickedCheckRows) {
    auto request = [&] {
        beginDialog(s.dialog, "", 5);
        s.dialog.RequiredChecks = 2;
        addDialogRow(s.dialog, RowCheck, "a", "", 0, 0);
        addDialogRow(s.dialog, RowCheck, "b", "", 0, 0);
        addDialogRow(s.dialog, RowCheck, "c", "", 0, 0);
        addDialogRow(s.dialog, RowRadio, "d", "1", 0, 0);
        addDialogRow(s.dialog, RowRadio, "e", "", 0, 0);
    };
    // One check and a radio are still one; three are one too many.
    for (const auto& ticks :
         {std::map<int, bool>{{1, true}, {5, true}}, std::map<int, bool>{{1, true}, {2, true}, {3, true}}}) {
        request();
        fake.dialogs.push_back(pressOk({}, ticks));
        EXPECT_EQ(run(), DialogResultCancel);
        EXPECT_EQ(lastBox(fake).caption, "(o・ェ・)");
        EXPECT_EQ(lastBox(fake).text, "2個を選択してください。");
        EXPECT_EQ(row(1).Value, ""); // refused before anything is copied
    }
    std::size_t boxes = fake.boxes.size();
    request();
    fake.dialogs.push_back(pressOk({}, {{1, true}, {3, true}, {5, true}}));
    EXPECT_EQ(run(), DialogResultOk);
    EXPECT_EQ(fake.boxes.size(), boxes);
    EXPECT_EQ(row(1).Value + row(2).Value + row(3).Value, "101");
    // Selecting radio 5 turned radio 4 off.
    EXPECT_EQ(row(4).Value + row(5).Value, "01");

    // Without check rows the rule does not apply.
    beginDialog(s.dialog, "", 1);
    s.dialog.RequiredChecks = 2;
    addDialogRow(s.dialog, RowRadio, "", "1", 0, 0);
    fake.dialogs.push_back(pressOk());
    EXPECT_EQ(run(), DialogResultOk);
}

TEST_F(GeneralDialogTest, AnswerByteCancelAndCloseBox) {
    rangeRequest(10, 1);
    fake.dialogs.push_back(pressOk());
    run();
    EXPECT_EQ(s.dialog.DialogAnswer, 1);
    rangeRequest(10, 1);
    s.dialog.DialogAnswer = 2; // values other than 0 are the command's own
    fake.dialogs.push_back(pressOk());
    run();
    EXPECT_EQ(s.dialog.DialogAnswer, 2);

    // Cancel: playback and looping stop, the command guard is released, the
    // rows keep their defaults.
    rangeRequest(10, 1);
    s.BusyFlag = 1;
    s.play.PlayingFlag = 1;
    s.play.LoopPlay = 1;
    fake.dialogs.push_back(DialogUser().type(3, "8").cancel().script());
    EXPECT_EQ(run(), DialogResultCancel);
    EXPECT_EQ(s.BusyFlag, 0);
    EXPECT_EQ(s.play.PlayingFlag, 0);
    EXPECT_EQ(s.play.LoopPlay, 0);
    EXPECT_EQ(fake.waveOutStops, 1);
    EXPECT_EQ(row(3).Value, "5");
    EXPECT_EQ(s.dialog.DialogAnswer, 0);
    fake.dialogs.push_back(pressCancel());
    run();
    EXPECT_EQ(fake.waveOutStops, 1); // nothing was playing the second time

    // The close box answers 0 but reads nothing: the command sees its defaults.
    fake.dialogs.push_back(DialogUser().type(3, "8").closeBox().script());
    s.BusyFlag = 1;
    EXPECT_EQ(run(), DialogResultOk);
    EXPECT_EQ(row(3).Value, "5");
    EXPECT_EQ(s.BusyFlag, 1);
}

TEST_F(GeneralDialogTest, FlagsDuringTheDialogAndAfterItsDestruction) {
    rangeRequest(10, 1);
    s.dialog.PreviewMode.chorus = 1;
    s.dialog.effectPreview = [](EditorState&) {};
    s.dialog.controlsPreview = [](EditorState&, const DialogControls&) {};
    int open = -1, ready = -1;
    fake.dialogs.push_back(DialogUser()
                               .then([&](EditorState& st) {
                                   open = st.dialog.DialogOpen;
                                   ready = st.dialog.DialogReady;
                               })
                               .ok()
                               .script());
    run();
    EXPECT_EQ(open, 1);
    EXPECT_EQ(ready, 1);
    EXPECT_EQ(s.dialog.DialogOpen, 0);
    EXPECT_EQ(s.dialog.DialogReady, 0);
    EXPECT_EQ(s.dialog.PreviewMode.chorus, 0);
    EXPECT_FALSE(s.dialog.effectPreview);
    EXPECT_FALSE(s.dialog.controlsPreview);
}

TEST_F(GeneralDialogTest, EffectPreviewSetsTheParameterOfItsModeAndAppliesTheEffect) {
    int applied = 0;
    auto fakeEffect = [&](EditorState&) { ++applied; };
    auto edit = [&](int r, const std::string& text) {
        DialogControls c = initialControls(s.dialog);
        c.text[static_cast<std::size_t>(r)] = text;
        dialogEditChanged(s, r, c);
    };
    beginDialog(s.dialog, "", 3);
    addDialogRow(s.dialog, RowSlider, "", "", 100, 0);
    addDialogRow(s.dialog, RowSlider, "", "", 100, 0);
    addDialogRow(s.dialog, RowSlider, "", "", 100, 0);
    s.dialog.effectPreview = fakeEffect;
    dialogLaidOut(s);

    s.dialog.PreviewMode.multiEcho = 1;
    edit(1, "3");
    EXPECT_DOUBLE_EQ(s.dialog.preview.multiEchoFirst, 0.03);
    edit(1, "5"); // five and more are ignored
    EXPECT_DOUBLE_EQ(s.dialog.preview.multiEchoFirst, 0.03);
    edit(2, "40");
    EXPECT_DOUBLE_EQ(s.dialog.preview.multiEchoSecond, 0.4);
    edit(3, "1"); // row 3 previews nothing
    EXPECT_EQ(applied, 2);

    s.dialog.PreviewMode = {};
    s.dialog.PreviewMode.distortion = 1;
    edit(1, "7.9");
    EXPECT_EQ(s.dialog.preview.distortion, 7);
    edit(2, "50");
    EXPECT_EQ(applied, 3);

    s.dialog.PreviewMode = {};
    s.dialog.PreviewMode.chorus = 1;
    edit(1, "250");
    EXPECT_DOUBLE_EQ(s.dialog.preview.chorusFrequency, 0.25);
    s.dialog.ChorusPreviewTarget = 1;
    edit(1, "30");
    EXPECT_DOUBLE_EQ(s.dialog.preview.chorusVolume, 3.0);
    edit(2, "45");
    EXPECT_DOUBLE_EQ(s.dialog.preview.chorusVolume, 4.5);
    EXPECT_EQ(applied, 6);
    row(2).Kind = RowNumber; // the chorus previews only its slider rows
    edit(2, "60");
    EXPECT_DOUBLE_EQ(s.dialog.preview.chorusVolume, 4.5);

    // While the dialog is being built, and without a mode, nothing happens.
    s.dialog.DialogReady = 0;
    edit(1, "10");
    s.dialog.DialogReady = 1;
    s.dialog.PreviewMode = {};
    edit(1, "10");
    EXPECT_EQ(applied, 6);
}

TEST_F(GeneralDialogTest, ControlsPreviewSeesEveryChangeAsTheControlsStand) {
    beginDialog(s.dialog, "", 2);
    addDialogRow(s.dialog, RowNumber, "", "1", 0, 0);
    addDialogRow(s.dialog, RowCheck, "", "", 0, 0);
    std::vector<std::string> seen;
    s.dialog.controlsPreview = [&](EditorState&, const DialogControls& c) {
        seen.push_back(c.text[1] + (c.checked[2] ? "+" : "-"));
    };
    fake.dialogs.push_back(DialogUser().type(1, "440").tick(2).type(1, "880").ok().script());
    run();
    EXPECT_EQ(seen, (std::vector<std::string>{"440-", "440+", "880+"}));

    // Not before the layout is done.
    beginDialog(s.dialog, "", 1);
    addDialogRow(s.dialog, RowNumber, "", "1", 0, 0);
    int calls = 0;
    s.dialog.controlsPreview = [&](EditorState&, const DialogControls&) { ++calls; };
    s.dialog.DialogReady = 0;
    dialogControlsChanged(s, initialControls(s.dialog));
    EXPECT_EQ(calls, 0);
}

TEST_F(GeneralDialogTest, LengthLimitFollowsRateAndDepth) {
    lengthRequest("44100", false);
    auto seen = watchDialog();
    fake.dialogs.push_back(DialogUser().type(3, "8000").tick(6).type(3, "44100").ok().script(seen));
    run();
    ASSERT_EQ(seen->updates.size(), 3u);
    EXPECT_EQ(seen->updates[0].caption, "長さは62.5秒まで");
    EXPECT_EQ(seen->updates[0].spinMin, 0);
    EXPECT_EQ(seen->updates[0].spinMax, 62);
    EXPECT_EQ(seen->updates[1].caption, "長さは31.2秒まで"); // 8000 Hz, 16 bit: cut, not rounded
    EXPECT_EQ(seen->updates[2].caption, "長さは5.66秒まで");
    EXPECT_EQ(seen->updates[2].spinMax, 5);
    EXPECT_EQ(s.dialog.DialogCaption, "長さは5.66秒まで");
    EXPECT_FLOAT_EQ(row(1).Max, 500000.0f / 88200);

    // A limit with the same whole seconds still replaces the old one: 11.36 s
    // at 44000 Hz must not stay in force once 44100 Hz allows only 11.33 s.
    lengthRequest("44000", false);
    row(1).Max = 500000.0f / 44000;
    auto again = watchDialog();
    fake.dialogs.push_back(DialogUser().type(3, "44100").type(1, "11.35").ok().script(again));
    ASSERT_EQ(run(), DialogResultCancel);
    EXPECT_FLOAT_EQ(row(1).Max, 500000.0f / 44100);
    ASSERT_EQ(again->updates.size(), 1u);
    EXPECT_EQ(again->updates[0].spinMax, 11);
    ASSERT_EQ(again->refusalTexts.size(), 1u);
    EXPECT_EQ(again->refusalTexts[0],
              "上から1番目のデータが大きすぎます。\r\n範囲は0～11.337869のあいだです。");
}

TEST_F(GeneralDialogTest, LengthLimitIgnoresEditsThatChangeNothingOrNameNoRate) {
    lengthRequest("44100", false);
    auto seen = watchDialog();
    // The limit in force already fits 44100 Hz, 8 bit; typing a length or a
    // name, or a rate that is no number yet, changes nothing.
    fake.dialogs.push_back(DialogUser()
                               .type(1, "2")
                               .type(2, "音")
                               .type(3, "0")
                               .type(3, "")
                               .type(3, "abc")
                               .type(3, "44100")
                               .ok()
                               .script(seen));
    run();
    EXPECT_TRUE(seen->updates.empty());
    EXPECT_EQ(s.dialog.DialogCaption, "長さは11.3秒まで");
    EXPECT_FLOAT_EQ(row(1).Max, 500000.0f / 44100);

    // A length row elsewhere than row 1 has no limit step.
    beginDialog(s.dialog, "c", 6);
    addDialogRow(s.dialog, RowNumber, "", "1", 10, 0);
    addDialogRow(s.dialog, RowLength, "", "1", 10, 0);
    addDialogRow(s.dialog, RowText, "", "8000", 0, 0);
    for (int i = 4; i <= 6; ++i)
        addDialogRow(s.dialog, RowRadio, "", "1", 0, 0);
    fake.dialogs.push_back(DialogUser().type(3, "9000").ok().script(seen));
    run();
    EXPECT_EQ(s.dialog.DialogCaption, "c");
    EXPECT_FLOAT_EQ(row(1).Max, 10);
}

TEST_F(GeneralDialogTest, OkChecksTheLengthAgainstTheDepthChosenLast) {
    // An adapter that reports no event for the depth radios must not let a
    // 16-bit sound through with the 8-bit limit.
    lengthRequest("44100", false);
    DialogControls c = initialControls(s.dialog);
    c.text[1] = "11";
    selectRadioRow(s.dialog, c, 6);
    dialogLaidOut(s);
    ASSERT_FALSE(dialogOk(s, c));
    EXPECT_EQ(lastBox(fake).text, "上から1番目のデータが大きすぎます。\r\n範囲は0～5.6689343のあいだです。");
    c.text[1] = "5.6";
    EXPECT_TRUE(dialogOk(s, c));
    EXPECT_EQ(row(6).Value, "1");
    EXPECT_EQ(row(5).Value, "0");
}

TEST(GeneralDialogNewSound, OkCreatesTheRequestedSound) {
    FakePlatform fake;
    auto root = std::filesystem::temp_directory_path() / ("wavora-dialog-new-" + std::to_string(getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "WavoraUnDo");
    {
        EditorState s(fake, root);
        auto seen = watchDialog();
        fake.dialogs.push_back(pressOk({{1, "0.5"}, {3, "8000"}}, {{6, true}}, seen));
        newSoundCommand(s);
        EXPECT_EQ(seen->result, DialogResultOk);
        EXPECT_EQ(s.WindowCount, 1);
        EXPECT_EQ(s.active().DataLen, 8000);
        EXPECT_EQ(s.active().BitsParSample, 16);

        // A length beyond the limit of the chosen rate is refused, nothing is made.
        fake.dialogs.push_back(pressOk({{1, "40"}, {3, "16000"}}, {{5, true}}));
        newSoundCommand(s);
        EXPECT_EQ(lastBox(fake).text, "上から1番目のデータが大きすぎます。\r\n範囲は0～31.25のあいだです。");
        EXPECT_EQ(s.WindowCount, 1);
    }
    std::filesystem::remove_all(root);
}

} // namespace
} // namespace wavora
