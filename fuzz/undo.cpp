// The undo store's files read back: any state and layer records (well formed
// with wild numbers, or plain garbage), data files short, long or missing,
// over any arrangement of layers in the other windows. A step that cannot be
// used leaves every sound as it was; one that is used leaves the slots and
// the layer pool consistent, and the sound can be rendered for playing.
#include "FakePlatform.h"
#include "FuzzSupport.h"
#include "audio/Render.h"
#include "undo/UndoFiles.h"
#include "undo/UndoRestore.h"

#include <climits>
#include <cstring>

using namespace wavora;

namespace {

std::int32_t wild(std::uint8_t b) {
    static const std::int32_t values[] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 64, -1, DATALENMAX - 1,
                                          DATALENMAX, DATALENMAX + 1, INT32_MAX, INT32_MIN};
    return b < 0xF0 ? values[b % 16] : b - 0xF0 + 11;
}

std::string stateRecord(fuzz::Reader& in) {
    StateRecord r;
    r.currentTool = in.byte();
    r.slot = wild(in.byte());
    r.dataLen = wild(in.byte());
    r.hasSelection = wild(in.byte());
    r.hasMarker = wild(in.byte());
    r.selLeft = wild(in.byte());
    r.selStart = wild(in.byte());
    r.selRight = wild(in.byte());
    r.selLength = wild(in.byte());
    r.layerCount = wild(in.byte());
    r.activeLayer = wild(in.byte());
    r.channels = 1 + in.byte() % 2;
    r.bitsParSample = in.byte() % 2 ? 16 : 8;
    r.srate = wild(in.byte());
    std::string bytes(StateRecordSize, '\0');
    packStateRecord(r, reinterpret_cast<std::uint8_t*>(bytes.data()));
    return bytes;
}

std::string layerRecord(fuzz::Reader& in, int owner) {
    LayerRecord r;
    r.currentTool = in.byte();
    r.slot = wild(in.byte());
    r.layer = in.byte() % 4 ? owner : wild(in.byte());
    r.layerCount = wild(in.byte());
    r.pixelX = wild(in.byte());
    r.screenX = wild(in.byte());
    r.lyLen = wild(in.byte());
    r.lyStart = wild(in.byte());
    r.hasSelection = wild(in.byte());
    r.selLeft = wild(in.byte());
    r.selStart = wild(in.byte());
    r.selRight = wild(in.byte());
    r.selLength = wild(in.byte());
    r.layerAgain = in.byte() % 4 ? r.layer : wild(in.byte());
    for (std::size_t p = 1; p <= 6; ++p) r.layerIds[p] = wild(in.byte());
    std::string bytes(LayerRecordAssembledSize, '\0');
    packLayerRecord(r, reinterpret_cast<std::uint8_t*>(bytes.data()));
    bytes.resize(LayerRecordSize);
    return bytes;
}

// Every slot as a fresh program has it, three of them with windows, and the
// layers handed out as the input says.
void resetState(EditorState& s, fuzz::Reader& in) {
    for (int slot = 0; slot < SlotTableSize; ++slot) {
        SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
        std::vector<std::uint8_t> samples = std::move(d.Samples), volume = std::move(d.VolumeGraph),
                                  pitch = std::move(d.PitchGraph);
        d = SoundDoc{};
        d.Samples = std::move(samples);
        d.VolumeGraph = std::move(volume);
        d.PitchGraph = std::move(pitch);
        if (slot < 3) {
            d.WindowHandle = static_cast<WindowId>(100 + slot);
            d.DataLen = 100;
        }
    }
    s.layers = LayerPool{};
    s.ActWndNum = 0;
    s.WindowCount = 3;
    for (int id = 1; id <= MaxLayerId; ++id) {
        const int owner = in.byte() % 4; // 3: free
        if (owner == 3) continue;
        SoundDoc& d = s.docs[static_cast<std::size_t>(owner)];
        const auto L = static_cast<std::size_t>(id);
        s.layers.LyInUse[L] = 1;
        s.layers.LyLen[L] = 10;
        s.layers.LySamples[L].assign(1010, 128);
        s.layers.LyVolume[L].assign(1010, 128);
        s.layers.LyPitch[L].assign(1010, 128);
        d.LayerIds[static_cast<std::size_t>(++d.LayerCount)] = id;
        d.TopLayer = id;
    }
}

