// The effect-sound menu: each kind from a fixed seed keeps to its length, is
// heard neither silent nor clipped flat, and its memo rebuilds the same
// bytes and graphs; "ちょっと変える" moves each parameter at most a tenth of
// its range.
#include "EditTestSupport.h"
#include "app/Commands.h"
#include "synth/EffectSounds.h"
#include "synth/RandomMemo.h"

#include <cstdlib>

namespace wavora {
namespace {

using test::Bytes;

Bytes made(const SoundDoc& d) {
    Bytes all(d.Samples.begin(), d.Samples.begin() + d.DataLen);
    all.insert(all.end(), d.VolumeGraph.begin(), d.VolumeGraph.begin() + d.DataLen);
    all.insert(all.end(), d.PitchGraph.begin(), d.PitchGraph.begin() + d.DataLen);
    return all;
}

class EffectSounds : public test::EditFixture {};

TEST_F(EffectSounds, EachKindKeepsItsLengthIsHeardCleanAndItsMemoRebuildsTheSameSound) {
    for (int kind = 0; kind < EffectSoundKindCount; ++kind)
        // Seeds past 2^31 too: a seed cut on its way through the memo would
        // give the noise kinds other noise.
        for (std::uint32_t seed : {1u, 3000000000u}) {
            SCOPED_TRACE(effectSoundName(kind) + " " + std::to_string(seed));
            fake.written.clear();
            ASSERT_TRUE(makeEffectSoundWindow(*s, chooseEffectSound(kind, seed)));
            const SoundDoc& d = s->active();
            EXPECT_EQ(fake.windows[d.WindowHandle].title, effectSoundName(kind) + std::to_string(s->EffectSoundsMade[static_cast<std::size_t>(kind)]));
            EXPECT_EQ(lastCode(), std::to_string(EffectSoundFirstCode + kind));
            EXPECT_TRUE(d.DataLen >= 8820 && d.DataLen <= 176400 && d.BitsParSample == 16) << d.DataLen;
            ASSERT_EQ(fake.written.size(), 1u);
            int peak = 0, atLimit = 0;
            for (std::size_t i = 0; i + 1 < fake.written[0].size(); i += 2) {
                const int v = static_cast<std::int16_t>(fake.written[0][i] | (fake.written[0][i + 1] << 8));
                peak = std::max(peak, std::abs(v));
                atLimit += v >= 32767 || v <= -32768;
            }
            EXPECT_GT(peak, 4000);
            EXPECT_LT(atLimit * 200, static_cast<int>(fake.written[0].size())); // under 1 % of the samples
            const Bytes first = made(d);
            const std::string memo = memoText(*s, s->activeSlot(), 0);
            EXPECT_EQ(std::count(memo.begin(), memo.end(), '\n'), 5 + EffectSoundParamCount);
            releaseSlot(*s, s->activeSlot());

            const MemoFile read = parseMemo(memo);
            ASSERT_EQ(memoProblem(read), "");
            fake.ticks += 1000; // a later moment: only the memo may decide
            ASSERT_TRUE(makeEffectSoundWindow(*s, read.effect));
            EXPECT_TRUE(made(s->active()) == first);
            releaseSlot(*s, s->activeSlot());
        }
    // A memo cut short would make a sound of 0 ms: refused, like an unknown kind.
    MemoFile bad = parseMemo("44100\r\n16\r\n5\r\n0\r\n1\r\n");
    EXPECT_NE(memoProblem(bad), "");
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
            if (seed == 20) // from the tops of the ranges too, where a move must stop
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

TEST_F(EffectSounds, VaryNeedsAKindMadeSoundAndFiveWindowsAreTheLimit) {
    openSound(1000);
    dispatchCommand(*s, VaryEffectSoundId);
    EXPECT_EQ(fake.lastBox().text, "効果音メニューで作った音のウィンドウを選んでから、もう一度どうぞ。");
    fake.ticks = 555;
    dispatchCommand(*s, FirstEffectSoundId + JumpSound);
    fake.ticks = 556;
    dispatchCommand(*s, VaryEffectSoundId);
    EXPECT_EQ(fake.windows[s->active().WindowHandle].title, "ジャンプ2");
    EXPECT_TRUE(s->EffectSoundMemos[2].params == varyEffectSound(chooseEffectSound(JumpSound, 555), 556).params);
    EXPECT_EQ(s->RandomWaveKind[2], EffectSoundWave);
    // The information command turns the whole sound back into its recipe.
    const Bytes varied = made(s->active());
    std::fill_n(s->active().Samples.begin(), 100, std::uint8_t{9});
    s->active().DataLen = 100;
    dispatchCommand(*s, 1243);
    EXPECT_TRUE(made(s->active()) == varied);
    for (int i = 0; i < 3; ++i) dispatchCommand(*s, FirstEffectSoundId + CoinSound);
    EXPECT_EQ(s->WindowCount, 5); // the third coin found no room and made nothing
    EXPECT_EQ(fake.lastBox().text, "ウィンドウは5個までです。");
    EXPECT_EQ(s->EffectSoundsMade[CoinSound], 2);
}

} // namespace
} // namespace wavora
