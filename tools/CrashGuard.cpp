#include "tools/CrashGuard.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace qv {

namespace {

char temporaryFile[MAX_PATH * 4] = {}; // fixed storage: the handler must not allocate
bool installed = false;

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* info) {
    if (temporaryFile[0]) DeleteFileA(temporaryFile);
    char line[240];
    const unsigned long code =
        info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 0;
    const void* where =
        info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionAddress : nullptr;
    const int n =
        std::snprintf(line, sizeof line,
                      "qvhost: the process crashed (exception 0x%08lx at %p), "
                      "probably inside the plug-in; no output written (try other settings or "
                      "another build of the plug-in, and tell its maker)\n",
                      code, where);
    DWORD written = 0;
    if (n > 0)
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(n), &written, nullptr);
    TerminateProcess(GetCurrentProcess(), CrashGuard::kExitCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

// Ctrl+C or a closed console: remove the unfinished file too, then let the process end.
BOOL WINAPI onConsoleControl(DWORD) {
    if (temporaryFile[0]) DeleteFileA(temporaryFile);
    static const char line[] = "qvhost: interrupted; no output written\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, sizeof line - 1, &written, nullptr);
    ExitProcess(CrashGuard::kInterruptedExitCode);
    return TRUE;
}

} // namespace

void CrashGuard::install() {
    if (installed) return;
    installed = true;
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(onUnhandledException);
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

void CrashGuard::setTemporaryFile(const std::string& path) {
    if (path.size() >= sizeof temporaryFile) {
        temporaryFile[0] = 0;
        return;
    }
    std::memcpy(temporaryFile, path.c_str(), path.size() + 1);
}

} // namespace qv
