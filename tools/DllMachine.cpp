#include "tools/DllMachine.h"

#include <cstdint>
#include <cstdio>

namespace qv {

namespace {
constexpr long kPeOffsetField = 0x3C; // where the DOS header keeps the PE header's offset
constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kMachineArm64 = 0xAA64;
constexpr long kMaxPeOffset = 1 << 24; // beyond this the header is taken for garbage

bool readAt(std::FILE* f, long offset, unsigned char* into, std::size_t n) {
    return std::fseek(f, offset, SEEK_SET) == 0 && std::fread(into, 1, n, f) == n;
}
} // namespace

DllMachine::Kind DllMachine::of(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return Kind::Missing;
    Kind kind = Kind::NotWindows;
    unsigned char b[6];
    if (!readAt(f, 0, b, 2)) {
        kind = Kind::Unreadable;
    } else if (b[0] == 'M' && b[1] == 'Z' && readAt(f, kPeOffsetField, b, 4)) {
        const long pe =
            static_cast<long>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<unsigned>(b[3]) << 24);
        if (pe > 0 && pe < kMaxPeOffset && readAt(f, pe, b, 6) && b[0] == 'P' && b[1] == 'E' &&
            b[2] == 0 && b[3] == 0) {
            const std::uint16_t machine = static_cast<std::uint16_t>(b[4] | b[5] << 8);
            kind = machine == kMachineI386    ? Kind::X86
                   : machine == kMachineAmd64 ? Kind::X64
                   : machine == kMachineArm64 ? Kind::Arm64
                                              : Kind::Other;
        }
    }
    std::fclose(f);
    return kind;
}

const char* DllMachine::name(Kind kind) {
    switch (kind) {
    case Kind::X86:
        return "32-bit (x86)";
    case Kind::X64:
        return "64-bit (x64)";
    case Kind::Arm64:
        return "64-bit ARM";
    default:
        return "unknown";
    }
}

std::string DllMachine::problem(const std::string& path) {
    const Kind kind = of(path);
    switch (kind) {
    case Kind::Missing:
        return "there is no such file (or it cannot be opened): check the path of the plug-in DLL";
    case Kind::Unreadable:
        return "the file cannot be read: check it";
    case Kind::NotWindows:
        return "it is not a Windows DLL (no PE header): give the plug-in's .dll file";
    case Kind::Other:
        return std::string("it is a DLL for another processor: use the plug-in's ") + name(ours()) +
               " build";
    default:
        break;
    }
    if (kind == ours()) return "";
    return std::string("it is a ") + name(kind) + " DLL but this host is " + name(ours()) +
           ": use the plug-in's " + name(ours()) + " build, or a " + name(kind) + " host";
}

} // namespace qv
