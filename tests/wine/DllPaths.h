// Where the cross tree puts the plug-in DLLs (Windows form of the path), and which DLLs a test
// program of this width can load: both 32-bit DLLs, or the one 64-bit DLL.
#pragma once

#include <string>

namespace qv {

inline std::string pluginPath(const char* dllName) {
    return std::string(QV_BIN_DIR) + "/" + dllName;
}

#ifdef _WIN64
inline const char* const kPluginDlls[] = {"Quorvanelle.dll"};
#else
inline const char* const kPluginDlls[] = {"Quorvanelle.dll", "Quorvanelle_x87.dll"};
#endif

} // namespace qv
