// The command line of "qvhost validate".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct ValidatorOptions {
    static constexpr double kDefaultSeconds = 10.0;

    std::string plugin;               // the DLL
    std::vector<std::string> skip;    // tests or groups left out
    std::vector<std::string> only;    // if not empty: the only tests or groups run
    double seconds = kDefaultSeconds; // duration of each timed test
    std::uint32_t seed = 1;           // of every random choice
    bool quick = false;               // a tenth of every repetition count (for test suites)

    static const char* usage();
    // argv after "validate". False with `error` for a bad command line.
    static bool parse(int argc, const char* const* argv, ValidatorOptions& out, std::string& error);
    // Whether the test `name` ("group.test") runs: --only and --skip name tests or groups.
    bool selects(const std::string& name) const;
    // `full` repetitions, or a tenth (at least 1) with --quick.
    int count(int full) const { return quick ? (full + 9) / 10 : full; }
};

} // namespace qv
