// The devices behind Play and Record: what the output device is handed, loop
// play, Stop, the play cursor, every device failure, recording, error texts.
#include "UndoTestSupport.h"
#include "audio/Play.h"
#include "audio/Playback.h"
#include "audio/Recording.h"
#include "core/DeviceErrors.h"

namespace wavora::test {
namespace {

struct PlaybackTest : UndoFixture {
    SoundDoc& sound(std::int32_t length, std::int32_t rate = 8000, std::uint8_t bits = 8, std::uint16_t channels = 1) {
        openSound(length);
        SoundDoc& d = s->active();
        d.SRATE = rate;
        d.BitsParSample = bits;
        d.Channels = channels;
        for (std::int32_t i = 0; i < length; ++i) d.Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i % 251);
        snapshot(*s, 20); // as the generator that made it would
        return d;
    }
    // The frame takes the messages the devices have posted so far.
    void deliver() {
        for (std::size_t n = fake.posted.size(); n > 0; --n) {
            const PostedWaveMessage m = fake.posted.front();
            fake.posted.pop_front();
            switch (m.message) {
            case WaveMessage::OutDone: onWaveOutDone(*s, m.user); break;
            case WaveMessage::InOpen: onWaveInOpen(*s); break;
            case WaveMessage::InData: onWaveInData(*s); break;
            case WaveMessage::InClose: onWaveInClose(*s); break;
            }
        }
    }
};

TEST_F(PlaybackTest, TheDeviceGetsTheFormatAndOneLoopHeader) {
    sound(3000, 22050, 16, 2);
    PlayCommand(*s);
    ASSERT_EQ(fake.outFormats.size(), 1u);
    const WaveFormat& f = fake.outFormats[0];
    EXPECT_EQ(f.FormatTag, 1);
    EXPECT_EQ(f.Channels, 2);
    EXPECT_EQ(f.BitsPerSample, 16);
    EXPECT_EQ(f.BlockAlign, 4);
    EXPECT_EQ(f.SamplesPerSec, 22050u);
    EXPECT_EQ(f.AvgBytesPerSec, 88200u);
    EXPECT_EQ(fake.writtenHeaders[0].Flags, 12u);
    EXPECT_EQ(fake.writtenHeaders[0].Loops, 1u);
    const std::vector<WaveCall> calls = {WaveCall::OutOpen, WaveCall::OutPrepareHeader, WaveCall::OutWrite};
    EXPECT_EQ(fake.waveCalls, calls);
    deliver(); // played once: the device is closed
    EXPECT_EQ(s->play.PlayingFlag, 0);
    EXPECT_EQ(fake.callCount(WaveCall::OutClose), 1);
}

TEST_F(PlaybackTest, AMarkerPlaysToTheEnd) {
    SoundDoc& d = sound(300);
    d.HasMarker = 1;
    d.SelStart = 100;
    PlayCommand(*s);
    EXPECT_EQ(fake.written[0], std::vector<std::uint8_t>(d.Samples.begin() + 100, d.Samples.begin() + 300));
    EXPECT_EQ(s->play.PlayPos, 100);
}

TEST_F(PlaybackTest, LoopPlayWritesAgainUntilStop) {
    sound(300);
    loopPlayCommand(*s);
    for (int pass = 0; pass < 3; ++pass) {
        ASSERT_EQ(fake.posted.size(), 1u); // the device played the buffer once more
        onTimerTick(s->play);
        deliver();
    }
    EXPECT_EQ(fake.written.size(), 4u);
    EXPECT_EQ(fake.written[3], fake.written[0]);
    EXPECT_EQ(s->play.PlayPos, 0);
    stopCommand(*s);
    EXPECT_EQ(s->play.PlayingFlag, 0);
    EXPECT_EQ(s->play.LoopPlay, 0);
    deliver(); // the reset's own report finds the playback gone
    EXPECT_EQ(fake.written.size(), 4u);
    EXPECT_EQ(fake.callCount(WaveCall::OutClose), 1);
    // Play while a loop runs ends the loop first and plays once.
    loopPlayCommand(*s);
    playCommand(*s);
    EXPECT_EQ(s->play.LoopPlay, 0);
    EXPECT_EQ(fake.callCount(WaveCall::OutClose), 2);
    deliver();
    EXPECT_EQ(s->play.PlayingFlag, 0);
    EXPECT_EQ(fake.written.size(), 6u);
}

TEST_F(PlaybackTest, EachFailingCallIsShownAndPlayWorksAgain) {
    sound(300);
    for (WaveCall call : {WaveCall::OutOpen, WaveCall::OutPrepareHeader, WaveCall::OutWrite}) {
        fake.waveFailures = {{call, 4}};
        fake.boxes.clear();
        PlayCommand(*s);
        SCOPED_TRACE(waveCallName(call));
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.lastBox().caption, waveCallName(call));
        EXPECT_EQ(fake.lastBox().text, deviceErrorText(4));
        EXPECT_EQ(s->play.PlayingFlag, 0);
        EXPECT_EQ(s->BusyFlag, 0);
        fake.waveFailures.clear();
        PlayCommand(*s);
        EXPECT_EQ(s->play.PlayingFlag, 1);
        stopCommand(*s);
        deliver();
    }
}

