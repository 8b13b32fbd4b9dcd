// The composed picture of a sound window, read back pixel by pixel: where the
// content sits, the frame, the band lines over label strip and content, the
// texts and their rows, the tints of marker, selection and layers, the play line.
#include "FakePlatform.h"
#include "core/WindowSurfaces.h"
#include "view/SoundView.h"
#include "view/SoundWindowEvents.h"
#include "view/SoundWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace wavora;
using wavora::test::DrawnText;
using wavora::test::FakePlatform;

namespace {

constexpr Pixel LabelBg = rgb(254, 255, 255);

struct Window {
    FakePlatform p;
    EditorState s{p};
    int slot = -1;

    explicit Window(std::int32_t dataLen, int width = 1100, int height = 768) {
        createSharedSurfaces(s);
        slot = createSoundWindow(s, "画面", 1100, 768);
        doc().DataLen = dataLen;
        doc().SRATE = 8000;
        fitViewToLength(s, slot);
        doc().view.ClientWidth = width;
        doc().view.ClientHeight = height;
    }
    SoundDoc& doc() { return s.docs[static_cast<std::size_t>(slot)]; }
    WindowSurfaces& ws() { return *s.surfaces[static_cast<std::size_t>(slot)]; }
    Surface& out() { return *ws().ComposeSurface; }
    void paint() {
        p.texts.clear();
        PaintSoundWindow(s, slot);
    }
    std::vector<DrawnText> textsOn(const Surface* surface) const {
        std::vector<DrawnText> r;
        for (const DrawnText& t : p.texts)
            if (t.surface == surface) r.push_back(t);
        return r;
    }
    const DrawnText* text(const std::string& content, const Surface* surface) const {
        for (const DrawnText& t : p.texts)
            if (t.text == content && t.surface == surface) return &t;
        return nullptr;
    }
};

void addLayer(EditorState& s, SoundDoc& d, int id, std::int32_t start, std::int32_t len, std::uint8_t sample,
              bool additive) {
    LayerPool& pool = s.layers;
    auto i = static_cast<std::size_t>(id);
    pool.LySamples[i].assign(static_cast<std::size_t>(len) + 1000, sample);
    pool.LyVolume[i].assign(static_cast<std::size_t>(len) + 1000, 128);
    pool.LyPitch[i].assign(static_cast<std::size_t>(len) + 1000, 128);
    pool.LyStart[i] = start;
    pool.LyLen[i] = len;
    pool.LyAdditive[i] = additive ? 1 : 0;
    pool.LyInUse[i] = 1;
    d.LayerIds[static_cast<std::size_t>(++d.LayerCount)] = id;
}

} // namespace

TEST(PaintSoundWindow, ContentStartsAfterTheLabelStripAndIsFramedInLargeWindows) {
    // 800 bytes in a window 1300 wide and 900 high: framed, centred 66 rows down.
    Window w(800, 1300, 900);
    w.doc().Samples[0] = 0;   // dot at content (0, 1)
    w.doc().Samples[799] = 0; // dot at content (799, 1)
    w.paint();
    const ViewState& v = w.doc().view;
    EXPECT_TRUE(v.FramedView);
    EXPECT_EQ(v.YOffset, 66);
    EXPECT_EQ(w.out().get(200, 67), Black);
    EXPECT_EQ(w.out().get(999, 67), Black);
    EXPECT_EQ(w.out().get(200, 66 + 129), White); // byte 0 is drawn at row 1 only
    EXPECT_EQ(w.out().get(201, 66 + 129), Black); // byte 1 is silence, row 129
    EXPECT_EQ(w.out().get(500, 10), FrameGrey);   // above the content
    EXPECT_EQ(w.out().get(500, 65), Black);       // the outline just above it
    EXPECT_EQ(w.out().get(100, 10), LabelBg);     // the strip covers the frame on the left

    // Not wide enough, not tall enough: no frame and no offset.
    Window plain(800, 1100, 700);
    plain.paint();
    EXPECT_FALSE(plain.doc().view.FramedView);
    EXPECT_EQ(plain.doc().view.YOffset, 0);
    EXPECT_EQ(plain.out().get(200, 129), Black);
    EXPECT_EQ(plain.out().get(199, 129), Red); // the strip's right edge

    // Exactly as wide as 1000 content pixels plus the strip: framed, rows unchanged.
    Window edge(800, 1200, 700);
    edge.paint();
    EXPECT_TRUE(edge.doc().view.FramedView);
    EXPECT_EQ(edge.doc().view.YOffset, 0);
}

