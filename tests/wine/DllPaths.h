// Where the cross tree puts the two plug-in DLLs (Windows form of the path).
#pragma once

#include <string>

inline std::string pluginPath(const char* dllName) {
    return std::string(QV_BIN_DIR) + "/" + dllName;
}

inline const char* const kPluginDlls[] = {"Quorvanelle.dll", "Quorvanelle_x87.dll"};
