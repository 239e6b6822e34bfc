#include "shell/MultibandEffect.h"

#include "editor/MultibandEditor.h"

#include <new>

namespace qv {

MultibandEffect::MultibandEffect(audioMasterCallback audioMaster)
    : MultibandEffectBase(audioMaster) {
    setUniqueID(kUniqueId);
    // The editor's constructor registers it with this effect and sets the has-editor flag; if it
    // cannot be allocated the editor stays null and the entry point discards the instance.
    new (std::nothrow) MultibandEditor(this);
}

MultibandEffectBase* MultibandEffect::create(audioMasterCallback audioMaster) {
    return new (std::nothrow) MultibandEffect(audioMaster);
}

} // namespace qv
