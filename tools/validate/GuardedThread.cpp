#include "tools/validate/GuardedThread.h"

#include <windows.h>

namespace qv {

GuardedThread::~GuardedThread() {
    join();
}

unsigned long __stdcall GuardedThread::entry(void* self) {
    auto* thread = static_cast<GuardedThread*>(self);
    CrashTrap::run(thread->work, thread->info);
    return 0;
}

bool GuardedThread::start(std::function<void()> body) {
    join();
    work = std::move(body);
    info = CrashInfo();
    handle = CreateThread(nullptr, 0, &GuardedThread::entry, this, 0, nullptr);
    return handle != nullptr;
}

bool GuardedThread::join(unsigned long milliseconds) {
    if (!handle) return true;
    if (WaitForSingleObject(handle, milliseconds) != WAIT_OBJECT_0) return false;
    CloseHandle(handle);
    handle = nullptr;
    return true;
}

void GuardedThread::terminate() {
    if (!handle) return;
    TerminateThread(handle, 1);
    WaitForSingleObject(handle, INFINITE);
    CloseHandle(handle);
    handle = nullptr;
}

} // namespace qv
