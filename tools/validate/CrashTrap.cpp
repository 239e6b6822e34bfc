#include "tools/validate/CrashTrap.h"

#include <windows.h>

#include <csetjmp>
#include <cstdio>

namespace qv {

namespace {

// One per thread while a trap is active: where to go back to, what to fill in, and the trap it
// is nested in.
struct Landing {
    std::jmp_buf where;
    CrashInfo* info;
    Landing* outer;
};

DWORD landingSlot = TLS_OUT_OF_INDEXES;
LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;

LONG WINAPI onUnhandled(EXCEPTION_POINTERS* pointers) {
    auto* landing = static_cast<Landing*>(TlsGetValue(landingSlot));
    if (!landing) return previousFilter ? previousFilter(pointers) : EXCEPTION_CONTINUE_SEARCH;
    const EXCEPTION_RECORD* record = pointers ? pointers->ExceptionRecord : nullptr;
    landing->info->crashed = true;
    landing->info->code = record ? record->ExceptionCode : 0;
    landing->info->address = record ? record->ExceptionAddress : nullptr;
    TlsSetValue(landingSlot, landing->outer);
    std::longjmp(landing->where, 1);
}

const char* exceptionName(unsigned long code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
        return "access violation";
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
        return "array bounds exceeded";
    case EXCEPTION_DATATYPE_MISALIGNMENT:
        return "misaligned data";
    case EXCEPTION_FLT_DENORMAL_OPERAND:
        return "floating-point denormal operand";
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
        return "floating-point division by zero";
    case EXCEPTION_FLT_INEXACT_RESULT:
        return "floating-point inexact result";
    case EXCEPTION_FLT_INVALID_OPERATION:
        return "floating-point invalid operation";
    case EXCEPTION_FLT_OVERFLOW:
        return "floating-point overflow";
    case EXCEPTION_FLT_STACK_CHECK:
        return "floating-point stack check";
    case EXCEPTION_FLT_UNDERFLOW:
        return "floating-point underflow";
    case 0xC00002B4:
        return "SSE floating-point fault";
    case 0xC00002B5:
        return "SSE floating-point trap";
    case EXCEPTION_ILLEGAL_INSTRUCTION:
        return "illegal instruction";
    case EXCEPTION_PRIV_INSTRUCTION:
        return "privileged instruction";
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
        return "integer division by zero";
    case EXCEPTION_INT_OVERFLOW:
        return "integer overflow";
    case EXCEPTION_STACK_OVERFLOW:
        return "stack overflow";
    case EXCEPTION_IN_PAGE_ERROR:
        return "in-page error";
    case 0xC0000409:
        return "stack buffer overrun";
    default:
        return "unhandled exception";
    }
}

} // namespace

std::string CrashInfo::describe() const {
    char text[128];
    std::snprintf(text, sizeof text, "exception 0x%08lx (%s) at %p", code, exceptionName(code),
                  address);
    return text;
}

void CrashTrap::install() {
    if (landingSlot != TLS_OUT_OF_INDEXES) return;
    landingSlot = TlsAlloc();
    previousFilter = SetUnhandledExceptionFilter(onUnhandled);
}

bool CrashTrap::run(const std::function<void()>& body, CrashInfo& info) {
    install();
    info = CrashInfo();
    // Static storage per nesting would not do across threads; the landing lives in this frame,
    // which stays valid while `body` runs.
    Landing landing;
    landing.info = &info;
    landing.outer = static_cast<Landing*>(TlsGetValue(landingSlot));
    if (setjmp(landing.where) == 0) {
        TlsSetValue(landingSlot, &landing);
        body();
        TlsSetValue(landingSlot, landing.outer);
        return true;
    }
    return false; // the filter restored the outer landing
}

} // namespace qv
