// The Edit menu's range edits, byte for byte: what moves, what becomes
// silence, the selection afterwards, the refusals and the undo step.
#include "EditTestSupport.h"
#include "edit/RangeEdits.h"

#include <algorithm>

namespace wavora {
namespace {

using test::Bytes;
using test::pressOk;
using test::watchDialog;

class RangeEdits : public test::EditFixture {};

TEST_F(RangeEdits, DeleteClosesTheGapClipsTheSelectionAndResetsIt) {
    SoundDoc& d = openSound(1000);
    select(990, 50); // reaches past the end: only the last 10 bytes go
    deleteSelectionCommand(*s);
    EXPECT_EQ(d.DataLen, 990);
    select(100, 10);
    deleteSelectionCommand(*s);
    ASSERT_EQ(d.DataLen, 980);
    EXPECT_EQ(d.Samples[99], 99);
    EXPECT_EQ(d.Samples[100], 110);
    EXPECT_EQ(d.Samples[980], 128); // behind the end: silence
    EXPECT_EQ(d.HasSelection, 0);
    EXPECT_EQ(d.SelStart, 0);
    EXPECT_EQ(d.SelLength, 980);
    EXPECT_EQ(lastCode(), "06");
    EXPECT_EQ(fake.windows[d.WindowHandle].hbar.max, 200 + 980 - 1); // the scroll range follows

    select(0, 980);
    deleteSelectionCommand(*s);
    EXPECT_EQ(d.DataLen, 0);
    EXPECT_EQ(d.SelLength, 0);
}

TEST_F(RangeEdits, CommandsWithoutASelectionRefuseAndChangeNothing) {
    for (auto* command : {deleteSelectionCommand, silenceSelectionCommand, trimCommand, repeatSelectionCommand}) {
        SoundDoc& d = openSound(100);
        const Bytes before = head(d);
        command(*s);
        expectBox("（‘ v‘）／", "現在アクティブなウィンドウに選択範囲がありません。");
        EXPECT_EQ(head(d), before);
        EXPECT_EQ(d.UnDoFlag, "00");
        EXPECT_EQ(s->BusyFlag, 0);
    }
}

TEST_F(RangeEdits, SilenceWritesTheDepthsSilenceAndNeutralGraphs) {
    for (std::uint8_t bits : {8, 16}) {
        SoundDoc& d = openSound(100, bits);
        d.VolumeGraph[20] = 3;
        select(20, 4);
        silenceSelectionCommand(*s);
        const std::uint8_t silence = bits == 16 ? 0 : 128;
        EXPECT_EQ(head(d, 25), (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, silence,
                                      silence, silence, silence, 24}));
        EXPECT_EQ(d.VolumeGraph[20], 128);
        EXPECT_EQ(lastCode(), "07");
    }
}

TEST_F(RangeEdits, TrimKeepsOnlyTheSelection) {
    SoundDoc& d = openSound(100);
    select(0, 10); // from 0: only the tail goes
    trimCommand(*s);
    EXPECT_EQ(head(d), (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    select(4, 50); // clipped to the data
    trimCommand(*s);
    EXPECT_EQ(head(d), (Bytes{4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(d.Samples[6], 128);
    EXPECT_EQ(d.Samples[DATALENMAX - 1], 128);
    EXPECT_EQ(d.SelLength, 6);
    EXPECT_EQ(lastCode(), "33");
}

TEST_F(RangeEdits, RepeatOffersTheRoomThereIsAndKeepsWhatFollows) {
    SoundDoc& d = openSound(400000);
    select(1000, 1000);
    auto seen = watchDialog();
    fake.dialogs.push_back(pressOk({{1, "100"}}, {}, seen)); // exactly 500000 bytes: refused without a word
    repeatSelectionCommand(*s);
    EXPECT_EQ(seen->request.DialogCaption, "選択範囲の繰り返し");
    EXPECT_EQ(seen->request.DialogRows[1].Label, "繰り返し回数");
    EXPECT_EQ(seen->request.DialogRows[1].Max, 100);
    EXPECT_EQ(d.DataLen, 400000);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(d.UnDoFlag, "00");

    SoundDoc& small = openSound(10);
    select(2, 3);
    fake.dialogs.push_back(pressOk({{1, "2"}}));
    repeatSelectionCommand(*s);
    EXPECT_EQ(head(small), (Bytes{0, 1, 2, 3, 4, 2, 3, 4, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(lastCode(), "35");

    openSound(499990);
    select(0, 11);
    repeatSelectionCommand(*s);
    expectBox("<(_ _)>繰り返せません",
              "繰り返すスペースがありません。\r\n（繰り返しメニューは選択範囲より後ろのデータを残すので、それを消しておく"
              "という手もあります。）");
}

TEST_F(RangeEdits, InsertSilenceSecondIs9990BytesAtAnyRate) {
    for (std::uint8_t bits : {8, 16}) {
        SoundDoc& d = openSound(10, bits, bits == 8 ? 8000 : 44100);
        d.HasMarker = 1;
        d.SelStart = 4;
        auto seen = watchDialog();
        fake.dialogs.push_back(pressOk({{1, "1"}}, {}, seen));
        insertSilenceCommand(*s);
        EXPECT_EQ(seen->request.DialogCaption, "無音領域の長さ(最長50.04905秒まで)"); // (500000 - 10) / 9990
        ASSERT_EQ(d.DataLen, 10 + 9990);
        EXPECT_EQ(d.Samples[3], 3);
        EXPECT_EQ(d.Samples[4], d.silenceValue());
        EXPECT_EQ(d.Samples[4 + 9989], d.silenceValue());
        EXPECT_EQ(d.Samples[4 + 9990], 4);
        EXPECT_EQ(lastCode(), "31");
    }
    SoundDoc& odd = openSound(10, 16);
    odd.HasMarker = 1;
    odd.SelStart = 3; // inside a sample, and half a "second" is an odd 4995 bytes
    fake.dialogs.push_back(pressOk({{1, "0.5"}}));
    insertSilenceCommand(*s);
    EXPECT_EQ(odd.DataLen, 10 + 4994);
    EXPECT_EQ(odd.Samples[2 + 4994], 2);

    s->active().HasMarker = 0;
    insertSilenceCommand(*s);
    expectBox("(o・ェ・)マーカーがありません。",
              "編集メニューの「選択範囲,マーカーを作る（消す）」でマーカーを作ってください。");
}

TEST_F(RangeEdits, ReverseTwiceIsTheIdentityAndKeepsSixteenBitSamplesWhole) {
    SoundDoc& d = openSound(7);
    reverseCommand(*s);
    EXPECT_EQ(head(d), (Bytes{6, 5, 4, 3, 2, 1, 0}));
    reverseCommand(*s);
    EXPECT_EQ(head(d), (Bytes{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(lastCode(), "38");

    SoundDoc& w = openSound(7, 16);
    reverseCommand(*s);
    EXPECT_EQ(head(w), (Bytes{4, 5, 2, 3, 0, 1, 6})); // the odd last byte is no sample
}

} // namespace
} // namespace wavora
