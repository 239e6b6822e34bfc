// Instantiation of one plug-in instance for the exported entry point.
#pragma once

#include "shell/MultibandEffectBase.h"

namespace qv {

// Builds one effect object; returns null when the allocation fails. Any thread.
using EffectFactory = MultibandEffectBase* (*)(audioMasterCallback audioMaster);

// The entry point's work: asks the host's version (0 aborts before anything is allocated), builds
// the effect through the factory and hands back its AEffect record, or null on any failure.
// No exception leaves this function: a host must never see one.
AEffect* instantiatePlugin(audioMasterCallback audioMaster, EffectFactory create);

} // namespace qv