TEST(PaintSoundWindow, BandLinesAreRedOverContentAndStripButCentreLinesSpareTheStrip) {
    // 500 bytes: content columns from 500 on carry no dots, so the lines show plain.
    Window w(500, 1100, 768);
    for (int i = 0; i < 500; ++i)
        w.doc().Samples[static_cast<std::size_t>(i)] = 0;
    w.doc().Samples[50] = 127; // a dot on the waveform's centre line at row 128
    w.paint();
    for (int row : {256, 512, 767}) {
        EXPECT_EQ(w.out().get(800, row), Red) << row;
        EXPECT_EQ(w.out().get(50, row), rgb(254, 0, 0)) << row; // red ANDed on the strip
    }
    for (int row : {128, 384, 640}) {
        EXPECT_EQ(w.out().get(800, row), Red) << row;
        EXPECT_EQ(w.out().get(50, row), LabelBg) << row;
    }
    EXPECT_EQ(w.out().get(250, 128), Black); // the dot stays black on the red line
    EXPECT_EQ(w.out().get(300, 384), Black); // and so does the neutral volume graph
    EXPECT_EQ(w.out().get(800, 257), White);
    EXPECT_EQ(w.out().get(800, 129), White);

    // Zoomed out to half height the lines follow the scale, below the centring offset.
    w.doc().view.XScale = 0.5f;
    w.doc().view.YScale = 0.5f;
    w.doc().view.ClientHeight = 700;
    w.paint();
    EXPECT_EQ(w.doc().view.YOffset, 158); // (700 - 384) / 2
    EXPECT_TRUE(w.doc().view.FramedView);
    for (int row : {64, 128, 192, 256, 320, 383})
        EXPECT_EQ(w.out().get(800, row + 158), Red) << row;
    EXPECT_EQ(w.out().get(800, 384 + 158), White);
    EXPECT_EQ(w.out().get(800, 100), FrameGrey);
    // The outline is as wide as the scaled content, measured from the left edge.
    EXPECT_EQ(w.out().get(400, 157), Black);
    EXPECT_EQ(w.out().get(500, 157), Black);
    EXPECT_EQ(w.out().get(501, 157), FrameGrey);
}

TEST(PaintSoundWindow, LabelTextsAndMarksSitOnTheirScaledRows) {
    Window w(800, 1100, 900);
    w.paint();
    const Surface* strip = w.ws().LabelStrip.get();
    const int off = w.doc().view.YOffset;
    ASSERT_EQ(off, 66);
    struct Want {
        const char* text;
        int x, row;
    };
    const Want labels[] = {{"波形グラフ", 10, 100},
                           {"音量変化グラフ  　 変化0", 10, 356},
                           {"高さ変化グラフ  　 変化0", 10, 612},
                           {"大", 180, 266},
                           {"小", 180, 442},
                           {"高", 180, 522},
                           {"低", 180, 698}};
    for (const Want& l : labels) {
        const DrawnText* t = w.text(l.text, strip);
        ASSERT_NE(t, nullptr) << l.text;
        EXPECT_EQ(t->x, l.x) << l.text;
        EXPECT_EQ(t->y, l.row + off) << l.text;
    }
    std::vector<int> arrows;
    for (const DrawnText& t : w.textsOn(strip))
        if (t.text == "↑" || t.text == "↓") arrows.push_back(t.y - off);
    EXPECT_EQ(arrows, (std::vector<int>{311, 407, 567, 663}));
    EXPECT_EQ(w.textsOn(strip).size(), 11u);

    // At half scale the rows are halved before the offset is added.
    w.doc().view.XScale = w.doc().view.YScale = 0.5f;
    w.paint();
    const int half = w.doc().view.YOffset;
    EXPECT_EQ(half, 258); // (900 - 384) / 2
    EXPECT_EQ(w.text("音量変化グラフ  　 変化0", strip)->y, 178 + half);
    EXPECT_EQ(w.text("↑", strip)->y, 155 + half);
}

