// A plug-in library whose entry point refuses to create an instance, as one does when the host
// or the machine does not suit it.
#include "shell/VstAbi.h"

extern "C" qv::AEffect* nullMain(qv::audioMasterCallback) {
    return nullptr;
}
