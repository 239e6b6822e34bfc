// Catches a crash (access violation, illegal instruction, floating-point trap ...) inside a call
// on the calling thread and turns it into a result, so that one faulty plug-in call fails one
// test instead of ending the validator. Works through the process's unhandled-exception filter:
// only exceptions that nothing else handles count; the thread's stack is abandoned up to the
// trap (objects on it are leaked, never destroyed).
#pragma once

#include <functional>
#include <string>

namespace qv {

struct CrashInfo {
    bool crashed = false;          // whether the call ended in an unhandled exception
    unsigned long code = 0;        // the exception code, e.g. 0xc0000005 (access violation)
    const void* address = nullptr; // where it happened
    std::string describe() const;  // "exception 0xc0000005 (access violation) at 0x..."
};

class CrashTrap {
public:
    // Installs the filter in front of the one already installed (CrashGuard's), which still
    // serves threads that run no trap. Once; later calls do nothing. Any thread.
    static void install();
    // Runs `body`; false (and `info` filled) if it crashed. Traps nest per thread.
    static bool run(const std::function<void()>& body, CrashInfo& info);
};

} // namespace qv
