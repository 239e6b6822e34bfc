// The effect without its editor: identity, parameter values, the program bank, the processing
// state and the editor-facing operations the editor and the metering call.
#pragma once

#include "shell/AudioEffectX.h"

#include <cstddef>

class MultibandEffectBase : public AudioEffectX {
public:
    static constexpr VstInt32 kNumPrograms = 20;
    static constexpr VstInt32 kNumHostParams = 86;      // announced to the host (0..85)
    static constexpr VstInt32 kNumStoredParams = 93;    // 0..92, 87..92 are editor state
    static constexpr VstInt32 kLatencySamples = 838;    // crossover 768 + band 31 + limiter 39
    static constexpr VstInt32 kUniqueId = fourCharCode('f', 'w', '3', '0');
    static constexpr VstInt32 kVendorVersion = 1000;
    static constexpr const char* kProductName = "Quorvanelle";
    static constexpr const char* kVendorName = "Ferrowyn";

    // Editor interface tags.
    static constexpr VstInt32 kTagOutputHint = 110;
    static constexpr VstInt32 kTagPanelHint = 111;
    static constexpr VstInt32 kTagScratch = 107;
    static constexpr VstInt32 kTagDisplayBufferL = 108;
    static constexpr VstInt32 kTagDisplayBufferR = 109;
    static constexpr int kAnalysisLength = 4096;
    static constexpr int kAnalyserBandCount = 88;

    explicit MultibandEffectBase(audioMasterCallback audioMaster);
    ~MultibandEffectBase() override = default;

    // Editor-facing operations.
    void setEditorHint(VstInt32 tag, VstInt32 value) override;
    VstInt32 getEditorHint(VstInt32 tag) override;
    void requestOutputRefresh() override;
    void requestPanelRefresh() override;
    void captureAnalysis() override;
    const float* getDisplayBuffer(VstInt32 tag) override;
    const VstInt32* getAnalyserBands() override;
    void setEditorValue(VstInt32 tag, float value) override;
    float getEditorValue(VstInt32 tag) override;

    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;

    void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

    void setSampleRate(float rate) override;
    void suspend() override;
    void resume() override;

    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
    VstInt32 getPlugCategory() override { return kPlugCategEffect; }
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override { return kVendorVersion; }

    // True when construction could not complete (the entry point then returns null).
    virtual bool constructionFailed() const { return false; }

protected:
    // The page of the seven-page panel that parameter 87 selects (0..6).
    int panelPage() const;
    void fullReset();
    template <bool Accumulate>
    void processBlock(float** inputs, float** outputs, VstInt32 sampleFrames);

    float values[kNumStoredParams] = {};          // current normalised values 0..92
    float editorScratch = 0.0f;                   // editor scratch value (tag 107)
    volatile VstInt32 outputHint = 0;             // what changed for the output stage view
    volatile VstInt32 panelHint = 0;              // what changed for the settings panel
    VstInt32 analyserBands[kAnalyserBandCount] = {};  // FFT bin of each analyser band
    float liveAnalysis[2][kAnalysisLength] = {};  // output capture being filled (audio thread)
    float heldAnalysis[2][kAnalysisLength] = {};  // last capture handed to the editor
    float bandLevel[5] = {};                      // published band levels (amplitude x 0.1)
    float bandGain[5] = {0.1f, 0.1f, 0.1f, 0.1f, 0.1f};  // published band gains (x 0.1)
    float outPeak[2] = {};                        // published output peaks L, R (x 0.1)
    float outRms[2] = {};                         // published output RMS L, R (x 0.1)

    // Until the engine lands: the input delayed by the full latency (the monitor path).
    float latencyRing[2][kLatencySamples + 1] = {};  // raw input, one ring per channel
    int latencyPos = 0;                              // write position in latencyRing
};
