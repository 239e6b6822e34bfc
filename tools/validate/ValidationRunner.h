// Runs the validator's tests one after another, each on a thread of its own inside a crash trap
// and with a time limit, and prints one line per test ("PASS name: detail" / "FAIL name:
// detail") and a closing "N passed, M failed".
#pragma once

#include "tools/validate/TestContext.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace qv {

using TestBody = std::function<void(TestContext&)>;

class ValidationRunner {
public:
    // A hung test is ended after this long and fails.
    static constexpr double kTestTimeLimitSeconds = 240.0;

    ValidationRunner(const PluginLibrary& library, const ValidatorOptions& options,
                     const PluginTraits& traits, std::FILE* out);

    void add(const std::string& name, TestBody body);
    // Runs the tests --only and --skip select; returns the number that failed.
    int run();
    int passed() const { return passCount_; }
    int failed() const { return failCount_; }
    std::vector<std::string> names() const;

private:
    struct Test {
        std::string name;
        TestBody body;
    };

    const PluginLibrary& library_;
    const ValidatorOptions& options_;
    const PluginTraits& traits_;
    std::FILE* out_;
    std::vector<Test> tests_;
    int passCount_ = 0, failCount_ = 0;
};

} // namespace qv
