// Faults from outside the program while it runs: the undo folder taken away
// or made unwritable, a WAV file that changes size while it is read, a
// pattern file that is a folder or huge. The sound in memory stays as it was
// and the user hears about it once.
#include "UndoTestSupport.h"
#include "pattern/PatternFiles.h"
#include "undo/UndoRestore.h"
#include "wavfile/WavFile.h"

#include <atomic>
#include <thread>

using namespace wavora;

namespace {

class UndoFolderFaults : public test::UndoFixture {
  protected:
    std::size_t boxesCaptioned(const char* text) const {
        std::size_t n = 0;
        for (const auto& b : fake.boxes) n += b.text == text;
        return n;
    }
};

TEST_F(UndoFolderFaults, UnwritableFolderIsSaidOnceAndUndoLeavesTheSound) {
    // A file where the folder should be: nothing can be stored in it.
    std::filesystem::remove_all(root / "WavoraUnDo");
    std::ofstream(root / "WavoraUnDo") << "not a folder";
    openSound(100);
    change(20, 5);
    change(21, 6);
    EXPECT_EQ(boxesCaptioned(UndoUnwritableText), 1u);
    fake.boxes.clear();
    undoStep(*s);
    ASSERT_EQ(boxesCaptioned(UndoUnreadableText), 1u);
    EXPECT_TRUE(holds(s->active(), 6));
    EXPECT_EQ(s->active().UnDoFlag, "002021"); // the history says what the sound is
}

TEST_F(UndoFolderFaults, RemovedFolderIsMadeAgainAndLaterStepsUndo) {
    openSound(100);
    change(20, 5);
    std::filesystem::remove_all(root / "WavoraUnDo");
    change(21, 6);
    change(22, 7);
    EXPECT_EQ(boxesCaptioned(UndoUnwritableText), 0u);
    undoStep(*s);
    EXPECT_TRUE(holds(s->active(), 6));
    // The step stored before the folder went is gone; the sound stays.
    fake.boxes.clear();
    undoStep(*s);
    EXPECT_EQ(boxesCaptioned(UndoUnreadableText), 1u);
    EXPECT_TRUE(holds(s->active(), 6));
    // Once steps can be stored again, the next failure is said again.
    std::filesystem::remove_all(root / "WavoraUnDo");
    std::ofstream(root / "WavoraUnDo") << "x";
    change(23, 8);
    std::filesystem::remove(root / "WavoraUnDo");
    change(24, 9);
    std::filesystem::remove_all(root / "WavoraUnDo");
    std::ofstream(root / "WavoraUnDo") << "x";
    change(25, 10);
    EXPECT_EQ(boxesCaptioned(UndoUnwritableText), 2u);
}

// Another program writing the file while the editor reads it: every read is
// either the whole canonical file of one moment or a refusal that leaves the
// destination as it was; nothing is read past what is there.
TEST(WavFaults, FileChangingSizeWhileReadIsReadWholeOrRefused) {
    test::TempRoot folder;
    test::FakePlatform fake;
    EditorState s(fake, folder.path);
    const std::filesystem::path file = folder.path / "changing.wav";
    std::vector<std::uint8_t> data(40000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
    const std::vector<std::uint8_t> whole = wavFileBytes(data, 1, 11025, 8);
    const auto put = [&](std::size_t n) {
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(whole.data()), static_cast<std::streamsize>(n));
    };
    put(whole.size());

    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (std::size_t k = 0; !stop; ++k) put(k % 3 == 0 ? 30 : k % 3 == 1 ? whole.size() / 2 : whole.size());
    });
    std::vector<std::uint8_t>& into = s.docs[0].Samples;
    int read = 0, refused = 0;
    for (int i = 0; i < 300; ++i) {
        std::fill(into.begin(), into.end(), 0xEE);
        std::int32_t length = -7;
        fake.boxes.clear();
        if (readWav(s, 0, file, into, length) == 0) {
            ++read;
            // Half a file says it holds more than it has: only what is there.
            ASSERT_GT(length, 0);
            ASSERT_LE(static_cast<std::size_t>(length), data.size());
            ASSERT_TRUE(std::equal(into.begin(), into.begin() + length, data.begin()));
            ASSERT_EQ(into[static_cast<std::size_t>(length)], 0xEE);
        } else {
            ++refused;
            ASSERT_EQ(length, -7);
            ASSERT_EQ(fake.boxes.size(), 1u);
            ASSERT_TRUE(std::all_of(into.begin(), into.end(), [](std::uint8_t b) { return b == 0xEE; }));
        }
    }
    stop = true;
    writer.join();
    EXPECT_EQ(read + refused, 300);
}

// A pattern file picked by the user may be a folder, or a huge file of
// anything: the first is refused, of the second only what the place holds
// is read.
TEST(PatternFileFaults, FolderIsRefusedAndAHugeFileReadOnlyAsFarAsThePlaceHolds) {
    test::TempRoot folder;
    EXPECT_FALSE(readFileStart(folder.path / "WavoraUnDo", 100));
    const std::filesystem::path huge = folder.path / "huge.wpat";
    std::ofstream(huge) << "x";
    std::filesystem::resize_file(huge, 3'000'000'000ull); // sparse: no disk is used
    const auto bytes = readFileStart(huge, static_cast<std::size_t>(DATALENMAX));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), static_cast<std::size_t>(DATALENMAX));
    EXPECT_EQ((*bytes)[0], 'x');
    EXPECT_FALSE(readFileStart(folder.path / "missing.wpat", 10));
}

} // namespace