TEST(PaintSoundWindow, TimeScaleShowsWholeSecondsAndTheExactEnd) {
    Window w(20000, 1100, 768); // 8000 bytes a second: 2.5 seconds
    w.doc().view.XScale = 1.0f / 32.0f;
    w.doc().view.YScale = 0.5f;
    w.paint();
    const Surface* overlay = w.ws().OverlaySurface.get();
    std::vector<std::pair<std::string, int>> seen;
    for (const DrawnText& t : w.textsOn(overlay)) {
        seen.emplace_back(t.text, t.x);
        EXPECT_EQ(t.y, 50 + w.doc().view.YOffset);
    }
    EXPECT_EQ(seen,
              (std::vector<std::pair<std::string, int>>{{"0", 200}, {"1", 450}, {"2", 700}, {"2.5", 825}}));

    // Scrolled past the first second: the marks move with the bytes.
    w.doc().view.FirstByte = 9000;
    w.paint();
    seen.clear();
    for (const DrawnText& t : w.textsOn(overlay))
        seen.emplace_back(t.text, t.x);
    EXPECT_EQ(seen,
              (std::vector<std::pair<std::string, int>>{{"2", 200 + 7000 / 32}, {"2.5", 200 + 11000 / 32}}));

    // 16-bit at 11025: 22050 bytes a second, the end as a fraction.
    Window c(1000, 1100, 700);
    c.doc().SRATE = 11025;
    c.doc().BitsParSample = 16;
    c.doc().view.XScale = 0.5f;
    c.paint();
    const DrawnText* end = c.text("0.0453514739229025", c.ws().OverlaySurface.get());
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end->x, 200 + 500);
    EXPECT_EQ(c.textsOn(c.ws().OverlaySurface.get()).size(), 2u); // "0" and the end
}

TEST(PaintSoundWindow, MarkerAndSelectionAreTintedByAnd) {
    Window w(1000, 1100, 700);
    SoundDoc& d = w.doc();
    d.Samples[120] = 0; // a black dot inside the selection
    d.HasSelection = 1;
    d.SelStart = 100;
    d.SelLength = 50;
    d.SelRect = Rect{100, 0, 150, 768};
    w.paint();
    EXPECT_EQ(w.out().get(300, 50), Cyan);
    EXPECT_EQ(w.out().get(349, 50), Cyan);
    EXPECT_EQ(w.out().get(350, 50), White);
    EXPECT_EQ(w.out().get(299, 50), White);
    EXPECT_EQ(w.out().get(320, 1), Black);   // the dot shows through
    EXPECT_EQ(w.out().get(310, 256), Black); // red line AND cyan
    EXPECT_EQ(w.out().get(310, 129), Black); // a silence dot stays black
    EXPECT_EQ(w.out().get(400, 256), Red);

    // The marker: one column, from its top for as many rows as the lower edge says.
    d.HasSelection = 0;
    d.HasMarker = 1;
    d.SelStart = 400;
    d.SelRect = Rect{0, 300, 0, 100};
    w.paint();
    EXPECT_EQ(w.out().get(600, 300), Cyan);
    EXPECT_EQ(w.out().get(600, 399), Cyan);
    EXPECT_EQ(w.out().get(600, 400), White);
    EXPECT_EQ(w.out().get(600, 299), White);
    EXPECT_EQ(w.out().get(601, 350), White);
    EXPECT_EQ(w.out().get(330, 50), White); // the old selection is gone

    // Scrolled and zoomed the marker follows the view.
    d.view.XScale = 0.5f;
    d.view.FirstByte = 200;
    w.paint();
    EXPECT_EQ(w.out().get(300, 350), Cyan);
}

