#include "dsp/metering/BandMeter.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

const float kCompressing[5] = {0.75f, 0.75f, 0.75f, 0.75f, 0.75f};

// One frame in which band b (1..5) has level `level` and applied gain `gain`; other bands are
// silent at unity.
bool pushBand(BandMeter& m, int band, double level, double gain,
              const float* ratio = kCompressing) {
    double bands[10] = {};
    double applied[5] = {1.0, 1.0, 1.0, 1.0, 1.0};
    bands[2 * (band - 1) + 1] = -level; // the larger channel counts, sign ignored
    bands[2 * (band - 1)] = 0.5 * level;
    applied[band - 1] = gain;
    return m.push(bands, applied, ratio);
}

TEST(BandMeterTest, PublishesPeakLevelAndSmallestGainOncePerPeriod) {
    BandMeter m;
    m.setPeriod(10);
    m.setPanelPage(0.2f); // page B, amplitude view
    int published = 0;
    for (int n = 0; n < 9; ++n) // counter 1 -> 10
        published += pushBand(m, 2, n == 4 ? 0.8 : 0.3, n == 6 ? 0.25 : 0.5);
    EXPECT_EQ(published, 0);
    EXPECT_TRUE(pushBand(m, 2, 0.9, 0.1)) << "the publishing frame is not accumulated";
    EXPECT_FLOAT_EQ(m.level(2), 0.8f);
    EXPECT_FLOAT_EQ(m.gain(2), 0.025f);
    EXPECT_FLOAT_EQ(m.gain(1), 0.1f);
    EXPECT_EQ(m.level(1), 0.0f);
    EXPECT_EQ(m.counter(), 0);
    for (int n = 0; n < 10; ++n)
        pushBand(m, 2, 3.0, 0.5);
    EXPECT_TRUE(pushBand(m, 2, 3.0, 0.5));
    EXPECT_FLOAT_EQ(m.level(2), 1.0f) << "levels cap at full scale";
}

TEST(BandMeterTest, ExpandingBandsKeepTheLargestGainCappedAtPlus20dB) {
    BandMeter m;
    m.setPeriod(4);
    m.setPanelPage(0.2f);
    const float ratio[5] = {0.5f, 0.2f, 0.75f, 0.75f, 0.75f};
    for (int n = 0; n < 3; ++n)
        pushBand(m, 1, 0.5, n == 1 ? 1.6 : 1.2, ratio);
    ASSERT_TRUE(pushBand(m, 1, 0.5, 1.0, ratio));
    EXPECT_FLOAT_EQ(m.gain(1), 0.16f);
    for (int n = 0; n < 4; ++n)
        pushBand(m, 2, 0.5, 20.0, ratio);
    ASSERT_TRUE(pushBand(m, 2, 0.5, 1.0, ratio));
    EXPECT_FLOAT_EQ(m.gain(2), 1.0f);
}

TEST(BandMeterTest, EditorStateChoosesWhatIsMeasured) {
    const struct {
        const char* name;
        float page, bandView, meterSwitch, selected;
        bool publishes;
        int measuredBand; // 0: none
    } cases[] = {
        {"page A measures the selected band 3", 0.1f, 1.0f, 0.0f, 0.45f, true, 3},
        {"page A ignores MeterSW", 0.1f, 0.0f, 1.0f, 0.85f, true, 1},
        {"page A, selection below 0.2 is band 5", 0.0f, 1.0f, 0.0f, 0.1f, true, 5},
        {"page B measures every band", 0.2f, 1.0f, 0.0f, 1.0f, true, 6},
        {"page B held by MeterSW", 0.2f, 1.0f, 0.5f, 1.0f, true, 0},
        {"page B with the other view", 0.2f, 0.5f, 0.0f, 1.0f, false, 0},
        {"page C measures nothing", 0.3f, 1.0f, 0.0f, 1.0f, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto configure = [&c](BandMeter& meter) {
            meter.setPeriod(3);
            meter.setPanelPage(c.page);
            meter.setBandView(c.bandView);
            meter.setMeterSwitch(c.meterSwitch);
            meter.setSelectedChannel(c.selected);
        };
        BandMeter m;
        configure(m);
        const double bands[10] = {0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5};
        const double applied[5] = {0.2, 0.2, 0.2, 0.2, 0.2};
        bool published = false;
        for (int n = 0; n < 4; ++n)
            published |= m.push(bands, applied, kCompressing);
        EXPECT_EQ(published, c.publishes);
        // The same frames with the two before the period's end given as their extremes, and its
        // last frame as publishPeriod.
        BandMeter e;
        configure(e);
        ASSERT_EQ(e.framesBeforePublish(), 2);
        const double level[5] = {0.5, 0.5, 0.5, 0.5, 0.5};
        const double signedGain = BandMeter::gainSign(kCompressing[0]) * 0.2;
        const double signedGains[5] = {signedGain, signedGain, signedGain, signedGain, signedGain};
        e.addExtremes(level, signedGains, kCompressing, 2);
        EXPECT_EQ(e.framesBeforePublish(), c.publishes ? 0 : 2) << "idle meters do not count";
        EXPECT_EQ(e.publishPeriod(), c.publishes);
        EXPECT_EQ(e.framesBeforePublish(), c.publishes ? 3 : 2) << "a new period";
        e.push(bands, applied, kCompressing);
        for (int b = 1; b <= 5; ++b) {
            const bool measured = c.measuredBand == b || c.measuredBand == 6;
            EXPECT_FLOAT_EQ(m.level(b), measured ? 0.5f : 0.0f) << b;
            EXPECT_FLOAT_EQ(m.gain(b), measured ? 0.02f : 0.1f) << b;
            EXPECT_EQ(e.level(b), m.level(b)) << b;
            EXPECT_EQ(e.gain(b), m.gain(b)) << b;
        }
    }
}

TEST(BandMeterTest, ResetsAndOutOfRangeBands) {
    BandMeter m;
    EXPECT_EQ(m.counter(), BandMeter::kStartCount);
    m.setPeriod(2);
    m.setPanelPage(0.2f);
    pushBand(m, 4, 0.5, 0.3);
    pushBand(m, 4, 0.5, 0.3);
    m.reset();
    EXPECT_EQ(m.counter(), 0);
    EXPECT_EQ(m.gain(4), 0.1f);
    m.fullReset();
    EXPECT_EQ(m.counter(), BandMeter::kStartCount);
    EXPECT_EQ(m.level(0), 0.0f);
    EXPECT_EQ(m.gain(6), 0.0f);
}

} // namespace
} // namespace qv
