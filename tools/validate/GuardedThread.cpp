#include "tools/validate/GuardedThread.h"

#include <windows.h>

namespace qv {

GuardedThread::~GuardedThread() {
    join();
}

unsigned long __stdcall GuardedThread::entry(void* self) {
    auto* thread = static_cast<GuardedThread*>(self);
    CrashTrap::run(thread->work_, thread->info_);
    return 0;
}

bool GuardedThread::start(std::function<void()> body) {
    join();
    work_ = std::move(body);
    info_ = CrashInfo();
    handle_ = CreateThread(nullptr, 0, &GuardedThread::entry, this, 0, nullptr);
    return handle_ != nullptr;
}

bool GuardedThread::join(unsigned long milliseconds) {
    if (!handle_) return true;
    if (WaitForSingleObject(handle_, milliseconds) != WAIT_OBJECT_0) return false;
    CloseHandle(handle_);
    handle_ = nullptr;
    return true;
}

void GuardedThread::terminate() {
    if (!handle_) return;
    TerminateThread(handle_, 1);
    WaitForSingleObject(handle_, INFINITE);
    CloseHandle(handle_);
    handle_ = nullptr;
}

} // namespace qv
