// The test programme: its length, that it does not depend on how it is asked for, that it stays
// below full scale, and that it really has the quiet and loud passages and the transients a
// compressor test needs.
#include "tools/ProgrammeGenerator.h"
#include "tools/LevelMeter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace qv {

namespace {

struct Audio {
    std::vector<float> left, right;
};

Audio generateAll(double rate, double seconds, std::size_t chunk) {
    ProgrammeGenerator g(rate, seconds);
    Audio a;
    a.left.resize(g.totalFrames());
    a.right.resize(g.totalFrames());
    std::size_t pos = 0;
    while (std::size_t n = g.generate(a.left.data() + pos, a.right.data() + pos,
                                      std::min(chunk, a.left.size() - pos + 1)))
        pos += n;
    EXPECT_EQ(pos, a.left.size());
    return a;
}

// RMS in dBFS of the left channel between two fractions of the programme.
double sectionRmsDb(const Audio& a, double from, double to) {
    LevelMeter m;
    const auto begin = static_cast<std::size_t>(from * a.left.size());
    const auto end = static_cast<std::size_t>(to * a.left.size());
    m.add(a.left.data() + begin, a.right.data() + begin, end - begin);
    return m.rmsDb(0);
}

TEST(ProgrammeGeneratorTest, LengthFollowsRateAndSeconds) {
    EXPECT_EQ(ProgrammeGenerator(44100, 20).totalFrames(), 882000u);
    EXPECT_EQ(ProgrammeGenerator(7919, 1.5).totalFrames(), 11879u); // rounded to nearest
    EXPECT_EQ(ProgrammeGenerator(48000, 0).totalFrames(), 0u);
    EXPECT_EQ(ProgrammeGenerator(48000, -1).totalFrames(), 0u);
}

TEST(ProgrammeGeneratorTest, SameSamplesWhateverTheChunkSizeAndAfterRestart) {
    const Audio whole = generateAll(44100, 3, 1 << 20);
    const Audio pieces = generateAll(44100, 3, 37);
    EXPECT_EQ(whole.left, pieces.left);
    EXPECT_EQ(whole.right, pieces.right);

    ProgrammeGenerator g(44100, 3);
    std::vector<float> l(1000), r(1000), l2(1000), r2(1000);
    g.generate(l.data(), r.data(), l.size());
    g.restart();
    g.generate(l2.data(), r2.data(), l2.size());
    EXPECT_EQ(l, l2);
}

TEST(ProgrammeGeneratorTest, QuietAndLoudPassagesBelowFullScale) {
    const Audio a = generateAll(22050, 20, 4096);
    LevelMeter all;
    all.add(a.left.data(), a.right.data(), a.left.size());
    EXPECT_EQ(all.nonFinite(), 0u);
    EXPECT_LT(all.peakDb(0), -0.5);
    EXPECT_LT(all.peakDb(1), -0.5);
    EXPECT_GT(all.peakDb(0), -6.0);

    const double intro = sectionRmsDb(a, 0.02, 0.14);
    const double chorus = sectionRmsDb(a, 0.4, 0.58);
    const double breakdown = sectionRmsDb(a, 0.62, 0.74);
    const double finale = sectionRmsDb(a, 0.77, 0.94);
    EXPECT_GT(chorus - intro, 10.0);
    EXPECT_GT(chorus - breakdown, 20.0);
    EXPECT_GT(finale, chorus - 1.0);
    // The last samples fade to (almost) nothing.
    EXPECT_LT(std::fabs(a.left.back()), 0.01f);
}

TEST(ProgrammeGeneratorTest, HasDrumTransientsAndADifferentRightChannel) {
    constexpr std::size_t kRate = 22050, kBeat = kRate / 2, k20ms = kRate / 50;
    const Audio a = generateAll(kRate, 20, 4096);
    // Crest factor of the chorus: drum hits stand well above the average level.
    LevelMeter chorus;
    const std::size_t begin = a.left.size() * 4 / 10, n = a.left.size() / 10;
    chorus.add(a.left.data() + begin, a.right.data() + begin, n);
    EXPECT_GT(chorus.peakDb(0) - chorus.rmsDb(0), 8.0);
    // Kick on every beat (0.5 s): the 20 ms after a beat are louder than the 20 ms before it.
    const std::size_t beat = begin - begin % kBeat + kBeat;
    LevelMeter before, after;
    before.add(a.left.data() + beat - k20ms, a.right.data() + beat - k20ms, k20ms);
    after.add(a.left.data() + beat, a.right.data() + beat, k20ms);
    EXPECT_GT(after.rmsDb(0) - before.rmsDb(0), 3.0);

    double difference = 0.0;
    for (std::size_t i = 0; i < a.left.size(); ++i)
        difference = std::fmax(difference, std::fabs(a.left[i] - a.right[i]));
    EXPECT_GT(difference, 0.01);
}

} // namespace

} // namespace qv
