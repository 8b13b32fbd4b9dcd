// Listening without changing the sound: the audition hands the device what
// Play would, the automatic audition follows the changes, the history list
// and going back through it, and the space bar.
#include "UndoTestSupport.h"
#include "app/Commands.h"
#include "app/MenuTable.h"
#include "app/Settings.h"
#include "audio/Audition.h"
#include "audio/Play.h"
#include "undo/History.h"

#include <map>

namespace wavora::test {
namespace {

namespace fs = std::filesystem;

struct AuditionTest : UndoFixture {
    SoundDoc& d() { return s->active(); }
    SoundDoc& ramp(std::int32_t length, std::uint8_t bits = 8) {
        openSound(length);
        d().BitsParSample = bits;
        for (std::int32_t i = 0; i < length; ++i)
            d().Samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7 + 3);
        snapshot(*s, 20);
        return d();
    }
    // Everything the audition must leave alone: the sound, its layers' data
    // and every undo file.
    std::string everything() {
        const SoundDoc& x = d();
        std::string all(x.Samples.begin(), x.Samples.end());
        all.append(x.VolumeGraph.begin(), x.VolumeGraph.end());
        all.append(x.PitchGraph.begin(), x.PitchGraph.end());
        all += std::to_string(x.DataLen) + x.UnDoFlag + "|" + x.Yarinaoshi + std::to_string(x.LayerCount);
        for (const auto& l : s->layers.LySamples) all.append(l.begin(), l.end());
        std::map<std::string, std::string> files;
        for (const auto& f : fs::directory_iterator(root / "WavoraUnDo")) files[f.path().filename().string()] = readAll(f);
        for (const auto& [name, bytes] : files) all += name + bytes;
        return all;
    }
    // What a drawn stroke leaves when the button is released.
    void stroke() {
        d().VolumeGraph[5] = static_cast<std::uint8_t>(d().VolumeGraph[5] + 9);
        snapshot(*s, 1);
    }
    static std::string readAll(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

TEST_F(AuditionTest, HandsTheDeviceWhatPlayWouldAndChangesNothing) {
    struct Case {
        const char* name;
        void (*shape)(SoundDoc&, EditorState&);
    };
    const Case cases[] = {
        {"graphs", [](SoundDoc& x, EditorState&) {
             std::fill_n(x.PitchGraph.begin() + 200, 300, std::uint8_t{40});
             std::fill_n(x.PitchGraph.begin() + 700, 100, std::uint8_t{230});
             std::fill_n(x.VolumeGraph.begin() + 100, 500, std::uint8_t{20});
         }},
        {"16-bit graphs", [](SoundDoc& x, EditorState&) {
             x.BitsParSample = 16;
             std::fill_n(x.PitchGraph.begin() + 300, 400, std::uint8_t{0});
             std::fill_n(x.VolumeGraph.begin(), 900, std::uint8_t{200});
         }},
        {"layers", [](SoundDoc& x, EditorState& st) {
             x.VolumeGraph[3] = 0;
             x.LayerCount = 1;
             x.LayerIds[1] = 1;
             st.layers.LyStart[1] = 950;
             st.layers.LyLen[1] = 100;
             st.layers.LySamples[1].assign(DATALENMAX, 200);
         }},
        {"selection", [](SoundDoc& x, EditorState&) {
             x.VolumeGraph[30] = 0;
             x.HasSelection = 1;
             x.SelStart = 20;
             x.SelLength = 150;
         }},
        {"marker", [](SoundDoc& x, EditorState&) {
             std::fill_n(x.PitchGraph.begin(), 1000, std::uint8_t{90});
             x.HasMarker = 1;
             x.SelStart = 400;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.shape(ramp(1000), *s);
        const std::string before = everything();
        const std::size_t writes = fake.written.size();
        auditionCommand(*s);
        ASSERT_EQ(fake.written.size(), writes + 1);
        const std::vector<std::uint8_t> heard = fake.written.back();
        EXPECT_EQ(everything(), before);
        EXPECT_EQ(s->BusyFlag, 0);
        PlayCommand(*s);
        EXPECT_EQ(fake.written.back(), heard);
        EXPECT_EQ(fake.outFormats.back().BitsPerSample, d().BitsParSample);
    } // each case in a window of its own

}

TEST_F(AuditionTest, TooLongShowsPlaysMessageAndChangesNothing) {
    SoundDoc& x = ramp(100000);
    std::fill_n(x.PitchGraph.begin(), 100000, std::uint8_t{255});
    const std::string before = everything();
    auditionCommand(*s);
    EXPECT_EQ(fake.lastBox().caption, "<(;_ _)>");
    EXPECT_EQ(fake.lastBox().text, TooLongText);
    EXPECT_TRUE(fake.written.empty());
    EXPECT_EQ(everything(), before);
}

TEST_F(AuditionTest, EveryChangeButPlayIsAuditionedWhenSwitchedOn) {
    ramp(2000);
    s->play.AutoAudition = 1;
    auto heardAfter = [&](auto&& act) {
        const std::size_t before = fake.written.size();
        act();
        auditionIfChanged(*s); // what the frame does after every message
        return fake.written.size() - before;
    };
    fake.dialogs.push_back([](EditorState&) { return 0; });
    EXPECT_EQ(heardAfter([&] { dispatchCommand(*s, 1101); }), 1u);     // a generator
    fake.dialogs.push_back([](EditorState&) { return 0; });
    EXPECT_EQ(heardAfter([&] { dispatchCommand(*s, 1235); }), 1u);     // an effect
    EXPECT_EQ(heardAfter([&] { dispatchCommand(*s, 1212); }), 1u);     // undo
    EXPECT_EQ(heardAfter([&] { stroke(); }), 1u);                      // a stroke's step at its release
    EXPECT_EQ(heardAfter([&] { auditionIfChanged(*s); }), 0u);         // nothing new
    std::fill_n(d().VolumeGraph.begin(), 100, std::uint8_t{10});
    EXPECT_EQ(heardAfter([&] { dispatchCommand(*s, 1201); }), 1u);     // Play's own write, not one more
    s->play.AutoAudition = 0;
    EXPECT_EQ(heardAfter([&] { stroke(); }), 0u);
    s->play.AutoAudition = 1;
    s->dialog.DialogOpen = 1;
    EXPECT_EQ(heardAfter([&] { stroke(); }), 0u); // not while a dialog runs...
    s->dialog.DialogOpen = 0;
    EXPECT_EQ(heardAfter([] {}), 1u);                   // ...but once it is closed
}

TEST_F(AuditionTest, HistoryRowsGoNewestFirstAndGoingThereEqualsUndoAndRedo) {
    ramp(300);
    change(14, 40);
    change(29, 50);
    change(24, 60);
    undoStep(*s);
    auto texts = [&] {
        std::string all;
        for (const HistoryRow& r : historyRows(*s)) all += r.text + "/";
        return all;
    };
    EXPECT_EQ(texts(), "　コーラス/▶ディストーション/　エコー/　Sin波/　新規作成/");

    // Three rows down by the list against three undos by hand, and back up
    // against the redos: the hand's results are taken first, then undone again.
    struct Seen {
        std::string undo, redo;
        std::vector<std::uint8_t> samples;
    };
    auto seen = [&] {
        return Seen{fake.menu[{EditPopup, 0}].caption, fake.menu[{EditPopup, 1}].caption,
                    {d().Samples.begin(), d().Samples.begin() + 300}};
    };
    for (int i = 0; i < 3; ++i) undoStep(*s);
    const Seen down = seen();
    for (int i = 0; i < 4; ++i) redoStep(*s);
    const Seen top = seen();
    redoStep(*s); // nothing left to redo: no change
    undoStep(*s);
    goToHistoryRow(*s, 4);
    EXPECT_EQ(d().UndoPos, 4);
    EXPECT_EQ(seen().undo, down.undo);
    EXPECT_EQ(seen().redo, down.redo);
    EXPECT_EQ(seen().samples, down.samples);
    EXPECT_EQ(texts(), "　コーラス/　ディストーション/　エコー/　Sin波/▶新規作成/");
    goToHistoryRow(*s, 0);
    EXPECT_EQ(d().UndoPos, 0);
    EXPECT_EQ(seen().undo, top.undo);
    EXPECT_EQ(seen().redo, top.redo);
    EXPECT_EQ(seen().samples, top.samples);
    EXPECT_EQ(d().Samples[0], 60);
}

TEST_F(AuditionTest, AStoredStateIsHeardFromItsFilesAsItWasRendered) {
    SoundDoc& x = ramp(1000);
    std::fill_n(x.PitchGraph.begin(), 500, std::uint8_t{60});
    snapshot(*s, 5);
    auditionCommand(*s);
    const std::vector<std::uint8_t> then = fake.written.back();
    change(14, 90); // the sound moves on
    const std::string before = everything();
    ASSERT_TRUE(auditionStoredState(*s, 1));
    EXPECT_EQ(fake.written.back(), then);
    EXPECT_EQ(everything(), before);
    EXPECT_FALSE(auditionStoredState(*s, 7)); // no such step
}

TEST_F(AuditionTest, SpaceStopsWhatPlaysOrAuditionsAndTheSettingIsKept) {
    ramp(500);
    dispatchCommand(*s, AuditionOrStopId);
    EXPECT_EQ(s->play.PlayingFlag, 1);
    EXPECT_EQ(s->play.Auditioning, 1);
    dispatchCommand(*s, AuditionOrStopId);
    EXPECT_EQ(s->play.PlayingFlag, 0);

    fs::create_directories(root / "Wavora個人設定");
    dispatchCommand(*s, AutoAuditionId);
    EXPECT_TRUE(fake.checkedItems[AutoAuditionId]);
    EXPECT_EQ(readAll(root / "Wavora個人設定" / "AutoAudition.wavora"), std::string("1\r\n", 4));
    s->play.AutoAudition = 0;
    loadAutoAudition(*s);
    EXPECT_EQ(s->play.AutoAudition, 1);
    dispatchCommand(*s, AutoAuditionId);
    loadAutoAudition(*s);
    EXPECT_EQ(s->play.AutoAudition, 0);
    EXPECT_FALSE(fake.checkedItems[AutoAuditionId]);
}

TEST(MenuKeys, EveryKeyNamesAnItemOfTheMenuAndTheItemShowsIt) {
    for (const Accelerator& a : accelerators()) {
        SCOPED_TRACE(a.keyText);
        EXPECT_TRUE(a.command == AuditionOrStopId || isCommandId(a.command));
        EXPECT_NE(commandHandler(a.command == AuditionOrStopId ? 1271 : a.command), nullptr);
    }
    EXPECT_EQ(menuCaptionWithKey("試聴(&T)", 1271), "試聴(&T)\tSpace");
    EXPECT_EQ(menuCaptionWithKey("Sin波 の取消し(&U)", 1212), "Sin波 の取消し(&U)\tCtrl+Z");
    EXPECT_EQ(menuCaptionWithKey("<(_ _)>やり直せません(&Y)", 1222), "<(_ _)>やり直せません(&Y)\tCtrl+Y");
    EXPECT_EQ(menuCaptionWithKey("ループ再生(&R)", 1238), "ループ再生(&R)");
}

} // namespace
} // namespace wavora::test
