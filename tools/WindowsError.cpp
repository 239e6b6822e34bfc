#include "tools/WindowsError.h"

#include <windows.h>

#include <cctype>

namespace qv {

std::string windowsErrorText(unsigned long code) {
    char text[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, text, sizeof text, nullptr);
    std::string s(text, n);
    while (!s.empty() &&
           (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.'))
        s.pop_back();
    if (!s.empty()) s[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(s[0])));
    return s.empty() ? "error " + std::to_string(code)
                     : s + " (error " + std::to_string(code) + ")";
}

} // namespace qv
