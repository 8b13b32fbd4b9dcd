// The converting reader: any bytes a user may drop on the window. A file is
// refused with one of its texts and nothing else, or converted into a sound
// the editor can hold; a file the strict reader accepts converts to the same
// samples.
#include "FuzzSupport.h"
#include "wavfile/WavConvert.h"
#include "wavfile/WavFile.h"

#include <cstring>

using namespace wavora;

namespace {

// The strict reader's canonical layout, as far as it reads it: the 16-byte
// format chunk it does not measure and the data chunk's name it tests only
// in part.
bool canonicalLayout(const std::uint8_t* data, std::size_t size) {
    return size >= 44 && data[16] == 16 && !data[17] && !data[18] && !data[19] && std::memcmp(data + 36, "data", 4) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemorySource source({data, size});
    const ConvertedWav w = convertWav(source);
    if (!w.ok()) {
        FUZZ_CHECK(w.Samples.empty());
        FUZZ_CHECK(w.refusal == NotWavText || w.refusal == NoSoundDataText ||
                   w.refusal.rfind("形式番号", 0) == 0);
        FUZZ_CHECK(fuzz::validUtf8(w.refusal));
        return 0;
    }
    const std::size_t frameBytes = w.Channels * w.BitsParSample / 8u;
    FUZZ_CHECK(w.Channels == 1 || w.Channels == 2);
    FUZZ_CHECK(w.BitsParSample == 8 || w.BitsParSample == 16);
    FUZZ_CHECK(w.SRATE > 0 && static_cast<std::uint32_t>(w.SRATE) <= MaxUsableRate);
    FUZZ_CHECK(!w.Samples.empty() && w.Samples.size() <= static_cast<std::size_t>(DATALENMAX));
    FUZZ_CHECK(w.Samples.size() == w.KeptFrames * frameBytes && w.KeptFrames <= w.FileFrames);
    // Cut only where the next frame would not have fitted.
    FUZZ_CHECK(!w.cut() || w.Samples.size() + frameBytes > static_cast<std::size_t>(DATALENMAX));
    FUZZ_CHECK(fuzz::validUtf8(lengthCutText(w)));

    const WavParse p = parseWav({data, size});
    if (p.ok && canonicalLayout(data, size)) {
        const std::size_t whole = static_cast<std::size_t>(p.dataLength) / frameBytes * frameBytes;
        FUZZ_CHECK(w.Channels == *p.channels && w.BitsParSample == *p.bits && w.SRATE == *p.rate);
        FUZZ_CHECK(w.Samples.size() == whole && std::memcmp(w.Samples.data(), data + WavHeaderSize, whole) == 0);
    }
    return 0;
}
