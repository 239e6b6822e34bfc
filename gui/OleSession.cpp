#include "gui/OleSession.h"

#include <ole2.h>
#include <windows.h>

namespace qv {

OleSession::OleSession() : thread(GetCurrentThreadId()) {
    const HRESULT result = OleInitialize(nullptr);
    initialized = result == S_OK || result == S_FALSE;
}

OleSession::~OleSession() {
    if (initialized && GetCurrentThreadId() == thread) OleUninitialize();
}

} // namespace qv