struct Before {
    std::int32_t dataLen, layerCount;
    std::array<std::int32_t, 7> ids;
    std::array<std::uint8_t, LayerTableSize> inUse;
};

void checkConsistent(const EditorState& s) {
    std::array<int, LayerTableSize> owners{};
    for (int slot = 0; slot < SlotCount; ++slot) {
        const SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
        FUZZ_CHECK(d.DataLen >= 0 && d.DataLen <= DATALENMAX);
        FUZZ_CHECK(d.Samples.size() == static_cast<std::size_t>(DATALENMAX));
        FUZZ_CHECK(d.LayerCount >= 0 && d.LayerCount <= MaxLayerId);
        FUZZ_CHECK(d.ActiveLayer == 0 || d.ActiveLayer <= MaxLayerId);
        for (int p = 1; p <= d.LayerCount; ++p) {
            const int id = d.LayerIds[static_cast<std::size_t>(p)];
            FUZZ_CHECK(id >= 1 && id <= MaxLayerId);
            FUZZ_CHECK(s.layers.LyInUse[static_cast<std::size_t>(id)]);
            FUZZ_CHECK(++owners[static_cast<std::size_t>(id)] == 1); // no layer in two lists
            const auto L = static_cast<std::size_t>(id);
            FUZZ_CHECK(s.layers.LyLen[L] >= 0 &&
                       s.layers.LySamples[L].size() >= static_cast<std::size_t>(s.layers.LyLen[L]));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static test::FakePlatform fake;
    static EditorState s(fake, fuzz::workFolder());
    const std::filesystem::path folder = s.path(UndoFolderName);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::filesystem::create_directories(folder);

    fuzz::Reader in(data, size);
    const std::uint8_t head = in.byte();
    const bool baseState = head & 1;
    const int step = (head >> 1) % 3;
    resetState(s, in);
    // The files: which one (part and owner), then a well formed record, a
    // block of raw bytes, or a data file of a chosen length.
    while (!in.empty()) {
        const std::uint8_t which = in.byte();
        const auto part = static_cast<UndoPart>(which % 8);
        const int owner = (which / 8) % 6;
        const std::uint8_t how = in.byte();
        std::string bytes;
        if (how % 3 == 0 && part == UndoPart::Info) bytes = stateRecord(in);
        else if (how % 3 == 0 && part == UndoPart::LyInfo) bytes = layerRecord(in, owner);
        else if (how % 3 == 1) bytes = std::string(in.block(in.byte()));
        else {
            // A data file of a chosen length; a long one only now and then,
            // as writing it costs far more than reading it back.
            const std::int32_t n = wild(in.byte());
            const bool full = (how & 0xF0) == 0xF0 && n >= 0 && n <= DATALENMAX + 1;
            bytes.assign(static_cast<std::size_t>(full ? n : n & 0x3FF), static_cast<char>(how));
        }
        const int fileStep = in.byte() % 4 ? step : (step + 1) % 3;
        fuzz::writeFile(s.path(undoFileName(part, owner, fileStep)), bytes);
    }

    SoundDoc& d = s.docs[0];
    const Before before{d.DataLen, d.LayerCount, d.LayerIds, s.layers.LyInUse};
    fake.boxes.clear();
    fake.debugLines.clear();
    fake.windows.clear();
    const bool restored = restoreStoredStep(s, step, baseState);
    if (!restored) {
        FUZZ_CHECK(fake.boxes.size() == 1);
        FUZZ_CHECK(d.DataLen == before.dataLen && d.LayerCount == before.layerCount && d.LayerIds == before.ids &&
                   s.layers.LyInUse == before.inUse);
    }
    checkConsistent(s);
    // As Play would hear it.
    RenderLayers(s);
    FUZZ_CHECK(s.render.OutputLength >= 0 && s.render.OutputLength <= DATALENMAX);
    return 0;
}
