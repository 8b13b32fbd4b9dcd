// Number text both ways and the random number generator: every later command
// shows and reads its values through these, so they must be exact.
#include "text/NumberText.h"
#include "text/Random.h"
#include "text/ShiftJis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace wavora {
namespace {

TEST(NumberText, FifteenSignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(numberText(0.0), "0");
    EXPECT_EQ(numberText(-0.0), "0");
    EXPECT_EQ(numberText(1.0), "1");
    EXPECT_EQ(numberText(440.0), "440");
    EXPECT_EQ(numberText(62.5), "62.5");
    EXPECT_EQ(numberText(-3.25), "-3.25");
    EXPECT_EQ(numberText(500000.0 / 88200.0), "5.66893424036281");
    EXPECT_EQ(numberText(500000.0 / 44100.0), "11.3378684807256");
    EXPECT_EQ(numberText(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(numberText(2.0 / 3.0), "0.666666666666667"); // rounded at the 15th digit
    EXPECT_EQ(numberText(0.1), "0.1");                   // not 0.1000000000000000055
    // Never exponent notation: the reader would take "1e-05" as 1.
    EXPECT_EQ(numberText(0.00001), "0.00001");
    EXPECT_EQ(numberText(1e20), "100000000000000000000");
    EXPECT_EQ(numberText(123456789012345678.0), "123456789012346000");
}

TEST(NumberText, FloatsShowTheDigitsTheyHold) {
    EXPECT_EQ(floatText(4000.0f), "4000");
    EXPECT_EQ(floatText(0.1f), "0.1");
    EXPECT_EQ(floatText(255.0f), "255");
    EXPECT_EQ(floatText(static_cast<float>(500000.0 / 44100.0)), "11.337869");
    EXPECT_EQ(floatText(-0.5f), "-0.5");
}

TEST(NumberText, CaptionsCutTheTextAfterFourCharacters) {
    EXPECT_EQ(firstChars(numberText(500000.0 / 88200.0), 4), "5.66");
    EXPECT_EQ(firstChars(numberText(500000.0 / 44100.0), 4), "11.3");
    EXPECT_EQ(firstChars(numberText(500000.0 / 8000.0), 4), "62.5");
    EXPECT_EQ(firstChars(numberText(500000.0 / 16000.0), 4), "31.2"); // cut, not rounded
    EXPECT_EQ(firstChars("長さ（秒）", 2), "長さ");
    EXPECT_EQ(firstChars("ab", 4), "ab");
}

TEST(NumberText, ReadingStopsAtTheFirstForeignCharacter) {
    EXPECT_DOUBLE_EQ(textToNumber("440"), 440.0);
    EXPECT_DOUBLE_EQ(textToNumber("  12.5abc"), 12.5);
    EXPECT_DOUBLE_EQ(textToNumber("\t-7"), -7.0);
    EXPECT_DOUBLE_EQ(textToNumber("+3."), 3.0);
    EXPECT_DOUBLE_EQ(textToNumber(".75"), 0.75);
    EXPECT_DOUBLE_EQ(textToNumber("1e3"), 1.0); // no exponents
    EXPECT_DOUBLE_EQ(textToNumber("1,000"), 1.0);
    EXPECT_DOUBLE_EQ(textToNumber("abc"), 0.0);
    EXPECT_DOUBLE_EQ(textToNumber(""), 0.0);
    EXPECT_DOUBLE_EQ(textToNumber("-"), 0.0);
    EXPECT_DOUBLE_EQ(textToNumber("."), 0.0);
    EXPECT_DOUBLE_EQ(textToNumber("１２"), 0.0); // full-width digits are not digits
    // What the program writes it reads back unchanged.
    for (double v : {0.333333333333333, 5.66893424036281, -1234.5, 0.00001})
        EXPECT_DOUBLE_EQ(textToNumber(numberText(v)), v);
}

TEST(Random, LinearCongruentialSequenceFromAFixedSeed) {
    Lcg rng;
    rng.seed(1);
    // seed = seed * 1103515245 + 12345; value = (seed / 65536) mod 32768
    EXPECT_EQ(rng.next(), 16838);
    EXPECT_EQ(rng.next(), 5758);
    EXPECT_EQ(rng.next(), 10113);
    EXPECT_EQ(rng.next(), 17515);
    rng.seed(0);
    EXPECT_EQ(rng.next(), 0); // 12345 / 65536 = 0
    EXPECT_EQ(rng.state(), 12345u);
    EXPECT_EQ(rng.next(), 21468);
}

TEST(Random, UniformNumberIsTheSquareModuloOneHundredThousand) {
    Lcg a, b;
    a.seed(777);
    b.seed(777);
    for (int i = 0; i < 1000; ++i) {
        std::int64_t v = b.next();
        double u = a.uniform();
        EXPECT_DOUBLE_EQ(u, static_cast<double>((v * v) % 100000) / 100000.0);
        EXPECT_GE(u, 0.0);
        EXPECT_LT(u, 1.0);
    }
    Lcg c;
    c.seed(1);
    EXPECT_DOUBLE_EQ(c.uniform(), 0.18244); // 16838^2 = 283518244
}

TEST(ShiftJis, RoundTripOfJapaneseText) {
    std::string text = "Wavora個人設定\\　汎用ダイアログ";
    std::string sjis = utf8ToShiftJis(text);
    EXPECT_EQ(sjis.size(), 6u + 8u + 1u + 2u + 14u);
    EXPECT_EQ(static_cast<unsigned char>(sjis[6]), 0x8Cu); // 個 = 8C C2
    EXPECT_EQ(shiftJisToUtf8(sjis), text);
    EXPECT_EQ(shiftJisLength("周波数（音の高さ）"), 18u);
    EXPECT_EQ(shiftJisLength("ﾟ"), 1u); // half-width katakana is one byte
}

} // namespace
} // namespace wavora
