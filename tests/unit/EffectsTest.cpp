// Echo, multi-echo, chorus and distortion: the cores byte for byte, with the
// single-precision rounding a double would get wrong, and the commands with
// their dialogs, live previews, refusals and the chorus redo.
#include "EditTestSupport.h"
#include "app/Commands.h"
#include "edit/EffectCommands.h"
#include "edit/EffectCores.h"

#include <algorithm>

namespace wavora {
namespace {

using test::Bytes;
using test::DialogUser;
using test::pressOk;
using test::sample16;
using test::watchDialog;

class Effects : public test::EditFixture {
  protected:
    // `len` bytes of silence with `value` (around 128) at the given bytes.
    SoundDoc& quietSound(std::int32_t len, std::initializer_list<std::pair<int, int>> values = {}) {
        SoundDoc& d = openSound(len);
        std::fill_n(d.Samples.begin(), len, 128);
        for (auto [at, v] : values) d.Samples[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(128 + v);
        return d;
    }
};

TEST_F(Effects, EchoDelayIsTheSinglePrecisionProductCut) {
    openSound(10);
    s->effects.EchoDelay = 0.01f; // a double product gives 99.99999977
    EXPECT_EQ(echoDelayBytes(*s), 100);
    openSound(10, 16);
    EXPECT_EQ(echoDelayBytes(*s), 200);
}

TEST_F(Effects, EchoPastTheEndLengthensToTwiceTheDelayWithTheFirstEchoThere) {
    SoundDoc& d = quietSound(100, {{0, 40}, {99, 20}});
    select(0, 100);
    s->effects.EchoDelay = 0.01f;
    s->effects.EchoDecay = 0.7f;
    EXPECT_EQ(EchoCore(*s), EchoResult::Done);
    ASSERT_EQ(d.DataLen, 200);
    EXPECT_EQ(d.Samples[0], 168);
    EXPECT_EQ(d.Samples[100], 128 + 28);
    EXPECT_EQ(d.Samples[199], 128 + 14); // the last byte is echoed too
    EXPECT_EQ(std::count(d.Samples.begin(), d.Samples.begin() + 200, 128), 200 - 4);
    EXPECT_EQ(d.HasSelection, 0);
    EXPECT_EQ(s->effects.EchoStep, 100);

    s->effects.EchoDelay = 30; // 600000 bytes: no room
    EXPECT_EQ(EchoCore(*s), EchoResult::TooLong);
    expectBox("<(_ _)>", "エコーを入れるスペースがをあけられません。ディレイタイムを小さくしてください。");
    EXPECT_EQ(d.DataLen, 200);
}

TEST_F(Effects, EchoCommandTakesTheRowsAndRefusesADelayOfZero) {
    SoundDoc& d = quietSound(1000, {{0, 40}});
    auto seen = watchDialog();
    fake.dialogs.push_back(pressOk({{1, "1"}, {2, "50"}}, {}, seen));
    echoCommand(*s);
    EXPECT_EQ(seen->request.DialogCaption, "ディレイタイム(1=0.01秒)");
    EXPECT_EQ(seen->request.DialogRows[1].Value, "30");
    EXPECT_EQ(seen->request.DialogRows[2].Value, "70");
    // Echoes at 100, 200, 400 and 800 bytes, each half the one before.
    EXPECT_EQ((Bytes{d.Samples[100], d.Samples[200], d.Samples[400], d.Samples[800]}), (Bytes{148, 138, 133, 130}));
    EXPECT_EQ(lastCode(), "14");

    const Bytes before = head(d);
    fake.dialogs.push_back(pressOk({{1, "0"}}));
    echoCommand(*s);
    expectBox("<(_ _)>", "ディレイタイムが0ではエコーをかけられません。\r\n1以上にしてください。");
    EXPECT_EQ(head(d), before);
    EXPECT_EQ(lastCode(), "14");
    EXPECT_EQ(d.UnDoFlag.size(), 4u);
}

TEST_F(Effects, MultiEchoStepsByAQuarterAndKeepsSixteenBitOffsetsEven) {
    SoundDoc& d = quietSound(40, {{0, 64}});
    s->effects.EchoDecay = 0.5f;
    s->effects.EchoStep = 100;
    MultiEchoCore(*s, 10);
    EXPECT_EQ(d.Samples[10], 128 + 32);
    EXPECT_EQ(d.Samples[35], 128 + 16);
    EXPECT_EQ(std::count(d.Samples.begin(), d.Samples.begin() + 40, 128), 37);
    EXPECT_EQ(fake.waitCursor, (std::vector<bool>{true, false}));

    SoundDoc& w = openSound(20, 16);
    std::fill_n(w.Samples.begin(), 20, 0);
    w.Samples[1] = 0x03; // 768
    s->effects.EchoStep = 7; // 16-bit: 14 / 4 = 3.5 bytes, which would land inside samples
    MultiEchoCore(*s, 10);
    EXPECT_EQ((std::vector<int>{sample16(w, 10), sample16(w, 12), sample16(w, 14), sample16(w, 16), sample16(w, 18)}),
              (std::vector<int>{384, 192, 96, 48, 24}));

    SoundDoc& loud = openSound(300);
    for (int i = 0; i < 300; ++i) loud.Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(1 + i % 250);
    const Bytes before = head(loud);
    s->effects.EchoDecay = 0;
    s->effects.EchoStep = 40;
    MultiEchoCore(*s, 10);
    EXPECT_EQ(head(loud), before);
}

TEST_F(Effects, ChorusAtOneAddsTheScaledSoundAndAtTwoHalvesIt) {
    SoundDoc& d = quietSound(4, {{0, 10}, {1, 100}, {2, -50}, {3, -127}});
    s->effects.ChorusRatio = 1.0f;
    s->effects.ChorusGain = 0.8f;
    ASSERT_EQ(ChorusCore(*s), 0);
    EXPECT_EQ(head(d), (Bytes{128 + 18, 128 + 127, 128 - 90, 128 - 127}));

    for (std::uint8_t bits : {8, 16}) {
        SoundDoc& h = openSound(1000, bits);
        s->effects.ChorusRatio = 2.0f;
        ASSERT_EQ(ChorusCore(*s), 0);
        EXPECT_EQ(h.DataLen, 500);
        EXPECT_EQ(h.Samples[500], h.silenceValue());
    }
    s->effects.ChorusRatio = 0; // refused by the resampler: nothing changes
    const Bytes before = head(s->active());
    EXPECT_EQ(ChorusCore(*s), -1);
    EXPECT_EQ(head(s->active()), before);
}

TEST_F(Effects, ChorusPreviewShowsTheEffectAndCancelPutsTheSoundBack) {
    SoundDoc& d = openSound(1000);
    d.VolumeGraph[5] = 7;
    const Bytes before = head(d);
    std::int32_t whileOpen = 0;
    auto seen = watchDialog();
    fake.dialogs.push_back(
        DialogUser().type(1, "2000").then([&](EditorState& st) { whileOpen = st.active().DataLen; }).cancel().script(seen));
    chorusCommand(*s);
    EXPECT_EQ(seen->request.DialogCaption, "コーラス");
    EXPECT_EQ(seen->request.DialogRows[1].Kind, RowSlider);
    EXPECT_EQ(seen->request.DialogRows[2].Label, "原音を１とする音量の倍率(1=0.1)");
    EXPECT_EQ(whileOpen, 500);
    EXPECT_EQ(head(d), before);
    EXPECT_EQ(d.VolumeGraph[5], 7);
    EXPECT_EQ(d.UnDoFlag, "00");
    EXPECT_EQ(s->effects.ChorusRatio, 0.83f); // what the preview tried is forgotten

    fake.dialogs.push_back(DialogUser().type(1, "2000").type(1, "500").ok().script());
    chorusCommand(*s); // OK applies once, to the sound as it was
    EXPECT_EQ(d.DataLen, 1000);
    EXPECT_EQ(d.VolumeGraph[5], 128);
    EXPECT_EQ(lastCode(), "24");
}

TEST_F(Effects, ChorusRedoStartsFromTheKeptSound) {
    SoundDoc& d = openSound(1000);
    fake.dialogs.push_back(pressOk());
    chorusCommand(*s); // x 2, the gain of 1.0 at the same pitch
    const Bytes once = head(d);
    std::vector<int> commands;
    s->runCommand = [&](EditorState&, int id) { commands.push_back(id); };
    auto seen = watchDialog();
    fake.dialogs.push_back(pressOk({{1, "1000"}}, {}, seen));
    redoChorusFrequencyCommand(*s);
    EXPECT_EQ(seen->request.DialogCaption, "コーラスの周波数（音の高さ）(1=0.001)");
    EXPECT_EQ(seen->request.DialogRows[1].Max, 20000);
    EXPECT_EQ(commands, std::vector<int>{LoopPlayCommandId});
    EXPECT_EQ(head(d), once);

    fake.dialogs.push_back(pressOk({{1, "5"}}, {}, seen));
    redoChorusVolumeCommand(*s);
    EXPECT_EQ(seen->request.DialogRows[1].Value, "10");
    EXPECT_EQ(once[130], 128 + 4);
    EXPECT_EQ(d.Samples[130], 128 + 3); // gain 0.5 on the kept sound (130: 2 + 1)
    EXPECT_EQ(commands.size(), 1u);
    EXPECT_EQ(s->BusyFlag, 0);

    // The real loop play runs while the frequency is chosen; Cancel stops it
    // and comes back to the sound as the dialog found it.
    s->runCommand = [](EditorState& st, int id) { dispatchCommand(st, id); };
    const Bytes playing = head(d);
    int loopWhileOpen = 0, playingWhileOpen = 0;
    fake.dialogs.push_back(DialogUser()
                               .type(1, "2000")
                               .then([&](EditorState& st) {
                                   loopWhileOpen = st.play.LoopPlay;
                                   playingWhileOpen = st.play.PlayingFlag;
                               })
                               .cancel()
                               .script());
    redoChorusFrequencyCommand(*s);
    EXPECT_EQ(loopWhileOpen, 1);
    EXPECT_EQ(playingWhileOpen, 1);
    EXPECT_EQ(s->play.LoopPlay, 0);
    EXPECT_EQ(s->play.PlayingFlag, 0);
    EXPECT_EQ(head(d), playing);

    openSound(10);
    redoChorusVolumeCommand(*s);
    expectBox("（‘ v‘）/", "コーラスをかけてからにしてください。");
}

TEST_F(Effects, DistortionDrivesAndScalesBackByTwoOverTheGain) {
    SoundDoc& d = quietSound(6, {{0, 10}, {1, 60}, {2, 3}, {3, -10}, {4, 100}, {5, 120}});
    s->effects.DistortionLevel = 1; // 1.1, then 2 / 1.1: about twice, 60 only to 119.99999
    DistortionCore(*s);
    EXPECT_EQ(head(d), (Bytes{128 + 20, 128 + 119, 128 + 5, 128 - 20, 128 + 127, 128 + 127}));

    const Bytes before = head(d);
    bool changedWhileOpen = false;
    auto seen = watchDialog();
    fake.dialogs.push_back(DialogUser()
                               .type(1, "200")
                               .then([&](EditorState& st) { changedWhileOpen = head(st.active()) != before; })
                               .cancel()
                               .script(seen));
    distortionCommand(*s);
    EXPECT_EQ(seen->request.DialogRows[1].Value, "1"); // the level last used
    EXPECT_TRUE(changedWhileOpen);
    EXPECT_EQ(head(d), before);

    fake.dialogs.push_back(pressOk({{1, "1"}}));
    distortionCommand(*s);
    EXPECT_EQ(d.Samples[2], 128 + 9);
    EXPECT_EQ(lastCode(), "29");
}

} // namespace
} // namespace wavora
