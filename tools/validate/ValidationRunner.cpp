#include "tools/validate/ValidationRunner.h"

#include "tools/Stopwatch.h"

namespace qv {

ValidationRunner::ValidationRunner(const PluginLibrary& library, const ValidatorOptions& options,
                                   const PluginTraits& traits, std::FILE* out)
    : library_(library), options_(options), traits_(traits), out_(out) {}

void ValidationRunner::add(const std::string& name, TestBody body) {
    tests_.push_back({name, std::move(body)});
}

std::vector<std::string> ValidationRunner::names() const {
    std::vector<std::string> list;
    for (const Test& t : tests_)
        list.push_back(t.name);
    return list;
}

int ValidationRunner::run() {
    Stopwatch total;
    for (const Test& test : tests_) {
        if (!options_.selects(test.name)) continue;
        TestContext context(library_, options_, traits_, test.name);
        Stopwatch clock;
        GuardedThread thread;
        thread.start([&] { test.body(context); });
        std::string ending; // a crash or a hang, which outranks what the test found before
        if (!thread.join(static_cast<unsigned long>(kTestTimeLimitSeconds * 1000.0))) {
            thread.terminate();
            ending = "still running after " +
                     std::to_string(static_cast<int>(kTestTimeLimitSeconds)) + " s; ended";
        } else if (thread.crash().crashed) {
            ending = "crashed: " + thread.crash().describe();
        }
        std::string detail = context.detail();
        if (!ending.empty())
            detail = context.failed() ? ending + " (before that: " + detail + ")" : ending;
        const bool ok = ending.empty() && !context.failed();
        (ok ? passCount_ : failCount_)++;
        std::fprintf(out_, "%s %s: %s (%.1f s)\n", ok ? "PASS" : "FAIL", test.name.c_str(),
                     detail.c_str(), clock.seconds());
        std::fflush(out_);
    }
    std::fprintf(out_, "time           : %.1f s\n", total.seconds());
    std::fprintf(out_, "%d passed, %d failed\n", passCount_, failCount_);
    std::fflush(out_);
    return failCount_;
}

} // namespace qv
