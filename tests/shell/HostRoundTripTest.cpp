// What a host keeps of an instance: the values of parameters 0..85 read with getParameter and,
// for some hosts, the program index. Set in index order on a fresh instance they must give the
// same sound, bit for bit, for every program and after an edit of any parameter.
#include "params/ParameterIndex.h"
#include "tests/shell/RoundTripSignal.h"
#include "tests/shell/TestHost.h"

#include <gtest/gtest.h>

#include <memory>

namespace qv {

namespace {

using round_trip::edited;
using round_trip::render;
using round_trip::sameBits;
using round_trip::Stereo;

std::unique_ptr<TestEffect> makeEffect() {
    return std::make_unique<TestEffect>(&RecordingHost::callback, false);
}

// Saves `original` as a host does, restores it into fresh instances (with and without the
// program index first) and compares values and sound.
void expectRoundTrip(TestEffect& original) {
    float saved[qv::kNumHostParameters];
    for (int i = 0; i < qv::kNumHostParameters; ++i)
        saved[i] = original.getParameter(i);
    const Stereo expected = render(original.getAeffect());
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
        EXPECT_TRUE(sameBits(render(restored->getAeffect()), expected));
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

// RelMode, Rel, Rel_m or Rel_a of band 1 (Rel_a announced) or band 5 (Rel_a not announced).
bool isOuterBandRelease(int index) {
    const qv::ParameterFamily f = qv::familyOf(index);
    const bool release = f == qv::ParameterFamily::RelMode || f == qv::ParameterFamily::Rel ||
                         f == qv::ParameterFamily::RelM || f == qv::ParameterFamily::RelA;
    return release && (qv::bandOf(index) == 1 || qv::bandOf(index) == qv::kNumBands);
}

// Every parameter edited on a program whose bands 1..4 release manually and band 5
// automatically (14); the release parameters of bands 1 and 5 also on programs whose bands all
// release automatically with edited depths (1) or all manually (16).
TEST(HostRoundTripTest, AnEditOfAnyParameterSoundsTheSameAfterSaveAndRestore) {
    RecordingHost::reset();
    for (int program : {14, 1, 16}) {
        for (int index = 0; index < qv::kNumStoredParameters; ++index) {
            if (program != 14 && !isOuterBandRelease(index)) continue;
            SCOPED_TRACE(testing::Message() << "program " << program << ", edit of " << index);
            std::unique_ptr<TestEffect> original = makeEffect();
            original->setProgram(program);
            original->setParameter(index, edited(original->getParameter(index)));
            expectRoundTrip(*original);
        }
    }
}

} // namespace

} // namespace qv
