#include "dsp/dynamics/HoldRelease.h"

#include "dsp/dynamics/LevelHistory.h"
#include "dsp/dynamics/PeakHoldDetector.h"
#include "dsp/dynamics/RisingSmoothDetector.h"

#include <gtest/gtest.h>
#include <random>

namespace qv {
namespace {

// Model of a follower that records, in a ring of its own, only the levels of its own falling
// samples (the hold starting the recording afresh), and floors its release by the slot written
// length - 1 falls before: the obvious form of the hold-and-release rule.
class PrivateRingFollower {
public:
    PrivateRingFollower(int length, double attackCoef, double releaseMul)
        : length_(length), attackCoef_(attackCoef), releaseMul_(releaseMul) {}

    double push(double level) {
        if (envelope_ <= level) {
            envelope_ = (envelope_ - level) * attackCoef_ + level;
            hold_ = 0;
            return envelope_;
        }
        if (hold_ < length_) {
            if (hold_ == 0) write_ = 0;
            ring_[write_++] = level;
            ++hold_;
            return envelope_;
        }
        int read = write_ + 1;
        if (read >= length_) read -= length_;
        const double floor = ring_[read];
        envelope_ = flushDenormal(envelope_ * releaseMul_);
        if (envelope_ <= floor) envelope_ = floor;
        if (write_ >= length_) write_ = 0;
        ring_[write_++] = level;
        return envelope_;
    }

private:
    int length_;
    double attackCoef_, releaseMul_;
    double envelope_ = 0.0;
    int hold_ = 0, write_ = 0;
    double ring_[64] = {};
};

// Two followers with different rises and releases sharing one level history give exactly what
// each gives with a private ring of its own falls, on input that rises and falls at random
// (including long falls into the floored release and frequent restarts of the hold).
TEST(HoldReleaseTest, SharedHistoryEqualsPrivateRingsOfEachFollower) {
    for (int length : {32, 39}) {
        PeakHoldDetector peak(length, PeakHoldDetector::Attack::Smoothed);
        peak.setAttackTime(1.0);
        peak.setReleaseTime(0.0005);
        RisingSmoothDetector rise(length, RisingSmoothDetector::RiseShape::Auto);
        rise.setBaseTime(3.0f);
        rise.setReleaseTime(0.5);
        LevelHistory history(length);
        PrivateRingFollower peakModel(length, peak.attackCoef(), peak.releaseMul());
        PrivateRingFollower riseModel(length, rise.riseCoef(), rise.releaseMul());

        std::mt19937 rng(static_cast<unsigned>(length));
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        double level = 0.5;
        int released = 0;
        for (int n = 0; n < 50000; ++n) {
            // Mostly slow decay with occasional jumps, so both phases occur often.
            const double u = unit(rng);
            level = u < 0.02 ? unit(rng) : level * (0.97 + 0.03 * unit(rng));
            const double floor = history.step(level);
            const double p = peak.push(level, floor);
            const double r = rise.push(level, floor);
            ASSERT_EQ(p, peakModel.push(level)) << length << " " << n;
            ASSERT_EQ(r, riseModel.push(level)) << length << " " << n;
            if (p == floor) ++released;
        }
        EXPECT_GT(released, 100) << "the floor must have been reached often";
    }
}

TEST(HoldReleaseTest, HoldsForItsLengthThenReleasesToTheFloor) {
    HoldRelease h(4);
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(h.fall(1.0, 0.0, 0.5), 1.0) << n;
    EXPECT_EQ(h.fall(1.0, 0.0, 0.5), 0.5);
    EXPECT_EQ(h.fall(0.5, 0.4, 0.5), 0.4); // floored
    h.restartHold();
    EXPECT_EQ(h.fall(0.4, 0.0, 0.5), 0.4);
    // A release that would become subnormal gives 0.
    HoldRelease quick(2);
    quick.fall(1e-300, 0.0, 1e-10);
    quick.fall(1e-300, 0.0, 1e-10);
    EXPECT_EQ(quick.fall(1e-300, 0.0, 1e-10), 0.0);
    // Lengths are bounded.
    EXPECT_EQ(HoldRelease(0).length(), HoldRelease::kMinLength);
    EXPECT_EQ(HoldRelease(1000).length(), HoldRelease::kMaxLength);
}

TEST(HoldReleaseTest, LevelHistoryReturnsTheLevelOfLengthMinusOneStepsBefore) {
    LevelHistory h(5);
    for (int n = 0; n < 20; ++n) {
        const double back = h.step(n + 1.0);
        EXPECT_EQ(back, n >= 4 ? n - 3.0 : 0.0) << n;
    }
    h.clear();
    EXPECT_EQ(h.step(7.0), 0.0);
    EXPECT_EQ(LevelHistory(1).length(), LevelHistory::kMinLength);
    EXPECT_EQ(LevelHistory(99).length(), LevelHistory::kMaxLength);
}

} // namespace
} // namespace qv
