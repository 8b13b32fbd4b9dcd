// The effect-sound menu: each kind from a fixed seed comes out the same twice,
// keeps to its length and is heard neither silent nor clipped flat; its memo
// rebuilds the same bytes; "ちょっと変える" moves every parameter by at most a
// tenth of its range.
#include "EditTestSupport.h"
#include "app/Commands.h"
#include "synth/EffectSounds.h"
#include "synth/RandomMemo.h"

#include <cstdlib>

namespace wavora {
namespace {

using test::Bytes;
using test::sample16;

struct Made {
    Bytes samples, volume, pitch;
    bool operator==(const Made&) const = default;
};

class EffectSounds : public test::EditFixture {
  protected:
    // Makes the sound in a new window, takes what it holds and closes the
    // window again, so that every kind and seed finds room.
    Made make(const EffectSoundMemo& m) {
        EXPECT_TRUE(makeEffectSoundWindow(*s, m));
        const SoundDoc& d = s->active();
        Made r{head(d), Bytes(d.VolumeGraph.begin(), d.VolumeGraph.begin() + d.DataLen),
               Bytes(d.PitchGraph.begin(), d.PitchGraph.begin() + d.DataLen)};
        releaseSlot(*s, s->activeSlot());
        return r;
    }
};

TEST_F(EffectSounds, EachKindIsTheSameTwiceWithinItsLengthAndHeardNeitherSilentNorClipped) {
    for (int kind = 0; kind < EffectSoundKindCount; ++kind)
        for (std::uint32_t seed : {1u, 4242u, 3000000000u}) {
            SCOPED_TRACE(effectSoundName(kind) + " " + std::to_string(seed));
            const EffectSoundMemo m = chooseEffectSound(kind, seed);
            ASSERT_TRUE(effectSoundValid(m));
            fake.written.clear();
            ASSERT_TRUE(makeEffectSoundWindow(*s, m));
            const SoundDoc& d = s->active();
            EXPECT_EQ(fake.windows[d.WindowHandle].title, effectSoundName(kind) + std::to_string(s->EffectSoundsMade[static_cast<std::size_t>(kind)]));
            EXPECT_EQ(lastCode(), std::to_string(EffectSoundFirstCode + kind));
            EXPECT_EQ(d.BitsParSample, 16);
            EXPECT_GE(d.DataLen, 8820);
            EXPECT_LE(d.DataLen, 176400);
            // The graphs stay drawn: the audition does not write them in.
            EXPECT_NE(std::count(d.VolumeGraph.begin(), d.VolumeGraph.begin() + d.DataLen, 128), d.DataLen);
            ASSERT_EQ(fake.written.size(), 1u);
            const Bytes& heard = fake.written[0];
            int peak = 0, flat = 0;
            for (std::size_t i = 0; i + 1 < heard.size(); i += 2) {
                const int v = static_cast<std::int16_t>(heard[i] | (heard[i + 1] << 8));
                peak = std::max(peak, std::abs(v));
                flat += v >= 32767 || v <= -32768;
            }
            EXPECT_GT(peak, 4000);
            EXPECT_LT(flat * 200, static_cast<int>(heard.size())); // under 1 % of the samples at the limits
            const Made first{head(d), Bytes(d.VolumeGraph.begin(), d.VolumeGraph.begin() + d.DataLen),
                             Bytes(d.PitchGraph.begin(), d.PitchGraph.begin() + d.DataLen)};
            releaseSlot(*s, s->activeSlot());
            fake.ticks += 1000; // a later press: only the seed may decide
            EXPECT_TRUE(make(m) == first);
        }
}

TEST_F(EffectSounds, AMemoOfEachKindRebuildsTheSameBytesAndABadOneIsRefused) {
    for (int kind = 0; kind < EffectSoundKindCount; ++kind) {
        SCOPED_TRACE(kind);
        const EffectSoundMemo m = chooseEffectSound(kind, 99u + static_cast<std::uint32_t>(kind));
        ASSERT_TRUE(makeEffectSoundWindow(*s, m));
        const std::string text = memoText(*s, s->activeSlot(), 0);
        const Made made{head(s->active()), Bytes(s->active().VolumeGraph.begin(), s->active().VolumeGraph.begin() + s->active().DataLen),
                        Bytes(s->active().PitchGraph.begin(), s->active().PitchGraph.begin() + s->active().DataLen)};
        releaseSlot(*s, s->activeSlot());
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3 + 2 + EffectSoundParamCount);
        const MemoFile read = parseMemo(text);
        EXPECT_EQ(memoProblem(read), "");
        EXPECT_EQ(read.effect.seed, m.seed);
        EXPECT_TRUE(make(read.effect) == made);
    }
    MemoFile bad = parseMemo("44100\r\n16\r\n5\r\n0\r\n1\r\n");
    EXPECT_NE(memoProblem(bad), ""); // a length of 0 ms was never chosen
    bad.effect = chooseEffectSound(LaserSound, 5);
    bad.effect.kind = 7;
    EXPECT_NE(memoProblem(bad), "");
}

TEST_F(EffectSounds, AVariationMovesEachParameterAtMostATenthOfItsRange) {
    int moved = 0;
    for (int kind = 0; kind < EffectSoundKindCount; ++kind) {
        const EffectRanges& r = effectSoundRanges(kind);
        EffectSoundMemo m = chooseEffectSound(kind, 7);
        for (std::uint32_t seed = 1; seed <= 40; ++seed) {
            // From the edges of the ranges too, where a move must stop.
            if (seed == 20)
                for (std::size_t p = 0; p < r.size(); ++p) m.params[p] = r[p].max;
            const EffectSoundMemo v = varyEffectSound(m, seed);
            for (std::size_t p = 0; p < r.size(); ++p) {
                EXPECT_LE(std::abs(v.params[p] - m.params[p]), (r[p].max - r[p].min) / 10) << kind << " " << p;
                EXPECT_TRUE(v.params[p] >= r[p].min && v.params[p] <= r[p].max) << kind << " " << p;
                moved += v.params[p] != m.params[p];
            }
            m = v;
        }
    }
    EXPECT_GT(moved, 500);
}

TEST_F(EffectSounds, TheVaryCommandNeedsAKindMadeSoundAndMakesTheNextWindowOfItsKind) {
    openSound(1000);
    dispatchCommand(*s, VaryEffectSoundId);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.lastBox().text, "効果音メニューで作った音のウィンドウを選んでから、もう一度どうぞ。");
    EXPECT_EQ(s->WindowCount, 1);

    fake.ticks = 555;
    dispatchCommand(*s, FirstEffectSoundId + JumpSound);
    const EffectSoundMemo first = s->EffectSoundMemos[1];
    EXPECT_TRUE(first.params == chooseEffectSound(JumpSound, 555).params);
    fake.ticks = 556;
    dispatchCommand(*s, VaryEffectSoundId);
    EXPECT_EQ(s->WindowCount, 3);
    EXPECT_EQ(fake.windows[s->active().WindowHandle].title, "ジャンプ2");
    EXPECT_TRUE(s->EffectSoundMemos[2].params == varyEffectSound(first, 556).params);
    EXPECT_EQ(s->RandomWaveKind[2], EffectSoundWave);
    dispatchCommand(*s, FirstEffectSoundId + CoinSound);
    dispatchCommand(*s, FirstEffectSoundId + CoinSound);
    dispatchCommand(*s, FirstEffectSoundId + CoinSound); // a sixth window: the limit's message, nothing made
    EXPECT_EQ(s->WindowCount, 5);
    EXPECT_EQ(s->EffectSoundsMade[CoinSound], 2);
}

} // namespace
} // namespace wavora
