// A random-wave memo file as the user may pick any text file: read without a
// crash, refused with a reason or taken whole, and a memo the program writes
// from what it took reads back as the same recipe.
#include "FakePlatform.h"
#include "FuzzSupport.h"
#include "synth/RandomMemo.h"

using namespace wavora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static test::FakePlatform fake;
    static EditorState s(fake, fuzz::workFolder());
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const MemoFile memo = parseMemo(bytes);
    const std::string problem = memoProblem(memo);
    FUZZ_CHECK(fuzz::validUtf8(problem));
    if (!problem.empty()) return 0;
    SoundDoc& d = s.docs[0];
    d.SRATE = memo.rate;
    d.BitsParSample = static_cast<std::uint8_t>(memo.bits);
    s.RandomWaveKind[0] = memo.kind;
    s.RandomWaveMemos[0] = memo.memo;
    const MemoFile again = parseMemo(memoText(s, 0, 0));
    FUZZ_CHECK(again.rate == memo.rate && again.bits == memo.bits && again.kind == memo.kind);
    FUZZ_CHECK(memoProblem(again).empty());
    return 0;
}
