#pragma once

namespace qv {

// What the engine tells the effect about fresh readings. Implemented by the effect; every call
// comes from the audio thread and must only raise flags (the effect applies its own hint test).
class EngineListener {
public:
    // New band readings were published.
    virtual void requestPanelRefresh() = 0;
    // New output readings were published.
    virtual void requestOutputRefresh() = 0;
    // A full analyser capture is ready: the effect copies liveAnalysis(0) and (1) to the
    // buffers its editor reads, if the editor has taken the previous ones.
    virtual void captureAnalysis() = 0;

protected:
    ~EngineListener() = default;
};

} // namespace qv
