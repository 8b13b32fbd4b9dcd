// The recovery at start-up over what a run that died may leave: a real
// history made by a script of changes, undos and redos in up to three
// windows, then damaged as the input says (files cut short, overwritten,
// removed or moved to other numbers, records replaced by any bytes). Whatever
// comes back must be a sound the editor can go on with: consistent history
// strings, a record that reads back, undo and redo that stay inside their
// buffers. With nothing damaged, every sound must come back exactly.
#include "FakePlatform.h"
#include "FuzzSupport.h"
#include "app/StartupRecovery.h"
#include "undo/RecoveryRecord.h"
#include "undo/UndoFiles.h"
#include "undo/UndoStore.h"
#include "view/SoundWindows.h"

#include <fstream>
#include <iterator>

using namespace wavora;

namespace {

std::vector<std::uint8_t> readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A state as a fresh start has it, keeping its big buffers.
void reset(EditorState& s, test::FakePlatform& fake) {
    for (SoundDoc& d : s.docs) {
        std::vector<std::uint8_t> a = std::move(d.Samples), b = std::move(d.VolumeGraph), c = std::move(d.PitchGraph);
        d = SoundDoc{};
        d.Samples = std::move(a);
        d.VolumeGraph = std::move(b);
        d.PitchGraph = std::move(c);
    }
    s.layers = LayerPool{};
    s.ActWndNum = s.WindowCount = 0;
    s.BusyFlag = 0;
    s.frame.RecoveryRunning = 0;
    fake = test::FakePlatform{};
    // Nothing is painted here, and fresh pictures for every window would cost
    // most of each run.
    fake.failSurfaces = true;
}

void makeHistory(EditorState& s, fuzz::Reader& in) {
    const int sounds = 1 + in.byte() % 3;
    for (int i = 0; i < sounds; ++i) {
        const int slot = createSoundWindow(s, i == 1 ? "" : "音" + std::to_string(i), 1100, 768);
        SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
        d.Samples.assign(DATALENMAX, 128);
        d.VolumeGraph.assign(DATALENMAX, 128);
        d.PitchGraph.assign(DATALENMAX, 128);
        d.DataLen = 1 + in.byte() % 64;
        snapshot(s, 0);
    }
    for (int op = in.byte() % 24; op > 0; --op) {
        const std::uint8_t b = in.byte();
        s.ActWndNum = b % sounds;
        SoundDoc& d = s.active();
        if (b & 0x80) {
            (b & 0x40 ? redoCommand : undoCommand)(s);
        } else {
            d.DataLen = std::clamp(d.DataLen + (b % 7) - 3, 0, 64);
            std::fill_n(d.Samples.begin(), d.DataLen, in.byte());
            d.PitchGraph[b % 64] = in.byte();
            d.SelStart = b % 64;
            snapshot(s, b % 40);
        }
    }
}

std::filesystem::path anyFile(EditorState& s, std::uint8_t b, std::uint8_t step) {
    if (b % 9 == 8) return s.path(recoveryFileName((b / 9) % 3));
    return s.path(undoFileName(static_cast<UndoPart>(b % 8), (b / 8) % 3, step % 23));
}

void damage(EditorState& s, fuzz::Reader& in) {
    std::error_code ec;
    while (!in.empty()) {
        const std::uint8_t how = in.byte();
        const std::filesystem::path file = anyFile(s, in.byte(), in.byte());
        switch (how % 4) {
        case 0: std::filesystem::remove(file, ec); break;
        case 1:
            if (std::filesystem::exists(file, ec)) std::filesystem::resize_file(file, in.byte() % 80, ec);
            break;
        case 2: fuzz::writeFile(file, in.block(in.byte())); break;
        default: std::filesystem::rename(file, anyFile(s, in.byte(), in.byte()), ec); break;
        }
    }
}

void checkUsable(EditorState& s) {
    for (int slot = 0; slot < SlotCount; ++slot) {
        SoundDoc& d = s.docs[static_cast<std::size_t>(slot)];
        if (!d.WindowHandle) continue;
        FUZZ_CHECK(d.UnDoFlag.size() >= 2 && d.UnDoFlag.size() % 2 == 0);
        FUZZ_CHECK(d.Yarinaoshi.size() == 2u * d.UndoPos && d.UnDoFlag.size() / 2 + d.UndoPos <= 21);
        FUZZ_CHECK(d.DataLen >= 0 && d.DataLen <= DATALENMAX && d.Samples.size() == DATALENMAX);
        const auto r = parseRecoveryRecord(readAll(s.path(recoveryFileName(slot))), slot);
        FUZZ_CHECK(r && r->undoCodes == d.UnDoFlag && r->redoCodes == d.Yarinaoshi && r->undoPos == d.UndoPos);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static test::FakePlatform fake, fake2;
    static EditorState dying(fake, fuzz::workFolder()), next(fake2, fuzz::workFolder());
    std::error_code ec;
    std::filesystem::remove_all(dying.path(UndoFolderName), ec);
    std::filesystem::create_directories(dying.path(UndoFolderName));
    reset(dying, fake);
    reset(next, fake2);

    fuzz::Reader in(data, size);
    const std::uint8_t head = in.byte();
    makeHistory(dying, in);
    const bool damaged = !in.empty();
    damage(dying, in);
    // Any record that reads writes back to the same bytes.
    for (int slot = 0; slot < 3; ++slot) {
        const std::vector<std::uint8_t> bytes = readAll(dying.path(recoveryFileName(slot)));
        if (auto r = parseRecoveryRecord(bytes, slot)) FUZZ_CHECK(packRecoveryRecord(*r) == bytes);
    }

    fake2.answers = {head & 1 ? MsgAnswer::No : MsgAnswer::Yes};
    offerRecovery(next);
    // No empties the folder; without any record nothing was asked and nothing touched.
    if (head & 1)
        FUZZ_CHECK(next.WindowCount == 0 && (fake2.boxes.empty() || std::filesystem::is_empty(next.path(UndoFolderName))));
    checkUsable(next);
    if (!damaged && !(head & 1)) {
        FUZZ_CHECK(next.WindowCount == dying.WindowCount && fake2.boxes.size() == 1);
        for (int slot = 0; slot < SlotCount; ++slot) {
            const SoundDoc &a = dying.docs[static_cast<std::size_t>(slot)], &b = next.docs[static_cast<std::size_t>(slot)];
            FUZZ_CHECK(a.UnDoFlag == b.UnDoFlag && a.Yarinaoshi == b.Yarinaoshi && a.DataLen == b.DataLen &&
                       std::equal(a.Samples.begin(), a.Samples.begin() + a.DataLen, b.Samples.begin()) &&
                       std::equal(a.PitchGraph.begin(), a.PitchGraph.begin() + a.DataLen, b.PitchGraph.begin()));
        }
    }
    // The user goes on with what came back.
    for (int i = 0; i < 4; ++i) {
        next.ActWndNum = i % SlotCount;
        (i % 3 == 2 ? redoCommand : undoCommand)(next);
    }
    checkUsable(next);
    return 0;
}
