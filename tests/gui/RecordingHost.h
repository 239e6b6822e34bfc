// A host callback that records what the plug-in side asks for (opcode, index, value), for tests
// that run effect and editor in the test program itself.
#pragma once

#include "shell/VstAbi.h"

#include <vector>

namespace qv {

struct HostEvent {
    VstInt32 opcode;
    VstInt32 index;
    float opt;
};

inline std::vector<HostEvent>& hostEvents() {
    static std::vector<HostEvent> events;
    return events;
}

inline VstIntPtr QV_CDECL recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*,
                                        float opt) {
    if (opcode == audioMasterVersion) return 2300;
    hostEvents().push_back({opcode, index, opt});
    return 0;
}

// The opcodes recorded so far, in order.
inline std::vector<VstInt32> hostOpcodes() {
    std::vector<VstInt32> opcodes;
    for (const HostEvent& e : hostEvents())
        opcodes.push_back(e.opcode);
    return opcodes;
}

} // namespace qv
