#include "gui/OleSession.h"

#include <ole2.h>
#include <windows.h>

namespace qv {

OleSession::OleSession() : thread_(GetCurrentThreadId()) {
    const HRESULT result = OleInitialize(nullptr);
    initialized_ = result == S_OK || result == S_FALSE;
}

OleSession::~OleSession() {
    if (initialized_ && GetCurrentThreadId() == thread_) OleUninitialize();
}

} // namespace qv
