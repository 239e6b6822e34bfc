// The effect without its editor: identity, the parameter values and their one central change
// path, the program bank, the processing engine and the editor-facing operations the editor
// and the metering call.
#pragma once

#include "dsp/EngineListener.h"
#include "dsp/MultibandEngine.h"
#include "dsp/Relaxed.h"
#include "params/EditorNotification.h"
#include "params/ParameterIndex.h"
#include "params/ProgramBank.h"
#include "shell/AudioEffectX.h"
#include "shell/EditorHint.h"

class MultibandEffectBase : public AudioEffectX, public qv::EngineListener {
public:
    static constexpr VstInt32 kLatencySamples = 838; // crossover 768 + band 31 + limiter 39
    static constexpr VstInt32 kUniqueId = fourCharCode('f', 'w', '3', '0');
    static constexpr VstInt32 kVendorVersion = 1000;
    static constexpr const char* kProductName = "Quorvanelle";
    static constexpr const char* kVendorName = "Ferrowyn";
    static constexpr int kAnalysisLength = 4096;
    // Hints of new meter readings (both views) and of a new analyser copy (page E).
    static constexpr VstInt32 kMeterReadingHint = qv::hint::kMeterReadings;
    static constexpr VstInt32 kAnalyserFrameHint = qv::hint::analyser::kFrame;

    explicit MultibandEffectBase(audioMasterCallback audioMaster);
    ~MultibandEffectBase() override = default;

    // Editor-facing operations.
    void setEditorHint(VstInt32 tag, VstInt32 value) override;
    VstInt32 getEditorHint(VstInt32 tag) override;
    void requestOutputRefresh() override; // audio thread
    void requestPanelRefresh() override;  // audio thread
    void captureAnalysis() override;      // audio thread
    const float* getDisplayBuffer(VstInt32 tag) override;
    const VstInt32* getAnalyserBands() override;
    void setEditorValue(VstInt32 tag, float value) override;
    float getEditorValue(VstInt32 tag) override;

    // The one entry for host, editor and programs (host parameter or UI thread).
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void getParameterName(VstInt32 index, char* text) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;

    void setProgram(VstInt32 program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;

    void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

    void setSampleRate(float rate) override;
    void suspend() override;
    void resume() override;

    VstInt32 getPlugCategory() override { return kPlugCategEffect; }
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override { return kVendorVersion; }
    // Answers the band meter query of BandMeterReport.h; 0 for anything else.
    VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

    // True when construction could not complete (the entry point then returns null).
    virtual bool constructionFailed() const { return false; }

    const qv::MultibandEngine& getEngine() const { return engine; }
    qv::MultibandEngine& getEngine() { return engine; }

private:
    class ProgramChange;

    // How setParameter stores a value of a family beyond values[]: into the live program or
    // not, and which processing setter derives its coefficients (null: only kept).
    struct FamilySetter {
        qv::ParameterFamily family;
        bool inProgram;
        void (*apply)(MultibandEffectBase& effect, int index, float value);
    };
    // The setter of every family but the crossovers and the Rel mirrors, which have paths of
    // their own; a do-nothing one for None.
    static const FamilySetter& familySetter(qv::ParameterFamily family);
    // Crossover between bands k and k+1 (k = 1..4): keeps the four in descending order by
    // pushing its neighbours (the pushes cascade), then stores and designs.
    void setCrossover(int k, float x);
    // Ends every RelMode/Rel_m/Rel_a change: the band's Rel mirror takes the active release.
    void refreshReleaseMirror(int band);
    // The band's active release: Rel_m while its RelMode is above 0.5, otherwise Rel_a.
    int activeReleaseIndex(int band) const;
    // The end of every change: the editor's hints and refresh flags, then its setParameter.
    void announceChange(VstInt32 index, float value);
    void notifyEditor(VstInt32 index);
    // suspend and resume: the engine's full reset and empty analyser copies.
    void fullReset();
    int panelPage() const;

    qv::ProgramBank bank; // the 20 programs, live one at curProgram
    // Current normalised values 0..92: set on the host's automation thread, read on its audio
    // thread (analyser capture) and UI thread.
    qv::Relaxed<float> values[qv::kNumStoredParameters];
    float editorScratch = 0.0f;                  // editor scratch value (tag 107)
    EditorHint outputHint;                       // what changed for the output stage view
    EditorHint panelHint;                        // what changed for the settings panel
    float heldAnalysis[2][kAnalysisLength] = {}; // last capture handed to the editor
    qv::MultibandEngine engine;                  // all processing state
};
