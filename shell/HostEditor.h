// The minimal host-editor interface: what the effect and the host's editor opcodes see of an
// editor. The toolkit's editor base derives from it; the effect holds a pointer to it.
#pragma once

#include "shell/VstAbi.h"

#include <atomic>

namespace qv {

class AudioEffect;

class HostEditor {
public:
    static constexpr int kRefreshFlagCount = 6;

    explicit HostEditor(AudioEffect* effect) : effect_(effect) {}
    HostEditor(const HostEditor&) = delete;
    HostEditor& operator=(const HostEditor&) = delete;
    virtual ~HostEditor() = default;

    // UI thread. Rectangle query: the base has no rectangle.
    virtual VstIntPtr getRect(ERect** rect) {
        if (rect) *rect = nullptr;
        return 0;
    }
    // UI thread. Opening stores the host's window; the base opens nothing.
    virtual VstIntPtr open(void* window) {
        systemWindow_ = window;
        return 0;
    }
    virtual void close() {}
    // UI thread: serves the refresh flags in order 0..5.
    virtual void idle() { serveRefreshFlags(); }

    // Refresh handler 0 and its request.
    virtual void update() {}
    virtual void postUpdate() { requestRefresh(0); }
    // Refresh handlers and requests 1..5. Requests may come from any thread: they only set a flag.
    virtual void updateOutputStage() {}
    virtual void postUpdateOutputStage() { requestRefresh(1); }
    virtual void updateCrossoverStrip() {}
    virtual void postUpdateCrossoverStrip() { requestRefresh(2); }
    virtual void updateLinkStrip() {}
    virtual void postUpdateLinkStrip() { requestRefresh(3); }
    virtual void updatePanel() {}
    virtual void postUpdatePanel() { requestRefresh(4); }
    virtual void updateMultiControl() {}
    virtual void postUpdateMultiControl() { requestRefresh(5); }

    virtual VstInt32 onKeyDown(VstKeyCode& /*key*/) { return -1; }
    virtual VstInt32 onKeyUp(VstKeyCode& /*key*/) { return -1; }
    virtual VstInt32 setKnobMode(VstInt32 /*mode*/) { return 0; }
    virtual bool onWheel(float /*distance*/) { return false; }

    // Called by the effect after it stored a parameter (any thread the host sets parameters on).
    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}

    AudioEffect* getEffect() const { return effect_; }
    void* getSystemWindow() const { return systemWindow_; }
    bool isRefreshPending(int flag) const {
        return flag >= 0 && flag < kRefreshFlagCount &&
               refreshFlags_[flag].load(std::memory_order_acquire) != 0;
    }

protected:
    void requestRefresh(int k) { refreshFlags_[k].store(1, std::memory_order_release); }
    // For k = 0..5: a set flag is cleared first, then its handler runs.
    void serveRefreshFlags() {
        for (int k = 0; k < kRefreshFlagCount; ++k) {
            // Clear first: a request made while the handler runs is served by the next idle.
            if (refreshFlags_[k].exchange(0, std::memory_order_acq_rel) == 0) continue;
            runRefreshHandler(k);
        }
    }
    void runRefreshHandler(int k) {
        switch (k) {
        case 0:
            update();
            break;
        case 1:
            updateOutputStage();
            break;
        case 2:
            updateCrossoverStrip();
            break;
        case 3:
            updateLinkStrip();
            break;
        case 4:
            updatePanel();
            break;
        case 5:
            updateMultiControl();
            break;
        default:
            break;
        }
    }

    AudioEffect* effect_;          // the owning effect; not owned here
    void* systemWindow_ = nullptr; // host window given to open
    // Deferred redraw requests, 0 or 1: set on any thread, cleared by idle on the UI thread. The
    // release store publishes what the requester wrote before it (a hint, a pending control).
    std::atomic<VstInt32> refreshFlags_[kRefreshFlagCount] = {};
};

} // namespace qv
