#include "dsp/dynamics/BandDetector.h"

#include "dsp/math/CoefficientMath.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <vector>

namespace qv {
namespace {

// Every follower's coefficients against the table, for given control values and rate.
void expectTable(const BandDetector& d, float atkValue, float relM, float relA, float type,
                 double fs) {
    const double atk = 1000.0 * atkValue * atkValue * atkValue;
    const double tm = (999.99 * relM * relM * relM + 0.01) * 0.001;
    const double q = static_cast<float>((1.0f - relA) * (1.0f - relA));
    const double ta = type < 0.5f ? 0.1 : 0.5;
    const double base = static_cast<float>(atk + 1.0);
    const double atkCoef = atk < 0.01 ? 0.0 : coef40(atk, fs);

    EXPECT_DOUBLE_EQ(d.attackSmoother().attackCoef(), atkCoef);
    EXPECT_EQ(d.hardManualPeak().attackCoef(), 0.0);
    EXPECT_DOUBLE_EQ(d.hardManualPeak().releaseMul(), halfLife(tm, fs));
    EXPECT_DOUBLE_EQ(d.hardManualRise().riseCoef(), coef40(base + 49.0, fs));
    EXPECT_DOUBLE_EQ(d.hardManualRise().releaseMul(), halfLife(0.05, fs));
    EXPECT_DOUBLE_EQ(d.hardAutoRise().riseCoef(), coef40(base + 49.0 * q, fs));
    EXPECT_DOUBLE_EQ(d.hardAutoRise().releaseMul(), halfLife(ta, fs));
    EXPECT_DOUBLE_EQ(d.hardAutoPeak().attackCoef(), atkCoef);
    EXPECT_DOUBLE_EQ(d.hardAutoPeak().releaseMul(), halfLife(0.0005, fs));
    EXPECT_DOUBLE_EQ(d.softManualPeak().attackCoef(), atkCoef);
    EXPECT_DOUBLE_EQ(d.softManualPeak().releaseMul(), halfLife(tm, fs));
    EXPECT_DOUBLE_EQ(d.softManualRise().riseCoef(), coef40(2.0 * base + 49.0, fs));
    EXPECT_DOUBLE_EQ(d.softManualRise().releaseMul(), halfLife(0.05, fs));
    EXPECT_DOUBLE_EQ(d.softAutoRise().riseCoef(), coef40(base + (base + 49.0) * q, fs));
    EXPECT_DOUBLE_EQ(d.softAutoRise().releaseMul(), halfLife(ta, fs));
    EXPECT_DOUBLE_EQ(d.softAutoPeak().attackCoef(), atkCoef);
    EXPECT_DOUBLE_EQ(d.softAutoPeak().releaseMul(), halfLife(0.0005, fs));
}

void configure(BandDetector& d, float atk, float relM, float relA, float type) {
    d.setAttack(atk);
    d.setManualRelease(relM);
    d.setAutoRelease(relA);
    d.setAutoReleaseType(type);
}

TEST(BandDetectorTest, CoefficientTable) {
    const struct {
        float atk, relM, relA, type;
    } cases[] = {
        {0.099941f, 0.500189f, 0.258503f, 1.0f}, // default program
        {0.0f, 0.0f, 1.0f, 0.5f},                // instant attack, q = 0, "smooth" at 0.5
        {0.5f, 1.0f, 0.0f, 0.2f},
    };
    for (const auto& c : cases) {
        auto d = std::make_unique<BandDetector>();
        configure(*d, c.atk, c.relM, c.relA, c.type);
        expectTable(*d, c.atk, c.relM, c.relA, c.type, 44100.0);
        d->setSampleRate(48000.0);
        expectTable(*d, c.atk, c.relM, c.relA, c.type, 48000.0);
    }
}

TEST(BandDetectorTest, SettingOrderDoesNotMatter) {
    auto a = std::make_unique<BandDetector>();
    a->setAutoRelease(0.3f);
    a->setAttack(0.2f);
    a->setAttack(0.7f);
    a->setAttack(0.4f);
    auto b = std::make_unique<BandDetector>();
    b->setAttack(0.4f);
    b->setAutoRelease(0.3f);
    EXPECT_EQ(a->hardAutoRise().riseCoef(), b->hardAutoRise().riseCoef());
    EXPECT_EQ(a->softAutoRise().riseCoef(), b->softAutoRise().riseCoef());
    EXPECT_EQ(a->hardManualRise().riseCoef(), b->hardManualRise().riseCoef());
    EXPECT_EQ(a->softManualRise().riseCoef(), b->softManualRise().riseCoef());
}

TEST(BandDetectorTest, InstantAttackAtZero) {
    for (float curve : {0.0f, 1.0f}) {
        for (float mode : {0.0f, 1.0f}) {
            auto d = std::make_unique<BandDetector>();
            configure(*d, 0.0f, 0.5f, 0.5f, 1.0f);
            d->setAttackCurve(curve);
            d->setReleaseMode(mode);
            EXPECT_EQ(d->push(0.5), 0.5) << curve << " " << mode;
            EXPECT_EQ(d->push(0.75), 0.75) << curve << " " << mode;
        }
    }
}

TEST(BandDetectorTest, SettlesAtAConstantLevelInEveryMode) {
    for (float curve : {0.0f, 1.0f}) {
        for (float mode : {0.0f, 1.0f}) {
            auto d = std::make_unique<BandDetector>();
            configure(*d, 0.3f, 0.3f, 0.5f, 0.0f);
            d->setAttackCurve(curve);
            d->setReleaseMode(mode);
            double level = 0.0;
            for (int n = 0; n < 40000; ++n)
                level = d->push(n < 20000 ? 0.9 : 0.4);
            EXPECT_NEAR(level, 0.4, 1e-9) << curve << " " << mode;
        }
    }
}

// The levels detected do not depend on how the frames are cut into calls: runs shorter and
// longer than the level history's run, and cut across its length, give what single frames give.
TEST(BandDetectorTest, DetectsTheSameWhateverTheCallLengths) {
    const int kFrames = 1500;
    std::vector<double> input(kFrames);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double level = 0.5;
    for (double& x : input) {
        level = unit(rng) < 0.02 ? unit(rng) : level * (0.97 + 0.03 * unit(rng));
        x = level;
    }
    for (float curve : {0.0f, 1.0f}) {
        std::vector<double> single(kFrames);
        auto reference = std::make_unique<BandDetector>();
        configure(*reference, 0.2f, 0.1f, 0.5f, 0.0f);
        reference->setAttackCurve(curve);
        for (int n = 0; n < kFrames; ++n)
            single[n] = reference->push(input[n]);
        for (int length : {5, 31, 32, 33, LevelHistory::kMaxRun, LevelHistory::kMaxRun + 1, 700}) {
            auto d = std::make_unique<BandDetector>();
            configure(*d, 0.2f, 0.1f, 0.5f, 0.0f);
            d->setAttackCurve(curve);
            std::vector<double> out = input;
            for (int start = 0; start < kFrames; start += length)
                d->process(out.data() + start, std::min(length, kFrames - start));
            ASSERT_EQ(out, single) << curve << " " << length;
        }
    }
}

TEST(BandDetectorTest, CurveChangeClearsTheCurveLeftOnce) {
    auto d = std::make_unique<BandDetector>();
    configure(*d, 0.2f, 0.5f, 0.5f, 1.0f);
    d->setAttackCurve(0.0f); // hard, auto
    for (int n = 0; n < 500; ++n)
        d->push(0.6);
    EXPECT_GT(d->hardAutoPeak().envelope(), 0.0);
    EXPECT_GT(d->attackSmoother().state(), 0.0);

    d->setAttackCurve(1.0f); // soft
    d->push(0.0);
    EXPECT_EQ(d->hardAutoPeak().envelope(), 0.0);
    EXPECT_EQ(d->hardAutoRise().envelope(), 0.0);
    EXPECT_EQ(d->attackSmoother().state(), 0.0);
    for (int n = 0; n < 500; ++n)
        d->push(0.6);
    const double softPeak = d->softAutoPeak().envelope();
    EXPECT_GT(softPeak, 0.0);

    d->setAttackCurve(0.0f); // back to hard: soft objects cleared, hard ones start from zero
    const double first = d->push(0.6);
    EXPECT_EQ(d->softAutoPeak().envelope(), 0.0);
    EXPECT_LT(first, 0.6);
}

TEST(BandDetectorTest, IdlePairKeepsItsStateAcrossReleaseModeChanges) {
    auto d = std::make_unique<BandDetector>();
    configure(*d, 0.2f, 0.5f, 0.5f, 1.0f);
    d->setReleaseMode(0.0f); // auto pair runs
    for (int n = 0; n < 300; ++n)
        d->push(0.5);
    const double autoPeak = d->hardAutoPeak().envelope();
    d->setReleaseMode(1.0f); // manual pair runs, auto pair idles
    for (int n = 0; n < 300; ++n)
        d->push(0.1);
    EXPECT_EQ(d->hardAutoPeak().envelope(), autoPeak);
    EXPECT_GT(d->hardManualPeak().envelope(), 0.0);
}

TEST(BandDetectorTest, ClearEmptiesEveryFollower) {
    auto d = std::make_unique<BandDetector>();
    configure(*d, 0.2f, 0.5f, 0.5f, 1.0f);
    for (float mode : {0.0f, 1.0f}) {
        d->setReleaseMode(mode);
        for (int n = 0; n < 100; ++n)
            d->push(0.5);
    }
    d->clear();
    EXPECT_EQ(d->attackSmoother().state(), 0.0);
    EXPECT_EQ(d->hardManualPeak().envelope(), 0.0);
    EXPECT_EQ(d->hardManualRise().envelope(), 0.0);
    EXPECT_EQ(d->hardAutoPeak().envelope(), 0.0);
    EXPECT_EQ(d->hardAutoRise().envelope(), 0.0);
}

} // namespace
} // namespace qv