TEST(PaintSoundWindow, LayersCoverOrTintTheBackgroundInTheirColours) {
    Window w(2000, 1100, 700);
    SoundDoc& d = w.doc();
    for (int i = 0; i < 2000; ++i)
        d.Samples[static_cast<std::size_t>(i)] = 0; // dots at row 1
    addLayer(w.s, d, 2, 100, 50, 255, false);       // yellow, opaque: hides the background
    addLayer(w.s, d, 3, 300, 50, 255, true);        // green, additive: background shows through
    w.paint();
    EXPECT_EQ(w.out().get(310, 50), rgb(255, 255, 187));
    EXPECT_EQ(w.out().get(310, 1), rgb(255, 255, 187)); // background dot covered
    EXPECT_EQ(w.out().get(310, 256), Black);            // the layer's own sample 255
    EXPECT_EQ(w.out().get(510, 50), rgb(187, 255, 187));
    EXPECT_EQ(w.out().get(510, 1), Black); // background dot through the AND
    EXPECT_EQ(w.out().get(349, 50), rgb(255, 255, 187));
    EXPECT_EQ(w.out().get(350, 50), White);
    EXPECT_EQ(w.s.layers.LyPixelX[2], 100);
    EXPECT_EQ(w.s.layers.LyPixelWidth[2], 50);
    EXPECT_EQ(w.s.layers.LyPixelHeight[2], 768);

    // Scrolled so the first layer starts left of the view: its visible rest
    // sits at the left edge and the picture never exceeds the content.
    d.view.FirstByte = 120;
    w.paint();
    EXPECT_EQ(w.s.layers.LyPixelX[2], -20);
    EXPECT_EQ(w.out().get(200, 50), rgb(255, 255, 187));
    EXPECT_EQ(w.out().get(229, 50), rgb(255, 255, 187));
    EXPECT_EQ(w.out().get(230, 50), White);
    EXPECT_LE(w.ws().LayerPictures[2]->width(), 1000);

    // A layer longer than the whole view gets a picture of the view's width only.
    addLayer(w.s, d, 4, 0, 400000, 128, false);
    w.paint();
    EXPECT_EQ(w.s.layers.LyPixelWidth[4], 400000);
    EXPECT_EQ(w.ws().LayerPictures[4]->width(), 1000);
    EXPECT_EQ(w.out().get(999, 50), rgb(255, 204, 204));
    EXPECT_EQ(w.out().get(999, 129), Black);
}

TEST(PaintSoundWindow, WhilePlayingOnlyThePlayLineMoves) {
    Window w(1000, 1100, 700);
    SoundDoc& d = w.doc();
    d.Channels = 2;
    w.paint();
    d.Samples[10] = 0; // written after the last render
    w.s.play.PlayingFlag = 1;
    w.s.play.PlayPos = 300;
    w.paint();
    for (int row : {0, 300, 767 - 100})
        EXPECT_EQ(w.out().get(200 + 600, row), Black) << row; // 300 x 2 channels
    EXPECT_EQ(w.out().get(200 + 300, 50), White);
    EXPECT_EQ(w.out().get(210, 1), White); // graphs not rendered again

    w.s.play.PlayingFlag = 0;
    w.paint();
    EXPECT_EQ(w.out().get(210, 1), Black);
    EXPECT_EQ(w.out().get(800, 50), White);
}

TEST(PaintSoundWindow, VerticalScrollMovesContentStripAndLinesTogether) {
    Window w(1000, 1100, 400);
    w.doc().Samples[0] = 255; // content row 256
    w.doc().view.ScrollY = 100;
    w.paint();
    EXPECT_EQ(w.out().get(200, 156), Black);
    EXPECT_EQ(w.out().get(600, 156), Red);           // band line 256
    EXPECT_EQ(w.out().get(50, 156), rgb(254, 0, 0)); // through the strip too
    EXPECT_EQ(w.out().get(600, 28), Red);            // centre line 128
    EXPECT_EQ(w.out().get(199, 700), Red);           // strip edge all the way down
}

TEST(PaintSoundWindow, ThePaintingFlagGuardsAndMissingSurfacesAreSkipped) {
    Window w(800, 1100, 700);
    w.out().fill(rgb(1, 2, 3));
    w.s.frame.PaintingFlag = 1;
    w.paint();
    EXPECT_EQ(w.out().get(500, 300), rgb(1, 2, 3));
    EXPECT_TRUE(w.p.texts.empty());
    w.s.frame.PaintingFlag = 0;
    w.paint();
    EXPECT_EQ(w.s.frame.PaintingFlag, 0);
    EXPECT_EQ(w.out().get(500, 300), White);

    // Without an overlay the rest is still composed.
    w.ws().OverlaySurface.reset();
    w.doc().Samples[5] = 0;
    w.paint();
    EXPECT_EQ(w.out().get(205, 1), Black);
    EXPECT_EQ(w.out().get(600, 256), White); // no band lines without the overlay

    // Creation failed for all of them.
    FakePlatform p;
    p.failSurfaces = true;
    EditorState s(p);
    createSharedSurfaces(s);
    int slot = createSoundWindow(s, "失敗", 1100, 768);
    s.docs[static_cast<std::size_t>(slot)].DataLen = 100;
    s.docs[static_cast<std::size_t>(slot)].HasSelection = 1;
    s.play.PlayingFlag = 1;
    PaintSoundWindow(s, slot);
    EXPECT_EQ(s.frame.PaintingFlag, 0);
    s.surfaces[static_cast<std::size_t>(slot)].reset();
    EXPECT_TRUE(onPaint(s, slot)); // paints nothing, faults nothing
}
