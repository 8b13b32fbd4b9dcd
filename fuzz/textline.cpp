// One line of a settings file, as every settings reader takes it, and the
// number read from it: any bytes give a short line of clean UTF-8 and a
// number that is an int.
#include "FuzzSupport.h"
#include "core/TextFiles.h"
#include "text/NumberText.h"
#include "text/ShiftJis.h"

#include <cmath>

using namespace wavora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Reader in(data, size);
    const int wanted = in.byte() % 8;
    const std::string_view bytes = in.rest();
    for (int n : {0, 1, 2, 3, wanted}) {
        const std::string line = lineFromBytes(bytes, n);
        FUZZ_CHECK(fuzz::validUtf8(line));
        // At most ReadLineMax Shift-JIS bytes, each at most 3 bytes of UTF-8.
        FUZZ_CHECK(line.size() <= 3 * ReadLineMax);
        for (unsigned char c : line) FUZZ_CHECK(c >= 32);
        const double v = textToNumber(line);
        FUZZ_CHECK(!std::isnan(v));
        const int i = cutToInt(v);
        // The number's own text reads back as the same number.
        FUZZ_CHECK(cutToInt(textToNumber(intText(i))) == i);
    }
    FUZZ_CHECK(fuzz::validUtf8(shiftJisToUtf8(bytes)));
    // Text the program made from the file goes back out as Shift-JIS without
    // growing beyond two bytes a character.
    const std::string utf8 = shiftJisToUtf8(bytes);
    FUZZ_CHECK(utf8ToShiftJis(utf8).size() <= 2 * utf8.size());
    return 0;
}