TEST_F(PlaybackTest, TheCursorMovesBySingleFloatSteps) {
    struct Case {
        std::int32_t rate;
        std::uint8_t bits;
        std::int32_t step;
    };
    for (const Case c : {Case{44100, 16, 1764}, Case{8000, 8, 160}, Case{11025, 8, 220}}) {
        sound(5000, c.rate, c.bits);
        PlayCommand(*s);
        onTimerTick(s->play);
        const TimerTick t = onTimerTick(s->play);
        EXPECT_EQ(s->play.PlayPos, 2 * c.step);
        EXPECT_TRUE(t.moveCursor);
        stopCommand(*s);
        EXPECT_FALSE(onTimerTick(s->play).moveCursor);
        deliver();
    }
}

TEST_F(PlaybackTest, RecordingFillsTheSoundAndCanBeUndone) {
    SoundDoc& d = sound(24000, 8000); // three seconds: the wait dialog shows
    recordCommand(*s);
    EXPECT_EQ(s->BusyFlag, 1);
    EXPECT_TRUE(fake.waitOpen);
    EXPECT_EQ(fake.waitRange, 3u);
    ASSERT_EQ(fake.inFormats.size(), 1u);
    EXPECT_EQ(fake.inFormats[0].SamplesPerSec, 8000u);
    deliver(); // opened: the buffer goes in and recording starts
    int seconds = 0;
    for (int tick = 0; tick < 60; ++tick) seconds += onTimerTick(s->play).recordSecond;
    EXPECT_EQ(seconds, 1);
    onRecordSecond(*s);
    EXPECT_EQ(fake.waitPosition, 1u);
    fake.record(24000, 128);
    deliver(); // data
    deliver(); // close
    EXPECT_EQ(fake.lastBox().caption, "録音終了");
    EXPECT_EQ(fake.lastBox().text, "");
    EXPECT_FALSE(fake.waitOpen);
    EXPECT_EQ(s->BusyFlag, 0);
    EXPECT_EQ(s->play.RecordingFlag, 0);
    EXPECT_TRUE(std::all_of(d.Samples.begin(), d.Samples.begin() + 24000, [](std::uint8_t v) { return v == 128; }));
    EXPECT_EQ(undoItem().caption, "録音 の取消し(&U)");
    undoStep(*s);
    EXPECT_EQ(d.Samples[1000], 1000 % 251);
}

TEST_F(PlaybackTest, StopEndsARecordingEarly) {
    SoundDoc& d = sound(8000);
    recordCommand(*s);
    EXPECT_FALSE(fake.waitOpen); // one second: no dialog
    deliver();
    fake.record(100, 128);
    stopCommand(*s);
    deliver();
    deliver();
    EXPECT_EQ(d.Samples[99], 128);
    EXPECT_EQ(d.Samples[100], 100);
    EXPECT_EQ(fake.boxCount("録音終了"), 1);
    EXPECT_EQ(undoItem().caption, "録音 の取消し(&U)");
    const std::vector<WaveCall> calls = {WaveCall::InOpen,  WaveCall::InPrepareHeader,  WaveCall::InAddBuffer,
                                         WaveCall::InStart, WaveCall::InReset,          WaveCall::InStop,
                                         WaveCall::InUnprepareHeader, WaveCall::InClose};
    EXPECT_EQ(fake.waveCalls, calls);
}

TEST_F(PlaybackTest, ARecordingThatCannotOpenEndsAtOnce) {
    sound(8000);
    fake.waveFailures = {{WaveCall::InOpen, 2}};
    recordCommand(*s);
    EXPECT_EQ(fake.lastBox().caption, "waveInOpen");
    EXPECT_EQ(fake.lastBox().text, "BADDEVICEID デバイス識別子が無効である   エラーコード定数＝2");
    EXPECT_EQ(s->BusyFlag, 0);
    EXPECT_EQ(s->play.RecordingFlag, 0);
    deliver();
    EXPECT_EQ(fake.boxCount("録音終了"), 0);
}

TEST(DeviceErrorTextTest, EveryCodeHasItsTextAndSuffix) {
    EXPECT_EQ(deviceErrorText(0), "");
    EXPECT_EQ(deviceErrorText(1), "ERROR  エラーコード定数＝1");
    EXPECT_EQ(deviceErrorText(5), "INVALHANDLE デバイスハンドルが無効である    エラーコード定数＝5");
    EXPECT_EQ(deviceErrorText(12), "HANDLEBUSY 別のスレッドがハンドルを使用中である    エラーコード定数＝12");
    EXPECT_EQ(deviceErrorText(20), "NODRIVERCB  エラーコード定数＝20");
    EXPECT_EQ(deviceErrorText(21), "  エラーコード定数＝21");
    EXPECT_EQ(deviceErrorText(33), "  エラーコード定数＝33"); // the wave errors have no text
    EXPECT_EQ(deviceErrorText(64), "MIDIERR_UNPREPARED   エラーコード定数＝64");
    EXPECT_EQ(deviceErrorText(67),
              "MIDIERR_NOTREADY　(ﾟﾟ)!準備が整う前にメッセージが送られてきました。  エラーコード定数＝67");
    EXPECT_EQ(deviceErrorText(71), "MIDIERR_DONT_CONTINUE (ﾟﾟ)!続けられません。  エラーコード定数＝71");
    EXPECT_EQ(deviceErrorText(72), "  エラーコード定数＝72");
    EXPECT_EQ(deviceErrorText(-1), "  エラーコード定数＝-1");
}

} // namespace
} // namespace wavora::test
