// What processor a Windows DLL is built for, read from its PE header before it is loaded, so that
// a 64-bit plug-in offered to a 32-bit host (or the reverse) gets a message that says so instead
// of the loader's "bad EXE format".
#pragma once

#include <string>

namespace qv {

class DllMachine {
public:
    enum class Kind { Missing, Unreadable, NotWindows, X86, X64, Arm64, Other };

    static Kind of(const std::string& path);
    // The kind this program is (what it can load).
    static Kind ours() { return sizeof(void*) == 8 ? Kind::X64 : Kind::X86; }
    // "32-bit x86", "64-bit x64", ...
    static const char* name(Kind kind);
    // Empty when `path` can be loaded as far as its header tells; otherwise what is wrong with it
    // and what to do ("it is a 64-bit (x64) DLL but this host is ...").
    static std::string problem(const std::string& path);
};

} // namespace qv
