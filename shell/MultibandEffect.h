// The plug-in instance: the effect with its editor.
#pragma once

#include "shell/MultibandEffectBase.h"

namespace qv {

class MultibandEffect : public MultibandEffectBase {
public:
    explicit MultibandEffect(audioMasterCallback audioMaster);

    bool constructionFailed() const override { return editor_ == nullptr; }

    // Allocates one instance; null when memory is short. Any thread.
    static MultibandEffectBase* create(audioMasterCallback audioMaster);
};

} // namespace qv
