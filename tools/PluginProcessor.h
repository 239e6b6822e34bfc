// Feeds stereo audio to a plug-in with whatever channel counts it declares and collects a stereo
// result: a mono plug-in gets the mid signal and its output goes to both sides, extra inputs get
// silence, extra outputs are ignored. Uses processReplacing where the plug-in offers it, else the
// accumulating process on cleared buffers.
#pragma once

#include "shell/VstAbi.h"
#include "tools/ChannelBuffers.h"

#include <string>

namespace qv {

class PluginProcessor {
public:
    // Sizes the channel buffers for blocks of up to `maxBlock` frames. Fails (with `error`) for
    // a plug-in without outputs or with an absurd channel count. UI thread, before processing.
    bool prepare(AEffect* effect, int maxBlock, std::string& error);

    // One block of up to maxBlock frames; the caller's thread becomes the plug-in's audio thread.
    void process(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                 int frames);

private:
    AEffect* plugin_ = nullptr; // the prepared plug-in
    int capacity_ = 0;          // frames per channel buffer
    ChannelBuffers buffers_;    // the plug-in's channels
};

} // namespace qv
