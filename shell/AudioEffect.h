// VST 2 effect base: owns the AEffect record handed to the host, routes the record's entry points
// to virtual operations, and offers the host-callback helpers the plug-in uses.
#pragma once

#include "dsp/Relaxed.h"
#include "shell/HostEditor.h"
#include "shell/VstAbi.h"

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;
    // Destroys the editor, if there is one.
    virtual ~AudioEffect();

    // Editor-facing operations (UI thread unless noted); the base does nothing or answers zero.
    virtual void setEditorHint(VstInt32 tag, VstInt32 value);
    virtual VstInt32 getEditorHint(VstInt32 tag);
    virtual void requestOutputRefresh(); // audio thread
    virtual void requestPanelRefresh();  // audio thread
    virtual void captureAnalysis();      // audio thread
    virtual const float* getDisplayBuffer(VstInt32 tag);
    virtual const VstInt32* getAnalyserBands();
    virtual void setEditorValue(VstInt32 tag, float value);
    virtual float getEditorValue(VstInt32 tag);

    virtual void setParameter(VstInt32 index, float value);
    virtual float getParameter(VstInt32 index);
    // setParameter, then tells the host (audioMasterAutomate) so it can record the change.
    virtual void setParameterAutomated(VstInt32 index, float value);

    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt);
    virtual void open() {}
    virtual void close() {}

    virtual void process(float** inputs, float** outputs, VstInt32 sampleFrames);
    virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames);

    virtual void setProgram(VstInt32 program) { curProgram = program; }
    virtual VstInt32 getProgram() { return curProgram; }
    virtual void setProgramName(char* /*name*/) {}
    virtual void getProgramName(char* name);
    virtual void getParameterLabel(VstInt32 index, char* label);
    virtual void getParameterDisplay(VstInt32 index, char* text);
    virtual void getParameterName(VstInt32 index, char* text);
    virtual float getVu() { return 0.0f; }
    virtual void setSampleRate(float rate) { sampleRate = rate; }
    virtual void setBlockSize(VstInt32 size) { blockSize = size; }
    virtual void suspend() {}
    virtual void resume() {}

    // Host-callback helpers.
    virtual VstInt32 getMasterVersion();
    virtual void masterIdle();
    virtual bool beginEdit(VstInt32 index);
    virtual bool endEdit(VstInt32 index);

    AEffect* getAeffect() { return &cEffect; }
    HostEditor* getEditor() const { return editor; }
    // Called by an editor's constructor: registers it and announces that the effect has one.
    void setEditor(HostEditor* newEditor);
    float getSampleRate() const { return sampleRate; }
    VstInt32 getBlockSize() const { return blockSize; }
    audioMasterCallback getAudioMaster() const { return audioMaster; }

    void setUniqueID(VstInt32 id) { cEffect.uniqueID = id; }
    void setNumInputs(VstInt32 inputs) { cEffect.numInputs = inputs; }
    void setNumOutputs(VstInt32 outputs) { cEffect.numOutputs = outputs; }
    void setInitialDelay(VstInt32 delay) { cEffect.initialDelay = delay; }
    void canProcessReplacing(bool state);
    void canMono(bool state);

    // The record's entry points (host thread of each call).
    static VstIntPtr QV_CDECL dispatchEntry(AEffect* e, VstInt32 opcode, VstInt32 index,
                                            VstIntPtr value, void* ptr, float opt);
    static void QV_CDECL processEntry(AEffect* e, float** inputs, float** outputs,
                                      VstInt32 sampleFrames);
    static void QV_CDECL processReplacingEntry(AEffect* e, float** inputs, float** outputs,
                                               VstInt32 sampleFrames);
    static void QV_CDECL setParameterEntry(AEffect* e, VstInt32 index, float value);
    static float QV_CDECL getParameterEntry(AEffect* e, VstInt32 index);

protected:
    void setFlag(VstInt32 flag, bool state);

    float sampleRate = 44100.0f;          // host sample rate in Hz
    HostEditor* editor = nullptr;         // owned editor, set by the editor's constructor
    audioMasterCallback audioMaster;      // host callback given to the entry point
    VstInt32 numPrograms;                 // program slots
    VstInt32 numParams;                   // host-visible parameters
    qv::Relaxed<VstInt32> curProgram = 0; // current program (automation and UI threads)
    VstInt32 blockSize = 1024;            // host block size in sample frames
    AEffect cEffect;                      // the record handed to the host
};
