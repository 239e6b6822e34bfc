// The output stage column in the open editor, with an effect whose meter readings the test
// sets: bar heights, peak holds and their readouts, master/dry/wet texts, what each output hint
// repaints, drags and resets of the three levels, and no GDI object left behind.
#include "editor/OutputStageView.h"
#include "gui/GdiCounter.h"
#include "tests/gui/EditorViewFixture.h"

#include <limits>
#include <string>

namespace qv {

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// --- texts and bar heights --------------------------------------------------------------------

struct BarCase {
    float reading;
    int top;
};

// 7 rows per dB below full scale (reading 0.1).
constexpr BarCase kBars[] = {
    {0.1f, 0},     {1.0f, 0},      {0.05f, 42}, {0.01f, 140}, {0.002f, 237},
    {0.001f, 280}, {0.0005f, 280}, {0.0f, 280}, {-0.2f, 280}, {kNaN, 280},
};

TEST(OutputStageText, BarTops) {
    for (const BarCase& c : kBars)
        EXPECT_EQ(OutputStageView::barTop(c.reading), c.top) << c.reading;
}

struct PeakCase {
    float peak;
    const char* text;
    bool over;
};

constexpr PeakCase kPeaks[] = {
    {1.0f, "0.00", true},       {10.0f, "over 20", true}, {0.5f, "-6.02", false},
    {0.0f, "----", false},      {2.0f, "6.02", true},     {0.1f, "-20.00", false},
    {0.000001f, "----", false}, {kNaN, "----", false},
};

TEST(OutputStageText, PeakReadouts) {
    for (const PeakCase& c : kPeaks) {
        char text[16];
        bool over = !c.over;
        OutputStageView::formatPeak(c.peak, text, sizeof text, over);
        EXPECT_STREQ(text, c.text) << c.peak;
        EXPECT_EQ(over, c.over) << c.peak;
    }
}

struct LevelCase {
    float value;
    const char* text;
};

constexpr LevelCase kMaster[] = {
    {0.5f, "0.0 dB"},   {0.75f, "12.0 dB"}, {0.0f, "-24.0 dB"},  {1.0f, "24.0 dB"},
    {0.501f, "0.0 dB"}, {0.503f, "0.1 dB"}, {0.25f, "-12.0 dB"},
};
constexpr LevelCase kLevels[] = {
    {0.0f, "-oo"}, {1.0f, "0.0"}, {0.5f, "-6.0"}, {0.1f, "-20.0"}, {1e-7f, "-oo"}, {kNaN, "-oo"},
};

TEST(OutputStageText, MasterAndLevels) {
    char text[24];
    for (const LevelCase& c : kMaster) {
        OutputStageView::formatMaster(c.value, text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.value;
    }
    for (const LevelCase& c : kLevels) {
        OutputStageView::formatLevel(c.value, text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.value;
    }
}

// --- in the editor ----------------------------------------------------------------------------

// The plug-in's effect with meter readings set by the test.
class MeteredEffect : public MultibandEffect {
public:
    MeteredEffect() : MultibandEffect(recordingHost) {}
    float getEditorValue(VstInt32 tag) override {
        for (int m = 0; m < OutputStageView::kMeterCount; ++m)
            if (tag == OutputStageView::kMeterTags[m]) return readings[m];
        return MultibandEffect::getEditorValue(tag);
    }
    float readings[OutputStageView::kMeterCount] = {}; // tags 98, 99, 105, 106
};

MultibandEffectBase* makeMetered() {
    return new MeteredEffect();
}

const COLORREF kBright = RGB(255, 0, 102);
const COLORREF kDark = RGB(217, 0, 87);
const Color kOver(221, 0, 88);
constexpr int kMeterLeft = 707;
constexpr int kMeterTop = 67;

class OutputStageInEditor : public EditorViewFixture {
protected:
    OutputStageInEditor() : EditorViewFixture(makeMetered) {}
    void SetUp() override {
        open();
        view = static_cast<OutputStageView*>(editor->findCustomView(1));
        ASSERT_NE(view, nullptr);
    }
    MeteredEffect& metered() { return *static_cast<MeteredEffect*>(effect); }
    void setReadings(float a, float b, float c, float d) {
        const float r[4] = {a, b, c, d};
        for (int m = 0; m < 4; ++m)
            metered().readings[m] = r[m];
    }
    // The effect asks for a redraw with this hint, as its meters and setters do.
    void redrawWith(VstInt32 hint) {
        effect->setEditorHint(110, hint);
        editor->postUpdateOutputStage();
        idle();
    }
    COLORREF scalePixel(int x, int y) {
        Bitmap* scale = new Bitmap(10052);
        COLORREF c;
        {
            OffscreenContext copy(nullptr, scale);
            c = GetPixel(copy.getDC(), x, y) & 0xFFFFFF;
        }
        scale->release();
        return c;
    }
    COLORREF meterPixel(int column, int row) {
        return screenPixel(kMeterLeft + column, kMeterTop + row);
    }
    int differs(const Rect& rect, int id, const std::string& text, FontId font, int style,
                Color colour, int align) {
        BoxPicture expected(id, text, font, style, colour, align);
        return differingPixels(rect, expected.get());
    }
    int peakDiffers(int k, const std::string& text, Color colour) {
        return differs(view->peakRect(k), 10056, text, 5, 0, colour, DrawContext::kAlignRight);
    }
    int masterDiffers(const std::string& text) {
        return differs(view->masterRect(), 10055, text, 3, 1, kBlack, DrawContext::kAlignCenter);
    }
    int levelDiffers(const Rect& box, const std::string& text) {
        return differs(box, 10057, text, 5, 0, kBlack, DrawContext::kAlignCenter);
    }
    // Paints a marker colour over rect on screen, so a later redraw shows up.
    void smear(const Rect& rect) {
        HDC dc = GetDC(frameWindow());
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        RECT r = {rect.left, rect.top, rect.right, rect.bottom};
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        ReleaseDC(frameWindow(), dc);
    }
    bool smeared(const Rect& rect) {
        return screenPixel(rect.left + 1, rect.top + 1) == RGB(1, 2, 3);
    }

    OutputStageView* view = nullptr;
};

TEST_F(OutputStageInEditor, ElementsAtTheirPlaces) {
    EXPECT_EQ(view->viewSize(), Rect(679, 2, 783, 568));
    EXPECT_EQ(view->meterRect(), Rect(707, 67, 752, 347));
    EXPECT_EQ(view->masterRect(), Rect(696, 469, 764, 483));
    EXPECT_EQ(view->masterDragRect(), Rect(692, 430, 767, 505));
    EXPECT_EQ(view->peakRect(0), Rect(725, 383, 770, 395));
    EXPECT_EQ(view->peakRect(1), Rect(725, 397, 770, 409));
    EXPECT_EQ(view->dryRect(), Rect(686, 534, 728, 549));
    EXPECT_EQ(view->wetRect(), Rect(734, 534, 776, 549));
}

TEST_F(OutputStageInEditor, MeterBarsInTheirColumns) {
    setReadings(0.01f, 0.1f, 0.0009f, 0.05f); // tops 140, 0, none, 42
    redrawWith(1);
    // 98: bright 6..10, dark 11..12, from row 140 down.
    EXPECT_EQ(meterPixel(6, 140), kBright);
    EXPECT_EQ(meterPixel(10, 279), kBright);
    EXPECT_EQ(meterPixel(11, 140), kDark);
    EXPECT_EQ(meterPixel(12, 200), kDark);
    EXPECT_EQ(meterPixel(8, 139), scalePixel(8, 139));
    EXPECT_EQ(meterPixel(13, 200), scalePixel(13, 200));
    EXPECT_EQ(meterPixel(5, 200), scalePixel(5, 200));
    // 99: full.
    EXPECT_EQ(meterPixel(32, 0), kBright);
    EXPECT_EQ(meterPixel(36, 0), kBright);
    EXPECT_EQ(meterPixel(37, 0), kDark);
    EXPECT_EQ(meterPixel(38, 279), kDark);
    // 105: no bar.
    for (int column = 0; column <= 2; ++column)
        EXPECT_EQ(meterPixel(column, 279), scalePixel(column, 279)) << column;
    // 106: bright 42..43, dark 44, from row 42.
    EXPECT_EQ(meterPixel(42, 42), kBright);
    EXPECT_EQ(meterPixel(43, 279), kBright);
    EXPECT_EQ(meterPixel(44, 42), kDark);
    EXPECT_EQ(meterPixel(43, 41), scalePixel(43, 41));
    // Bars fall again with the readings.
    setReadings(0.0f, 0.0f, 0.0f, 0.0f);
    redrawWith(1);
    EXPECT_EQ(meterPixel(8, 200), scalePixel(8, 200));
    EXPECT_EQ(meterPixel(34, 0), scalePixel(34, 0));
}

TEST_F(OutputStageInEditor, PeakHoldsRiseAndStay) {
    EXPECT_EQ(peakDiffers(0, "----", kBlack), 0);
    EXPECT_EQ(peakDiffers(1, "----", kBlack), 0);
    setReadings(0.05f, 0.1f, 0.01f, 0.05f);
    redrawWith(1);
    EXPECT_FLOAT_EQ(view->getPeakHold(0), 1.0f);
    EXPECT_FLOAT_EQ(view->getPeakHold(1), 0.5f);
    EXPECT_EQ(peakDiffers(0, "0.00", kOver), 0);
    EXPECT_GT(peakDiffers(0, "0.00", kBlack), 0); // the colour is seen
    EXPECT_EQ(peakDiffers(1, "-6.02", kBlack), 0);
    // Lower readings leave the holds; a higher one on either channel raises them.
    setReadings(0.01f, 0.01f, 0.001f, 0.001f);
    redrawWith(1);
    EXPECT_EQ(peakDiffers(0, "0.00", kOver), 0);
    setReadings(1.5f, 0.0f, 0.0f, 0.07f);
    redrawWith(1);
    EXPECT_EQ(peakDiffers(0, "over 20", kOver), 0);
    EXPECT_FLOAT_EQ(view->getPeakHold(1), 0.7f);
    // A NaN reading changes no hold.
    setReadings(kNaN, kNaN, kNaN, kNaN);
    redrawWith(1);
    EXPECT_FLOAT_EQ(view->getPeakHold(0), 15.0f);
    EXPECT_FLOAT_EQ(view->getPeakHold(1), 0.7f);
}

TEST_F(OutputStageInEditor, ClickingAPeakReadoutClearsItWithoutHidingThePointer) {
    setReadings(0.05f, 0.1f, 0.01f, 0.05f);
    redrawWith(1);
    gesture(InputSource::kPhysicalLeft, Point(740, 390));
    EXPECT_EQ(view->getPeakHold(0), 0.0f);
    EXPECT_FLOAT_EQ(view->getPeakHold(1), 0.5f);
    EXPECT_EQ(peakDiffers(0, "----", kBlack), 0);
    gesture(InputSource::kPhysicalLeft, Point(770, 409)); // corner of readout 2, inclusive
    EXPECT_EQ(view->getPeakHold(1), 0.0f);
    EXPECT_EQ(input.hides, 0);
    EXPECT_TRUE(input.moves.empty());
}

TEST_F(OutputStageInEditor, LevelTexts) {
    effect->setParameter(55, 0.75f);
    effect->setParameter(75, 0.0f);
    effect->setParameter(76, 1.0f);
    idle();  // serves the last hint (wet) and clears it
    paint(); // so this paint is a full one
    EXPECT_EQ(masterDiffers("12.0 dB"), 0);
    EXPECT_GT(masterDiffers("12.0 dB ") + masterDiffers("11.9 dB"), 0);
    EXPECT_EQ(levelDiffers(view->dryRect(), "-oo"), 0);
    EXPECT_EQ(levelDiffers(view->wetRect(), "0.0"), 0);
    effect->setParameter(55, 0.5f); // the effect asks for the master readout only
    idle();
    EXPECT_EQ(masterDiffers("0.0 dB"), 0);
    effect->setParameter(55, 0.0f);
    idle();
    EXPECT_EQ(masterDiffers("-24.0 dB"), 0);
}

struct HintCase {
    VstInt32 hint;
    bool meters, master, peaks, dry, wet, background;
};

constexpr HintCase kHints[] = {
    {0, true, true, true, true, true, true},        {1, true, false, false, false, false, false},
    {2, false, true, false, false, false, false},   {3, false, false, false, true, false, false},
    {4, false, false, false, false, true, false},   {5, false, false, false, false, false, false},
    {-1, false, false, false, false, false, false},
};

TEST_F(OutputStageInEditor, EachHintRepaintsItsPartThenTheHintIsZero) {
    const Rect backgroundSpot(680, 20, 690, 30);
    for (const HintCase& c : kHints) {
        for (const Rect& r : {view->meterRect(), view->masterRect(), view->peakRect(0),
                              view->peakRect(1), view->dryRect(), view->wetRect(), backgroundSpot})
            smear(r);
        redrawWith(c.hint);
        EXPECT_EQ(!smeared(view->meterRect()), c.meters) << c.hint;
        EXPECT_EQ(!smeared(view->masterRect()), c.master) << c.hint;
        EXPECT_EQ(!smeared(view->peakRect(0)), c.peaks) << c.hint;
        EXPECT_EQ(!smeared(view->peakRect(1)), c.peaks) << c.hint;
        EXPECT_EQ(!smeared(view->dryRect()), c.dry) << c.hint;
        EXPECT_EQ(!smeared(view->wetRect()), c.wet) << c.hint;
        EXPECT_EQ(!smeared(backgroundSpot), c.background) << c.hint;
        EXPECT_EQ(effect->getEditorHint(110), 0) << c.hint;
    }
    // Without a refresh request nothing is drawn, dirty or not.
    smear(view->dryRect());
    view->setDirty(true);
    idle();
    EXPECT_TRUE(smeared(view->dryRect()));
}

TEST_F(OutputStageInEditor, DryChangeRedrawsOnlyTheDryBox) {
    smear(view->meterRect());
    smear(view->wetRect());
    effect->setParameter(75, 0.5f); // hint 3 from the effect
    EXPECT_EQ(effect->getEditorHint(110), 3);
    idle();
    EXPECT_EQ(levelDiffers(view->dryRect(), "-6.0"), 0);
    EXPECT_TRUE(smeared(view->meterRect()));
    EXPECT_TRUE(smeared(view->wetRect()));
    EXPECT_EQ(effect->getEditorHint(110), 0);
}

TEST_F(OutputStageInEditor, MasterDragIsFortyEightThousandthsOfADbPerPixel) {
    effect->setParameter(55, 0.5f);
    dragX(Point(730, 470), {50, 100});
    EXPECT_NEAR(effect->getParameter(55), 0.6f, 1e-6f); // +4.8 dB
    EXPECT_EQ(masterDiffers("4.8 dB"), 0);              // shown during the drag
    effect->setParameter(55, 0.01f);                    // about -23.5 dB
    dragX(Point(700, 440), {-10});
    EXPECT_EQ(effect->getParameter(55), 0.0f);
    effect->setParameter(55, 0.9f);
    dragX(Point(700, 440), {300, 200}); // over the top, then back 100 px
    EXPECT_NEAR(effect->getParameter(55), 0.9f, 1e-6f);
}

TEST_F(OutputStageInEditor, DryAndWetDragHalfAThousandthPerPixel) {
    effect->setParameter(75, 0.5f);
    dragX(Point(700, 540), {100});
    EXPECT_NEAR(effect->getParameter(75), 0.55f, 1e-6f);
    effect->setParameter(76, 0.9f);
    dragX(Point(750, 540), {300, 500});
    EXPECT_EQ(effect->getParameter(76), 1.0f);
    effect->setParameter(75, 0.0005f);
    dragX(Point(700, 540), {-1});
    EXPECT_EQ(effect->getParameter(75), 0.0f); // below 0.000001 is silence
    dragX(Point(700, 540), {1});
    EXPECT_NEAR(effect->getParameter(75), 0.0005f, 1e-9f);
}

TEST_F(OutputStageInEditor, PointerHiddenDuringADragAndPutBack) {
    int hiddenDuring = 0;
    input.onPoll = [&](int poll) {
        if (poll == 4) hiddenDuring = input.displayCount;
    };
    dragX(Point(740, 500), {-50, -100, 40});
    EXPECT_LT(hiddenDuring, 0);
    EXPECT_EQ(input.displayCount, 0);
    ASSERT_EQ(input.moves.size(), 1u);
    EXPECT_EQ(input.moves[0], screenOf(740, 500));
}

TEST_F(OutputStageInEditor, RightButtonStillDownAfterADragResetsTheLevel) {
    effect->setParameter(76, 0.2f);
    const Point screen = screenOf(750, 540);    // "Wet out"
    const Point moved(screen.x + 20, screen.y); // 0.21 after the drag, still over the box
    input.then(InputSource::kPhysicalLeft, screen).then(InputSource::kPhysicalLeft, screen);
    input.then(InputSource::kPhysicalLeft, moved).then(InputSource::kPhysicalRight, moved);
    input.then(InputSource::kPhysicalRight, moved);
    SendMessageA(frameWindow(), WM_LBUTTONDOWN, 0, MAKELPARAM(750, 540));
    EXPECT_EQ(effect->getParameter(76), 1.0f);
    EXPECT_EQ(input.displayCount, 0); // shown again once the reset is done
}

TEST_F(OutputStageInEditor, RightClicksResetTheLevels) {
    effect->setParameter(55, 0.9f);
    effect->setParameter(75, 0.7f);
    effect->setParameter(76, 0.2f);
    const Point elsewhere[] = {Point(720, 200), Point(731, 540), Point(740, 390)};
    for (const Point p : elsewhere)
        gesture(InputSource::kPhysicalRight, p, {p});
    EXPECT_FLOAT_EQ(effect->getParameter(55), 0.9f);
    EXPECT_FLOAT_EQ(effect->getParameter(75), 0.7f);
    EXPECT_FLOAT_EQ(effect->getParameter(76), 0.2f);
    gesture(InputSource::kPhysicalRight, Point(692, 505), {Point(692, 505)});
    EXPECT_EQ(effect->getParameter(55), 0.5f);
    gesture(InputSource::kPhysicalRight, Point(686, 534), {Point(686, 534)});
    EXPECT_EQ(effect->getParameter(75), 0.0f);
    gesture(InputSource::kPhysicalRight, Point(776, 549), {Point(776, 549)});
    EXPECT_EQ(effect->getParameter(76), 1.0f);
    EXPECT_EQ(input.hides, 0);
}

TEST_F(OutputStageInEditor, DrawingAndDraggingLeaveNoGdiObjectBehind) {
    const int objects = GdiCounter::liveObjects();
    const int contexts = GdiCounter::liveDeviceContexts();
    for (int round = 0; round < 20; ++round) {
        setReadings(0.001f * round, 0.1f, 0.05f, 0.02f * (round % 3));
        redrawWith(round % 5);
        dragX(Point(700, 440), {5, -5});
        gesture(InputSource::kPhysicalLeft, Point(740, 390));
    }
    paint();
    EXPECT_EQ(GdiCounter::liveObjects(), objects);
    EXPECT_EQ(GdiCounter::liveDeviceContexts(), contexts);
}

} // namespace

} // namespace qv
