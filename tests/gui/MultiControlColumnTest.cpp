// The multi-control column: the drag step of each quantity's domain, the band a copy reads, and
// in the open editor the rows' places, drags shifting all five bands, the ratio row's
// dependence on how movement is sampled, right-click copies, MatrixItem, the pressed spinner,
// the pointer hidden and put back, redraws on its refresh flag only, no GDI object left behind.
#include "editor/MultiControlColumn.h"
#include "gui/GdiCounter.h"
#include "tests/gui/EditorViewFixture.h"

#include <cmath>
#include <limits>

namespace qv {

namespace {

using Domain = MultiControlColumn::Domain;
using Values = float[MultiControlColumn::kBandCount];

struct StepCase {
    const char* what;
    Domain domain;
    double delta;
    float before;
    float after;
};

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Each worked out by hand in the quantity's own unit.
constexpr StepCase kSteps[] = {
    {"level +2.4 dB", Domain::Level, 0.1, 0.5f, 0.55f},
    {"level at the top stays", Domain::Level, 0.1, 1.0f, 1.0f},
    {"level past the top", Domain::Level, 0.1, 0.99f, 1.0f},
    {"level below -23.9 dB snaps", Domain::Level, -0.1, 0.01f, 0.0f},
    {"level just above -23.9 dB", Domain::Level, -0.001, 0.003f, 0.0025f},
    {"level within the snap zone", Domain::Level, -0.002, 0.003f, 0.0f},
    {"threshold -2 dB", Domain::Threshold, -0.1, 0.5f, 0.45f},
    {"threshold below -39.9 dB", Domain::Threshold, -0.1, 0.01f, 0.0f},
    {"threshold past 0 dB", Domain::Threshold, 0.1, 0.99f, 1.0f},
    {"ratio one step of 10 px", Domain::Ratio, 0.01, 0.5f, 0.59839356f},
    {"ratio from limiting, down", Domain::Ratio, -0.01, 1.0f, 0.98675495f},
    {"ratio from expansion, down", Domain::Ratio, -0.001, 0.0f, 0.0f},
    {"ratio near limiting, up", Domain::Ratio, 0.01, 0.995f, 1.0f},
    {"ratio, a long step down", Domain::Ratio, -0.1, 0.9f, 0.0f},
    {"normalised up", Domain::Normalised, 0.05, 0.3f, 0.35f},
    {"normalised clamps", Domain::Normalised, -0.5, 0.3f, 0.0f},
    {"normalised NaN", Domain::Normalised, 0.1, kNaN, 0.0f},
};

TEST(MultiControlStep, EachDomain) {
    for (const StepCase& c : kSteps) {
        Values v = {c.before, c.before, c.before, c.before, c.before};
        MultiControlColumn::step(c.domain, c.delta, v);
        for (float x : v)
            EXPECT_NEAR(x, c.after, 1e-6f) << c.what;
    }
}

TEST(MultiControlStep, BandsKeepTheirOffsetsUntilAnEnd) {
    Values v = {0.2f, 0.4f, 0.6f, 0.8f, 0.97f};
    MultiControlColumn::step(Domain::Level, 0.05, v); // +1.2 dB = +0.025 each
    const float expected[5] = {0.225f, 0.425f, 0.625f, 0.825f, 0.995f};
    for (int band = 0; band < 5; ++band)
        EXPECT_NEAR(v[band], expected[band], 1e-6f) << band;
    MultiControlColumn::step(Domain::Level, 0.05, v);
    EXPECT_EQ(v[4], 1.0f); // held at the end ...
    MultiControlColumn::step(Domain::Level, -0.05, v);
    EXPECT_NEAR(v[4], 0.975f, 1e-6f); // ... and its offset lost
    EXPECT_NEAR(v[3], 0.825f, 1e-6f);
}

TEST(MultiControlStep, RatioDependsOnHowTheMovementIsSampled) {
    Values once = {0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
    MultiControlColumn::step(Domain::Ratio, 0.01, once);
    Values tenTimes = {0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
    for (int i = 0; i < 10; ++i)
        MultiControlColumn::step(Domain::Ratio, 0.001, tenTimes);
    // x = 1 times 1 / 1.245, against 1 times (1 / 1.0245) ^ 10.
    EXPECT_NEAR(once[0], 1.0 - 0.5 / 1.245, 1e-6);
    EXPECT_NEAR(tenTimes[0], 1.0 - 0.5 * std::pow(1.0 / 1.0245, 10), 1e-6);
}

TEST(MultiControlStep, RatioNeverJumpsUpOnALongDownwardStep) {
    for (double delta : {-0.0408, -0.041, -0.05, -1.0, -100.0}) {
        Values v = {0.3f, 0.5f, 0.7f, 0.9f, 1.0f};
        MultiControlColumn::step(Domain::Ratio, delta, v);
        for (float x : v) {
            EXPECT_GE(x, 0.0f) << delta;
            EXPECT_LE(x, 0.7f) << delta; // a steeper ratio is not what down means
        }
    }
}

TEST(MultiControlStep, SourceBandOfTheSelectedChannel) {
    const struct {
        float channel;
        int band;
    } cases[] = {{0.0f, 5},  {0.19f, 5}, {0.2f, 4}, {0.25f, 4}, {0.5f, 3},
                 {0.75f, 2}, {0.8f, 1},  {1.0f, 1}, {kNaN, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(MultiControlColumn::sourceBand(c.channel), c.band) << c.channel;
}

class MultiControlInEditor : public EditorViewFixture {
protected:
    void SetUp() override {
        open();
        column = static_cast<MultiControlColumn*>(editor->findCustomView(5));
        ASSERT_NE(column, nullptr);
    }
    const MultiControlColumn::Row& row(int k) { return MultiControlColumn::kRows[k - 1]; }
    void setRow(int k, const float (&values)[5]) {
        for (int band = 0; band < 5; ++band)
            effect->setParameter(row(k).parameters[band], values[band]);
    }
    float value(int k, int band) { return effect->getParameter(row(k).parameters[band - 1]); }
    Point rowCentre(int k) { return Point(95, 87 + 45 * (k - 1)); }
    // Screen pixel (x, y) of the spinner of row k against bitmap id at the same offset.
    bool spinnerShows(int k, int id) {
        const Rect& r = column->spinnerRect(k);
        Bitmap* art = new Bitmap(id);
        bool same = true;
        {
            OffscreenContext copy(nullptr, art);
            const int dy = id == 10009 ? r.top - 70 : 0;
            const int dx = id == 10009 ? r.left - 78 : 0;
            for (int y = 0; y < r.height(); y += 3)
                for (int x = 0; x < r.width(); x += 3)
                    same = same && screenPixel(r.left + x, r.top + y) ==
                                       (GetPixel(copy.getDC(), dx + x, dy + y) & 0xFFFFFF);
        }
        art->release();
        return same;
    }

    MultiControlColumn* column = nullptr;
};

TEST_F(MultiControlInEditor, SevenRowsAtTheirPlaces) {
    EXPECT_EQ(column->viewSize(), Rect(78, 70, 113, 375));
    for (int k = 1; k <= 7; ++k) {
        EXPECT_EQ(column->spinnerRect(k), Rect(83, 75 + 45 * (k - 1), 108, 100 + 45 * (k - 1)));
        EXPECT_EQ(column->hitRect(k), Rect(78, 70 + 45 * (k - 1), 113, 105 + 45 * (k - 1)));
        EXPECT_EQ(column->rowAt(rowCentre(k)), k);
    }
    EXPECT_EQ(column->rowAt(Point(95, 110)), 0);  // between rows 1 and 2
    EXPECT_EQ(column->rowAt(Point(113, 105)), 1); // corner, inclusive
    EXPECT_EQ(column->rowAt(Point(114, 87)), 0);
}

TEST_F(MultiControlInEditor, RowOneUpHundredPixelsRaisesEveryInputLevelByTwoPointFourDb) {
    setRow(1, {0.5f, 0.25f, 1.0f, 0.7f, 0.1f});
    dragY(rowCentre(1), {-30, -60, -100});
    const float expected[5] = {0.55f, 0.3f, 1.0f, 0.75f, 0.15f};
    for (int band = 1; band <= 5; ++band)
        EXPECT_NEAR(value(1, band), expected[band - 1], 1e-6f) << band;
    EXPECT_FLOAT_EQ(effect->getParameter(89), 0.0f);
}

TEST_F(MultiControlInEditor, RowThreeDownHundredPixelsLowersEveryThresholdByTwoDb) {
    setRow(3, {0.5f, 0.8f, 0.01f, 0.3f, 1.0f});
    dragY(rowCentre(3), {100});
    const float expected[5] = {0.45f, 0.75f, 0.0f, 0.25f, 0.95f};
    for (int band = 1; band <= 5; ++band)
        EXPECT_NEAR(value(3, band), expected[band - 1], 1e-6f) << band;
    EXPECT_FLOAT_EQ(effect->getParameter(89), 0.21f);
}

TEST_F(MultiControlInEditor, RatioRowOneStepOrTen) {
    setRow(4, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f});
    dragY(rowCentre(4), {-10});
    EXPECT_NEAR(value(4, 3), 1.0 - 0.5 / 1.245, 1e-6);
    setRow(4, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f});
    dragY(rowCentre(4), {-1, -2, -3, -4, -5, -6, -7, -8, -9, -10});
    EXPECT_NEAR(value(4, 3), 1.0 - 0.5 * std::pow(1.0 / 1.0245, 10), 1e-6);
    EXPECT_FLOAT_EQ(effect->getParameter(89), 0.31f);
}

TEST_F(MultiControlInEditor, NormalisedRowsWriteAllFiveBandsIncludingTheLastAutoRelease) {
    const int rows[3] = {5, 6, 7};
    const float codes[3] = {0.51f, 0.81f, 1.0f};
    for (int i = 0; i < 3; ++i) {
        setRow(rows[i], {0.1f, 0.2f, 0.3f, 0.4f, 0.98f});
        dragY(rowCentre(rows[i]), {-50});
        const float expected[5] = {0.15f, 0.25f, 0.35f, 0.45f, 1.0f};
        for (int band = 1; band <= 5; ++band)
            EXPECT_NEAR(value(rows[i], band), expected[band - 1], 1e-6f) << rows[i] << "/" << band;
        EXPECT_FLOAT_EQ(effect->getParameter(89), codes[i]);
    }
    EXPECT_NEAR(effect->getParameter(86), 1.0f, 1e-6f); // "cp5_Rel_a", stored though not announced
}

TEST_F(MultiControlInEditor, AClickWithoutMovingOnlySetsMatrixItemAndShowsThePressedSpinner) {
    setRow(2, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f});
    effect->setParameter(89, 0.5f);
    bool pressedDuring = false;
    int pressedRowDuring = 0;
    input.onPoll = [&](int poll) {
        if (poll != 3) return;
        pressedDuring = spinnerShows(2, 10010);
        pressedRowDuring = column->getPressedRow();
    };
    const Point at = rowCentre(2);
    gesture(InputSource::kPhysicalLeft, at, {at, at});
    EXPECT_TRUE(pressedDuring);
    EXPECT_EQ(pressedRowDuring, 2);
    EXPECT_FLOAT_EQ(effect->getParameter(89), 0.11f);
    for (int band = 1; band <= 5; ++band)
        EXPECT_EQ(value(2, band), 0.5f);
    EXPECT_EQ(column->getPressedRow(), 0);
    EXPECT_TRUE(spinnerShows(2, 10009)); // released: the column picture again
    EXPECT_FALSE(spinnerShows(2, 10010));
}

TEST_F(MultiControlInEditor, RightClickCopiesTheSelectedBandsValue) {
    setRow(5, {0.1f, 0.2f, 0.6f, 0.4f, 0.5f});
    effect->setParameter(88, 0.5f); // band 3
    const Point at = rowCentre(5);
    gesture(InputSource::kPhysicalRight, at, {at});
    for (int band = 1; band <= 5; ++band)
        EXPECT_EQ(value(5, band), 0.6f) << band;
    EXPECT_FLOAT_EQ(effect->getParameter(89), 0.51f);
    EXPECT_EQ(input.hides, 0);
    // Band 5 is the source for the lowest channel values.
    setRow(1, {0.1f, 0.2f, 0.3f, 0.4f, 0.9f});
    effect->setParameter(88, 0.0f);
    gesture(InputSource::kPhysicalRight, rowCentre(1), {rowCentre(1)});
    for (int band = 1; band <= 5; ++band)
        EXPECT_EQ(value(1, band), 0.9f) << band;
}

TEST_F(MultiControlInEditor, RightButtonStillDownAfterADragCopiesTheDraggedValue) {
    setRow(5, {0.1f, 0.2f, 0.6f, 0.4f, 0.5f});
    effect->setParameter(88, 0.5f); // band 3
    const Point at = rowCentre(5);
    const Point screen = screenOf(at.x, at.y);
    const Point moved(screen.x, screen.y - 15); // band 3 at 0.615, still over the row
    input.then(InputSource::kPhysicalLeft, screen).then(InputSource::kPhysicalLeft, screen);
    input.then(InputSource::kPhysicalLeft, moved).then(InputSource::kPhysicalRight, moved);
    input.then(InputSource::kPhysicalRight, moved);
    SendMessageA(frameWindow(), WM_LBUTTONDOWN, 0, MAKELPARAM(at.x, at.y));
    for (int band = 1; band <= 5; ++band)
        EXPECT_NEAR(value(5, band), 0.615f, 1e-6f) << band;
    EXPECT_FLOAT_EQ(effect->getParameter(89), 0.51f);
    EXPECT_EQ(column->getPressedRow(), 0);
    EXPECT_TRUE(spinnerShows(5, 10009));
    EXPECT_EQ(input.displayCount, 0);
    ASSERT_EQ(input.moves.size(), 1u);
    EXPECT_EQ(input.moves[0], screen);
}

TEST_F(MultiControlInEditor, RightClickOutsideTheRowsChangesNothing) {
    setRow(1, {0.1f, 0.2f, 0.3f, 0.4f, 0.9f});
    setRow(2, {0.5f, 0.6f, 0.7f, 0.8f, 0.9f});
    effect->setParameter(89, 0.5f);
    gesture(InputSource::kPhysicalRight, Point(95, 110), {Point(95, 110)});
    EXPECT_EQ(value(1, 1), 0.1f);
    EXPECT_EQ(value(2, 1), 0.5f);
    EXPECT_EQ(effect->getParameter(89), 0.5f);
}

TEST_F(MultiControlInEditor, PointerHiddenDuringTheDragAndPutBack) {
    const Point press = rowCentre(6);
    int hiddenDuring = 0;
    input.onPoll = [&](int poll) {
        if (poll == 4) hiddenDuring = input.displayCount;
    };
    dragY(press, {-20, -400, 300});
    EXPECT_LT(hiddenDuring, 0);
    EXPECT_EQ(input.displayCount, 0);
    ASSERT_EQ(input.moves.size(), 1u);
    EXPECT_EQ(input.moves[0], screenOf(press.x, press.y));
    // A press between rows does nothing at all.
    effect->setParameter(89, 0.5f);
    dragY(Point(95, 110), {-50});
    EXPECT_EQ(input.hides, 1);
    EXPECT_EQ(effect->getParameter(89), 0.5f);
}

TEST_F(MultiControlInEditor, RedrawsOnItsRefreshFlagOnly) {
    HDC dc = GetDC(frameWindow());
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    RECT r = {78, 70, 113, 375};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    ReleaseDC(frameWindow(), dc);
    column->setDirty(true);
    idle(); // the frame's refresh of dirty views leaves it alone
    EXPECT_EQ(screenPixel(80, 72), RGB(1, 2, 3));
    editor->postUpdateMultiControl();
    idle();
    EXPECT_TRUE(spinnerShows(1, 10009));
}

TEST_F(MultiControlInEditor, GesturesLeaveNoGdiObjectBehind) {
    const int objects = GdiCounter::liveObjects();
    const int contexts = GdiCounter::liveDeviceContexts();
    for (int round = 0; round < 14; ++round) {
        dragY(rowCentre(round % 7 + 1), {-5, 5});
        gesture(InputSource::kPhysicalRight, rowCentre(round % 7 + 1), {rowCentre(round % 7 + 1)});
        idle();
    }
    paint();
    EXPECT_EQ(GdiCounter::liveObjects(), objects);
    EXPECT_EQ(GdiCounter::liveDeviceContexts(), contexts);
}

} // namespace

} // namespace qv
