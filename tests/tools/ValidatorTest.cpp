// The validator's own pieces: its command line, the sample checks it judges output by, and the
// crash trap that turns a crash on any thread into a result.
#include "tools/validate/CrashTrap.h"
#include "tools/validate/GuardedThread.h"
#include "tools/validate/StereoSignal.h"
#include "tools/validate/ValidatorOptions.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

namespace qv {

namespace {

bool parse(std::vector<const char*> args, ValidatorOptions& options, std::string& error) {
    return ValidatorOptions::parse(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(ValidatorOptionsTest, BadCommandLinesAreRefusedWithAReason) {
    const struct {
        std::vector<const char*> args;
        const char* error;
    } cases[] = {
        {{}, "validate needs a plug-in DLL"},
        {{"a.dll", "b.dll"}, "more than one plug-in given (b.dll)"},
        {{"a.dll", "--seconds", "0"}, "--seconds needs a duration above 0 and at most 3600"},
        {{"a.dll", "--seconds", "nan"}, "--seconds needs a duration above 0 and at most 3600"},
        {{"a.dll", "--seed", "-3"}, "--seed needs a whole number from 0 to 4294967295"},
        {{"a.dll", "--seed", "4294967296"}, "--seed needs a whole number from 0 to 4294967295"},
        {{"a.dll", "--only"}, "--only needs a test or group name"},
        {{"a.dll", "--fast"}, "unknown option --fast"},
    };
    for (const auto& c : cases) {
        ValidatorOptions options;
        std::string error;
        EXPECT_FALSE(parse(c.args, options, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(ValidatorOptionsTest, OnlyAndSkipNameTestsOrWholeGroups) {
    ValidatorOptions options;
    std::string error;
    ASSERT_TRUE(parse({"--only", "audio,state.round_trip", "x.dll", "--skip", "audio.in_place",
                       "--seconds", "2.5", "--seed", "42", "--quick"},
                      options, error))
        << error;
    EXPECT_EQ(options.plugin, "x.dll");
    EXPECT_EQ(options.seconds, 2.5);
    EXPECT_EQ(options.seed, 42u);
    EXPECT_EQ(options.count(200), 20);
    EXPECT_EQ(options.count(5), 1);
    EXPECT_TRUE(options.selects("audio.bad_input"));
    EXPECT_TRUE(options.selects("state.round_trip"));
    EXPECT_FALSE(options.selects("audio.in_place"));
    EXPECT_FALSE(options.selects("state.programs"));
    EXPECT_FALSE(options.selects("audiox.test")); // a group name is not a prefix of another
}

TEST(SignalCheckTest, FindsTheFirstBadSampleOfEachKind) {
    const struct {
        float value;
        double bound;
        const char* expected;
    } cases[] = {
        {0.5f, 1.0, ""},
        {-1.0f, 1.0, ""},
        {NAN, 1.0, "NaN at frame 3 (right)"},
        {-INFINITY, 1.0, "infinity at frame 3 (right)"},
        {FLT_MIN / 2.0f, 1.0, "subnormal at frame 3 (right)"},
        {0.75f, 0.5, "0.75 above the ceiling 0.5 at frame 3 (right)"},
        {1e30f, INFINITY, ""},
    };
    for (const auto& c : cases) {
        StereoSignal s(5);
        s.right[3] = c.value;
        EXPECT_EQ(findBadSample(s, c.bound), c.expected) << c.value;
    }
}

TEST(SignalCheckTest, ComparisonIsBitwise) {
    StereoSignal a(10), b(10);
    EXPECT_EQ(compareSignals(a, b).frames, 0u);
    b.left[4] = -0.0f; // equal as numbers, not as bits
    b.right[7] = 0.25f;
    const SignalDifference d = compareSignals(a, b);
    EXPECT_EQ(d.frames, 2u);
    EXPECT_EQ(d.first, 4u);
    EXPECT_EQ(d.largest, 0.25);
}

void accessViolation() {
    RaiseException(EXCEPTION_ACCESS_VIOLATION, 0, 0, nullptr);
}

TEST(CrashTrapTest, CrashesOnThisThreadAndOthersBecomeResults) {
    CrashInfo info;
    EXPECT_TRUE(CrashTrap::run([] {}, info));
    EXPECT_FALSE(info.crashed);
    EXPECT_FALSE(CrashTrap::run(accessViolation, info));
    EXPECT_EQ(info.code, static_cast<unsigned long>(EXCEPTION_ACCESS_VIOLATION));
    EXPECT_NE(info.describe().find("exception 0xc0000005 (access violation)"), std::string::npos);

    // A trap inside a trap catches its own crash; the outer one goes on.
    CrashInfo inner, outer;
    bool innerCaught = false;
    EXPECT_TRUE(
        CrashTrap::run([&] { innerCaught = !CrashTrap::run(accessViolation, inner); }, outer));
    EXPECT_TRUE(innerCaught);

    GuardedThread thread;
    ASSERT_TRUE(thread.start([] { RaiseException(EXCEPTION_INT_DIVIDE_BY_ZERO, 0, 0, nullptr); }));
    ASSERT_TRUE(thread.join(10000));
    EXPECT_TRUE(thread.crash().crashed);
    EXPECT_EQ(thread.crash().code, static_cast<unsigned long>(EXCEPTION_INT_DIVIDE_BY_ZERO));
}

} // namespace

} // namespace qv
