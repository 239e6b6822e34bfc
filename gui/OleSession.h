// One thread's use of OLE: initialised on construction, given back on destruction only when the
// initialisation succeeded (S_OK or S_FALSE) and only on the thread that made it, since OLE counts
// its initialisations per thread. A host that destroys the editor on another thread, or whose
// thread was already initialised for the multithreaded apartment, keeps its own OLE state intact.
#pragma once

namespace qv {

class OleSession {
public:
    OleSession();
    ~OleSession();
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

    // True when OleInitialize succeeded on the constructing thread.
    bool isInitialized() const { return initialized_; }

private:
    unsigned long thread_; // id of the thread that called OleInitialize
    bool initialized_;     // S_OK or S_FALSE: one OleUninitialize is owed on that thread
};

} // namespace qv
