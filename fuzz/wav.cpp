// The WAV reader: any bytes a user may open. A file is refused with a message
// or read whole; what is read always fits the slot, and a file the program
// writes from what it read reads back the same.
#include "FakePlatform.h"
#include "FuzzSupport.h"
#include "wavfile/WavFile.h"

#include <algorithm>
#include <cstring>

using namespace wavora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static test::FakePlatform fake;
    static EditorState s(fake, fuzz::workFolder());
    const std::span<const std::uint8_t> file(data, size);

    const WavParse p = parseWav(file);
    FUZZ_CHECK(fuzz::validUtf8(p.text) && fuzz::validUtf8(p.caption));
    if (p.ok) {
        FUZZ_CHECK(p.channels && (*p.channels == 1 || *p.channels == 2));
        FUZZ_CHECK(p.bits && (*p.bits == 8 || *p.bits == 16));
        FUZZ_CHECK(p.rate && *p.rate > 0);
        FUZZ_CHECK(p.dataLength >= 0 && p.dataLength <= DATALENMAX);
        FUZZ_CHECK(static_cast<std::size_t>(p.dataLength) + WavHeaderSize <= size);
    } else {
        FUZZ_CHECK(!p.caption.empty());
    }

    // Into a slot: the destination keeps its size, a refusal leaves the
    // length alone and tells the user once.
    SoundDoc& d = s.docs[0];
    std::int32_t length = -7;
    fake.boxes.clear();
    const int r = readWavBytes(s, 0, file, d.Samples, length);
    FUZZ_CHECK(d.Samples.size() == static_cast<std::size_t>(DATALENMAX));
    if (r == 0) {
        FUZZ_CHECK(p.ok && length == p.dataLength && fake.boxes.empty());
        FUZZ_CHECK(std::memcmp(d.Samples.data(), data + WavHeaderSize, static_cast<std::size_t>(length)) == 0);
        // What the program writes of it reads back as the same sound.
        if (static_cast<std::size_t>(length) + WavHeaderSize + 1 <= static_cast<std::size_t>(WavFileMax)) {
            const auto again = wavFileBytes({d.Samples.data(), static_cast<std::size_t>(length)}, d.Channels,
                                            d.SRATE, d.BitsParSample);
            const WavParse q = parseWav(again);
            FUZZ_CHECK(q.ok && q.dataLength == length && q.channels == p.channels && q.bits == p.bits &&
                       q.rate == p.rate);
        }
    } else {
        FUZZ_CHECK(!p.ok && length == -7 && fake.boxes.size() == 1);
    }
    return 0;
}
