// What one validator test works with and how it reports: the plug-in library, the options, what
// is known of the plug-in, a random generator seeded from --seed and the test's name, and the
// result (the first failure wins; a passing test may leave a note). fail and note may be called
// from any of the test's threads.
#pragma once

#include "tools/validate/GuardedThread.h"
#include "tools/validate/PluginLibrary.h"
#include "tools/validate/PluginTraits.h"
#include "tools/validate/ValidatorOptions.h"

#include <mutex>
#include <random>
#include <string>

namespace qv {

class TestContext {
public:
    static constexpr float kSampleRate = 44100.0f;
    static constexpr int kBlock = 512;

    TestContext(const PluginLibrary& library, const ValidatorOptions& options,
                const PluginTraits& traits, const std::string& name);

    const PluginLibrary& library;
    const ValidatorOptions& options;
    const PluginTraits& traits;
    std::mt19937 random;

    void fail(const std::string& why);
    void note(const std::string& what);
    bool failed() const;
    std::string detail() const;

    // Fails (and returns false) when the plug-in made no instance.
    bool require(const TestInstance& instance);
    // Fails when `thread` crashed; `role` says what it was doing ("the automation thread").
    bool checkThread(const GuardedThread& thread, const std::string& role);
    // Fails when `out` holds a NaN, an infinity, a subnormal or, for our plug-in, a sample above
    // the ceiling `instance`'s parameters set now; `what` names the step.
    bool checkOutput(TestInstance& instance, const StereoSignal& out, const std::string& what);
    // A uniformly random integer in [low, high].
    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    float unit() { return std::uniform_real_distribution<float>(0.0f, 1.0f)(random); }

private:
    mutable std::mutex lock_; // guards the result
    bool hasFailed_ = false;
    std::string text_;
};

} // namespace qv
