#include "tools/validate/ValidatorOptions.h"

#include <cmath>
#include <cstdlib>

namespace qv {

namespace {

// "params" names the group params.*, "params.automation" the one test.
bool matches(const std::string& pattern, const std::string& name) {
    return name == pattern || name.compare(0, pattern.size() + 1, pattern + ".") == 0;
}

// Splits "a,b" into its parts.
void addList(std::vector<std::string>& to, const std::string& list) {
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = list.find(',', start);
        const std::string part =
            list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!part.empty()) to.push_back(part);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}

} // namespace

const char* ValidatorOptions::usage() {
    return "       qvhost validate <plugin.dll> [--only NAME]... [--skip NAME]... [--seconds S]\n"
           "              [--seed N] [--quick]\n";
}

bool ValidatorOptions::parse(int argc, const char* const* argv, ValidatorOptions& out,
                             std::string& error) {
    out = ValidatorOptions();
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--skip" || arg == "--only") {
            if (!hasValue) return error = arg + " needs a test or group name", false;
            addList(arg == "--skip" ? out.skip : out.only, argv[++i]);
        } else if (arg == "--seconds") {
            char* end = nullptr;
            const double s = hasValue ? std::strtod(argv[++i], &end) : 0.0;
            if (!hasValue || *end || !std::isfinite(s) || s <= 0.0 || s > 3600.0)
                return error = "--seconds needs a duration above 0 and at most 3600", false;
            out.seconds = s;
        } else if (arg == "--seed") {
            char* end = nullptr;
            const unsigned long long n = hasValue ? std::strtoull(argv[++i], &end, 10) : 0;
            if (!hasValue || *end || !*argv[i] || n > 0xFFFFFFFFull)
                return error = "--seed needs a whole number from 0 to 4294967295", false;
            out.seed = static_cast<std::uint32_t>(n);
        } else if (arg == "--quick") {
            out.quick = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return error = "unknown option " + arg, false;
        } else if (out.plugin.empty()) {
            out.plugin = arg;
        } else {
            return error = "more than one plug-in given (" + arg + ")", false;
        }
    }
    if (out.plugin.empty()) return error = "validate needs a plug-in DLL", false;
    return true;
}

bool ValidatorOptions::selects(const std::string& name) const {
    for (const std::string& s : skip)
        if (matches(s, name)) return false;
    if (only.empty()) return true;
    for (const std::string& o : only)
        if (matches(o, name)) return true;
    return false;
}

} // namespace qv
