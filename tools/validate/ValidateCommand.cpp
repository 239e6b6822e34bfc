#include "tools/validate/ValidateCommand.h"

#include "tools/validate/AudioTests.h"
#include "tools/validate/CrashTrap.h"
#include "tools/validate/DispatcherTests.h"
#include "tools/validate/EditorTests.h"
#include "tools/validate/FpuTests.h"
#include "tools/validate/LifecycleTests.h"
#include "tools/validate/MemoryTests.h"
#include "tools/validate/ParameterTests.h"
#include "tools/validate/StateTests.h"
#include "tools/validate/ThreadTests.h"

#include <cstdio>

namespace qv {

namespace {
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
} // namespace

const char* ValidateCommand::usage() {
    return ValidatorOptions::usage();
}

int ValidateCommand::run(int argc, const char* const* argv) {
    ValidatorOptions options;
    std::string error;
    if (!ValidatorOptions::parse(argc, argv, options, error)) {
        std::fprintf(stderr, "qvhost: %s (run qvhost without arguments for usage)\n",
                     error.c_str());
        return kExitUsage;
    }
    CrashTrap::install();
    PluginLibrary library;
    if (!library.load(options.plugin, error)) {
        std::fprintf(stderr, "qvhost: %s\n", error.c_str());
        return kExitFailure;
    }
    PluginTraits traits;
    {
        TestInstance probe(library);
        if (!probe.valid()) {
            std::fprintf(stderr, "qvhost: %s: the plug-in's main returned null\n",
                         options.plugin.c_str());
            return kExitFailure;
        }
        traits.learn(probe);
    }
    std::printf("validating     : %s\n", options.plugin.c_str());
    std::printf("plug-in        : %s\n", traits.identity().c_str());
    std::printf("settings       : seed %u, %.1f s per timed test%s\n", options.seed,
                options.seconds, options.quick ? ", a tenth of the repetitions (--quick)" : "");
    std::fflush(stdout);

    ValidationRunner runner(library, options, traits, stdout);
    LifecycleTests::addTo(runner);
    AudioTests::addTo(runner);
    ParameterTests::addTo(runner);
    ThreadTests::addTo(runner);
    StateTests::addTo(runner);
    DispatcherTests::addTo(runner);
    EditorTests::addTo(runner);
    MemoryTests::addTo(runner);
    FpuTests::addTo(runner);
    bool known = true;
    for (const std::string& name : options.only) {
        bool found = false;
        for (const std::string& test : runner.names())
            found = found || test == name || test.compare(0, name.size() + 1, name + ".") == 0;
        if (!found) {
            std::fprintf(stderr, "qvhost: no test or group called \"%s\"\n", name.c_str());
            known = false;
        }
    }
    if (!known) return kExitUsage;
    const int failed = runner.run();
    return failed ? kExitFailure : 0;
}

} // namespace qv
