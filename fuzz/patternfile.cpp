// A pattern file (".wpat", raw bytes) as the user may pick any file: read
// no further than the place it goes into holds, and drawn into the pattern
// window's picture.
#include "FakePlatform.h"
#include "FuzzSupport.h"
#include "pattern/PatternFiles.h"
#include "pattern/PatternWindow.h"

#include <algorithm>
#include <cstring>

using namespace wavora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static test::FakePlatform fake;
    static EditorState s(fake, fuzz::workFolder());
    static PatternWindow w;
    static const bool opened = openPatternWindow(s, w);
    FUZZ_CHECK(opened);

    fuzz::Reader in(data, size);
    const std::uint8_t head = in.byte();
    // The place's size: a pattern, a short selection, or a whole buffer.
    static const std::size_t mosts[] = {0, 1, 7, 800, 4096, static_cast<std::size_t>(DATALENMAX)};
    const std::size_t most = mosts[head % std::size(mosts)];
    s.pattern.PatternStep = 1 << ((head >> 3) % 4);
    const std::string_view file = in.rest();
    const std::filesystem::path path = fuzz::workFolder() / "pattern.wpat";
    fuzz::writeFile(path, file);

    const auto bytes = readFileStart(path, most);
    FUZZ_CHECK(bytes && bytes->size() == std::min(most, file.size()));
    FUZZ_CHECK(std::equal(bytes->begin(), bytes->end(), reinterpret_cast<const std::uint8_t*>(file.data())));
    std::copy(bytes->begin(), bytes->end(), s.pattern.PatternBuf.begin());
    s.pattern.PatternLen = static_cast<std::int32_t>(bytes->size());
    drawPatternIntoPicture(w, s.pattern);
    return 0;
}
