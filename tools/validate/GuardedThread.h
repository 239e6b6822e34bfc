// A thread whose body runs inside a CrashTrap: a crash ends the thread and is reported, instead
// of ending the process. Its handle allows a bounded wait and, for a hung body, termination.
#pragma once

#include "tools/validate/CrashTrap.h"

#include <functional>

namespace qv {

class GuardedThread {
public:
    GuardedThread() = default;
    GuardedThread(const GuardedThread&) = delete;
    GuardedThread& operator=(const GuardedThread&) = delete;
    ~GuardedThread(); // waits for a started thread that was not joined

    bool start(std::function<void()> body);
    // True once the thread has ended; false if it is still running after `milliseconds`.
    bool join(unsigned long milliseconds = 0xFFFFFFFFul);
    // Ends a hung thread (its stack and any lock it holds are lost).
    void terminate();
    const CrashInfo& crash() const { return info_; }

private:
    static unsigned long __stdcall entry(void* self);

    std::function<void()> work_; // the body
    void* handle_ = nullptr;     // thread handle, null before start and after join
    CrashInfo info_;             // filled when the body crashed
};

} // namespace qv
