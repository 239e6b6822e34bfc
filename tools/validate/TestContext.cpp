#include "tools/validate/TestContext.h"

namespace qv {

namespace {
std::uint32_t nameHash(const std::string& name) {
    std::uint32_t h = 2166136261u; // FNV-1a
    for (unsigned char c : name)
        h = (h ^ c) * 16777619u;
    return h;
}
} // namespace

TestContext::TestContext(const PluginLibrary& library, const ValidatorOptions& options,
                         const PluginTraits& traits, const std::string& name)
    : library(library), options(options), traits(traits), random(options.seed ^ nameHash(name)) {}

void TestContext::fail(const std::string& why) {
    std::lock_guard<std::mutex> guard(lock_);
    if (hasFailed_) return;
    hasFailed_ = true;
    text_ = why;
}

void TestContext::note(const std::string& what) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!hasFailed_) text_ = what;
}

bool TestContext::failed() const {
    std::lock_guard<std::mutex> guard(lock_);
    return hasFailed_;
}

std::string TestContext::detail() const {
    std::lock_guard<std::mutex> guard(lock_);
    return text_;
}

bool TestContext::require(const TestInstance& instance) {
    if (instance.valid()) return true;
    fail("the plug-in's main returned no instance");
    return false;
}

bool TestContext::checkThread(const GuardedThread& thread, const std::string& role) {
    if (!thread.crash().crashed) return true;
    fail("crash in " + role + ": " + thread.crash().describe());
    return false;
}

bool TestContext::checkOutput(TestInstance& instance, const StereoSignal& out,
                              const std::string& what) {
    const std::string bad = findBadSample(out, traits.outputBound(instance));
    if (bad.empty()) return true;
    fail(what + ": " + bad);
    return false;
}

} // namespace qv
