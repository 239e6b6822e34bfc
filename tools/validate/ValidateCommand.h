// "qvhost validate <plugin.dll>": runs every validator test on the plug-in and prints one line
// per test and a closing count. Exit status 0 when all pass, 1 when any fails or the plug-in
// cannot be loaded, 2 for a bad command line.
#pragma once

namespace qv {

class ValidateCommand {
public:
    // argv after "validate".
    static int run(int argc, const char* const* argv);
    // Its line of qvhost's usage text.
    static const char* usage();
};

} // namespace qv
