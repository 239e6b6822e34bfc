// The plug-in's editor. For now the least editor a host can ask about: a fixed 785 x 570
// rectangle and no window of its own yet.
#pragma once

#include "shell/HostEditor.h"

class MultibandEditor : public HostEditor {
public:
    static constexpr short kWidth = 785;
    static constexpr short kHeight = 570;

    explicit MultibandEditor(AudioEffect* effect);

    VstIntPtr getRect(ERect** rect) override;

private:
    ERect rect{0, 0, kHeight, kWidth}; // top, left, bottom, right
};
