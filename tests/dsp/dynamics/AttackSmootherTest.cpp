#include "dsp/dynamics/AttackSmoother.h"

#include "dsp/math/CoefficientMath.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(AttackSmootherTest, SmoothsRisesAndPassesFalls) {
    AttackSmoother s;
    s.setAttackTime(10.0);
    const double c = coef40(10.0, 44100.0);
    EXPECT_EQ(s.attackCoef(), c);
    EXPECT_NEAR(s.push(1.0), 1.0 - c, 1e-15);
    EXPECT_NEAR(s.push(1.0), 1.0 - c * c, 1e-15);
    for (int n = 0; n < 5000; ++n)
        s.push(1.0);
    EXPECT_EQ(s.push(0.25), 0.25); // a falling level passes at once
    for (int n = 0; n < 441; ++n)
        s.push(1.25);
    EXPECT_NEAR(s.state(), 1.25 - 0.01, 1e-9); // 99 % of the 1.0 step in 10 ms
}

TEST(AttackSmootherTest, AttackBelowHundredthOfMillisecondIsInstant) {
    AttackSmoother s;
    s.setAttackTime(0.0);
    EXPECT_EQ(s.push(0.9), 0.9);
    s.setAttackTime(0.0099);
    EXPECT_EQ(s.attackCoef(), 0.0);
}

TEST(AttackSmootherTest, RateChangeRecomputesAndKeepsState) {
    AttackSmoother s;
    s.setAttackTime(2.0);
    s.push(0.5);
    const double state = s.state();
    s.setSampleRate(96000.0);
    EXPECT_EQ(s.attackCoef(), coef40(2.0, 96000.0));
    EXPECT_EQ(s.state(), state);
    s.setSampleRate(0.0);
    EXPECT_EQ(s.attackCoef(), coef40(2.0, 96000.0));
    s.clear();
    EXPECT_EQ(s.state(), 0.0);
}

} // namespace
} // namespace qv
