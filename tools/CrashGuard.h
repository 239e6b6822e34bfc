// Last line of defence against a plug-in that crashes the process: an unhandled exception
// deletes the half-written output file, prints one error line and exits with status 3, instead
// of leaving a debugger dialogue or a truncated file behind. Ctrl+C also removes the file.
#pragma once

#include <string>

namespace qv {

class CrashGuard {
public:
    static constexpr int kExitCode = 3;
    static constexpr int kInterruptedExitCode = 130;

    // Installs the process-wide handler (once; later calls do nothing).
    static void install();
    // The file to delete if the process crashes now; empty: none.
    static void setTemporaryFile(const std::string& path);
};

} // namespace qv
