// One redraw hint handed from the effect to one editor view: which element of the view changed
// (0: the whole view). Parameter changes store it on any thread, the metering on the audio
// thread, and the view reads it when it draws on the UI thread and then resets it to 0.
//
// A change's hint is stored with an undrawn mark until the view has drawn: a second change of
// another element before then asks for the whole view (the view draws one element per hint), and
// the metering hands over new readings only into a hint that is plain 0, so it never replaces a
// change that still waits to be drawn. One atomic word holds both, so each step is one store or
// one compare-and-swap; the release stores publish what was written before them (the analyser
// copy) to the view's acquire load.
#pragma once

#include "params/EditorNotification.h"
#include "shell/VstAbi.h"

#include <atomic>

namespace qv {

class EditorHint {
public:
    // The hint as the view reads it (any thread).
    VstInt32 get() const { return word_.load(std::memory_order_acquire) & ~kUndrawn; }
    // The view has drawn, or the editor opens or closes: the plain value, nothing undrawn.
    void set(VstInt32 value) { word_.store(value & ~kUndrawn, std::memory_order_release); }
    // A parameter change asks for `element` (0: the whole view). Any thread.
    void request(VstInt32 element) {
        const VstInt32 old = word_.load(std::memory_order_acquire);
        const VstInt32 merged = mergeHint(old & ~kUndrawn, (old & kUndrawn) != 0, element);
        word_.store(merged | kUndrawn, std::memory_order_release);
    }
    // The metering offers new readings under `readingHint`: taken only when the view has drawn
    // everything asked of it (the stored word is plain 0). True when taken. Audio thread.
    bool handOver(VstInt32 readingHint) {
        VstInt32 drawn = 0;
        return word_.compare_exchange_strong(drawn, readingHint, std::memory_order_acq_rel);
    }
    // True when the view has drawn everything asked of it and holds no readings.
    bool isDrawn() const { return word_.load(std::memory_order_acquire) == 0; }

private:
    static constexpr VstInt32 kUndrawn = 1 << 30; // a change's hint the view has not drawn yet
    std::atomic<VstInt32> word_{0};               // the hint, with the undrawn mark
};

} // namespace qv
