#include "shell/PluginInstance.h"

namespace qv {

AEffect* instantiatePlugin(audioMasterCallback audioMaster, EffectFactory create) {
    if (!audioMaster || !create) return nullptr;
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    MultibandEffectBase* effect = nullptr;
    try {
        effect = create(audioMaster);
    } catch (...) {
        return nullptr; // the constructor destroyed what it had built
    }
    if (!effect) return nullptr;
    if (effect->constructionFailed()) {
        delete effect;
        return nullptr;
    }
    return effect->getAeffect();
}

} // namespace qv
