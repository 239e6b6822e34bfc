// The library's only export. A host calls it once per instance with its callback; the .def file
// publishes it under the name "main", which C++ reserves for programs, and in the 64-bit DLL also
// under "VSTPluginMain", the name 64-bit hosts look up first.
#include "shell/MultibandEffect.h"
#include "shell/PluginInstance.h"

extern "C" qv::AEffect* quorvanelleMain(qv::audioMasterCallback audioMaster) {
    return qv::instantiatePlugin(audioMaster, &qv::MultibandEffect::create);
}
