#include "dsp/metering/AnalyserCapture.h"

#include <gtest/gtest.h>
#include <memory>

namespace qv {
namespace {

TEST(AnalyserCaptureTest, CollectsOnlyOnTheSpectrumPageWithThePowerOn) {
    const struct {
        float page, power;
        bool collects;
    } cases[] = {
        {0.6f, 1.0f, true},       {0.571429f, 1.0f, true}, {0.571428f, 1.0f, false},
        {0.714285f, 1.0f, false}, {0.7f, 0.51f, true},     {0.6f, 0.5f, false},
        {0.2f, 1.0f, false},
    };
    for (const auto& c : cases) {
        auto capture = std::make_unique<AnalyserCapture>();
        capture->setPanelPage(c.page);
        capture->setAnalyserPower(c.power);
        int handed = 0;
        for (int n = 0; n < 2 * AnalyserCapture::kLength; ++n)
            handed += capture->push(n, -n);
        EXPECT_EQ(handed, c.collects ? 2 : 0) << c.page << " " << c.power;
        if (c.collects) {
            EXPECT_EQ(capture->live(0)[0], 4096.0f);
            EXPECT_EQ(capture->live(1)[4095], -8191.0f);
        }
    }
}

TEST(AnalyserCaptureTest, LeavingThePageRestartsTheCollection) {
    auto capture = std::make_unique<AnalyserCapture>();
    capture->setPanelPage(0.6f);
    for (int n = 0; n < 3000; ++n)
        capture->push(1.0, 1.0);
    capture->setPanelPage(0.2f);
    capture->push(1.0, 1.0);
    EXPECT_EQ(capture->count(), 0);
    capture->setPanelPage(0.6f);
    int n = 0;
    while (!capture->push(2.0, 2.0))
        ++n;
    EXPECT_EQ(n + 1, AnalyserCapture::kLength);
    capture->clear();
    EXPECT_EQ(capture->live(0)[100], 0.0f);
}

} // namespace
} // namespace qv
