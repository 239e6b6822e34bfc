// What a host keeps of an instance: the values of parameters 0..85 read with getParameter and,
// for some hosts, the program index. Set in index order on a fresh instance they must give the
// same sound, bit for bit, for every program and after an edit of any parameter.
#include "params/ParameterIndex.h"
#include "tests/shell/TestHost.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

namespace param = qv::param;

constexpr int kFrames = 4096;
constexpr int kBlock = 512;
constexpr int kBurst = 1024; // frames of each loud or quiet stretch, so releases are heard

using Stereo = std::array<std::vector<float>, 2>;

// A tone in every band (the lowest above 0 dBFS, so that even a 0 dB threshold of band 5 is
// crossed) over a little noise, alternating between loud and quiet stretches.
Stereo makeSignal() {
    const double kPi = 3.14159265358979323846, kRate = 44100.0;
    const struct {
        double hz, amplitude;
    } tones[] = {{50.0, 1.2}, {300.0, 0.4}, {2000.0, 0.4}, {6000.0, 0.4}, {12000.0, 0.4}};
    std::mt19937 rng(1107);
    std::uniform_real_distribution<double> unit(-0.2, 0.2);
    Stereo s = {std::vector<float>(kFrames), std::vector<float>(kFrames)};
    for (int i = 0; i < kFrames; ++i) {
        const double level = (i / kBurst) % 2 ? 0.03 : 1.0;
        double sum = 0.0;
        for (const auto& tone : tones)
            sum += tone.amplitude * std::sin(2.0 * kPi * tone.hz * i / kRate);
        for (int ch = 0; ch < 2; ++ch)
            s[ch][i] = static_cast<float>(level * (sum + unit(rng)));
    }
    return s;
}

Stereo render(MultibandEffectBase& effect) {
    static const Stereo in = makeSignal();
    Stereo out = {std::vector<float>(kFrames), std::vector<float>(kFrames)};
    for (int start = 0; start < kFrames; start += kBlock) {
        float* inputs[2] = {const_cast<float*>(in[0].data()) + start,
                            const_cast<float*>(in[1].data()) + start};
        float* outputs[2] = {out[0].data() + start, out[1].data() + start};
        effect.processReplacing(inputs, outputs, kBlock);
    }
    return out;
}

bool sameBits(const Stereo& a, const Stereo& b) {
    return std::memcmp(a[0].data(), b[0].data(), kFrames * sizeof(float)) == 0 &&
           std::memcmp(a[1].data(), b[1].data(), kFrames * sizeof(float)) == 0;
}

// A value on the other side of every switch and step threshold.
float edited(float v) {
    return v > 0.5f ? v * 0.4f : 0.6f + v * 0.4f;
}

std::unique_ptr<TestEffect> makeEffect() {
    return std::make_unique<TestEffect>(&RecordingHost::callback, false);
}

// Saves `original` as a host does, restores it into fresh instances (with and without the
// program index first) and compares values and sound.
void expectRoundTrip(TestEffect& original) {
    float saved[qv::kNumHostParameters];
    for (int i = 0; i < qv::kNumHostParameters; ++i)
        saved[i] = original.getParameter(i);
    const Stereo expected = render(original);
    const bool band5Manual = saved[param::relModeIndex(5)] > 0.5f;
    for (bool withProgram : {false, true}) {
        SCOPED_TRACE(withProgram ? "with the program index" : "without the program index");
        std::unique_ptr<TestEffect> restored = makeEffect();
        if (withProgram) restored->setProgram(original.getProgram());
        const float ownRelA5 = restored->getParameter(param::kCp5RelA);
        for (int i = 0; i < qv::kNumHostParameters; ++i)
            restored->setParameter(i, saved[i]);
        for (int i = 0; i < qv::kNumHostParameters; ++i)
            ASSERT_EQ(restored->getParameter(i), saved[i]) << "parameter " << i;
        // Band 5's Rel_a travels in its mirror only while it is the active release; a manual
        // band 5 keeps the restoring instance's own, which it does not use.
        EXPECT_EQ(restored->getParameter(param::kCp5RelA),
                  band5Manual ? ownRelA5 : original.getParameter(param::kCp5RelA));
        EXPECT_TRUE(sameBits(render(*restored), expected));
    }
}

TEST(HostRoundTripTest, EveryProgramSoundsTheSameAfterSaveAndRestore) {
    RecordingHost::reset();
    for (int program = 0; program < qv::kNumPrograms; ++program) {
        SCOPED_TRACE(testing::Message() << "program " << program);
        std::unique_ptr<TestEffect> original = makeEffect();
        original->setProgram(program);
        expectRoundTrip(*original);
    }
}

bool isReleaseParameter(int index) {
    const qv::ParameterFamily f = qv::familyOf(index);
    return f == qv::ParameterFamily::RelMode || f == qv::ParameterFamily::Rel ||
           f == qv::ParameterFamily::RelM || f == qv::ParameterFamily::RelA;
}

// Every parameter edited on a program whose bands 1..4 release manually and band 5
// automatically (14); the release parameters also on programs whose bands all release
// automatically with edited depths (1) or all manually (16).
TEST(HostRoundTripTest, AnEditOfAnyParameterSoundsTheSameAfterSaveAndRestore) {
    RecordingHost::reset();
    for (int program : {14, 1, 16}) {
        for (int index = 0; index < qv::kNumStoredParameters; ++index) {
            if (program != 14 && !isReleaseParameter(index)) continue;
            SCOPED_TRACE(testing::Message() << "program " << program << ", edit of " << index);
            std::unique_ptr<TestEffect> original = makeEffect();
            original->setProgram(program);
            original->setParameter(index, edited(original->getParameter(index)));
            expectRoundTrip(*original);
        }
    }
}

} // namespace
