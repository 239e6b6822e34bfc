#include "shell/MultibandEffectBase.h"

#include <cmath>
#include <cstring>

namespace {

// Bounded copy of an identity string into a host buffer (the host's buffers hold at least 32).
bool copyIdentity(char* text, const char* source) {
    if (!text) return false;
    constexpr std::size_t kMaxIdentityChars = 31;
    std::size_t n = std::strlen(source);
    if (n > kMaxIdentityChars) n = kMaxIdentityChars;
    std::memcpy(text, source, n);
    text[n] = 0;
    return true;
}

// Upper bounds of panel pages 0..5 in single precision (page k: k/7 <= x < (k+1)/7).
constexpr float kPageBounds[6] = {0.142857f, 0.285714f, 0.428571f,
                                  0.571428f, 0.714285f, 0.857142f};

constexpr VstInt32 kEditorStateFirst = 87;
constexpr float kEditorStateDefaults[6] = {0.2f, 1.0f, 0.21f, 1.0f, 1.0f, 0.0f};

bool isBandValueTag(VstInt32 tag) { return (tag >= 4 && tag <= 43) || (tag >= 59 && tag <= 63); }

} // namespace

MultibandEffectBase::MultibandEffectBase(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kNumPrograms, kNumHostParams) {
    for (int i = 0; i < 6; ++i) values[kEditorStateFirst + i] = kEditorStateDefaults[i];
    setInitialDelay(kLatencySamples);
    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(kUniqueId);
    canMono(true);
    canProcessReplacing(true);
}

int MultibandEffectBase::panelPage() const {
    const float x = values[kEditorStateFirst];
    int page = 0;
    while (page < 6 && x >= kPageBounds[page]) ++page;
    return page;
}

void MultibandEffectBase::setEditorHint(VstInt32 tag, VstInt32 value) {
    if (tag == kTagOutputHint)
        outputHint = value;
    else if (tag == kTagPanelHint)
        panelHint = value;
}

VstInt32 MultibandEffectBase::getEditorHint(VstInt32 tag) {
    if (tag == kTagOutputHint) return outputHint;
    if (tag == kTagPanelHint) return panelHint;
    return 0;
}

void MultibandEffectBase::requestOutputRefresh() {
    if (outputHint != 0) return;
    outputHint = 1;
    if (editor) editor->postUpdateOutputStage();
}

void MultibandEffectBase::requestPanelRefresh() {
    if (panelHint != 0 || panelPage() > 1) return;
    panelHint = 1;
    if (editor) editor->postUpdatePanel();
}

void MultibandEffectBase::captureAnalysis() {
    const float page = values[kEditorStateFirst];
    if (panelHint != 0 || !(values[91] > 0.5f) || !(page > 0.571428f && page < 0.714285f)) return;
    std::memcpy(heldAnalysis, liveAnalysis, sizeof(heldAnalysis));
    panelHint = 1;
    if (editor) editor->postUpdatePanel();
}

const float* MultibandEffectBase::getDisplayBuffer(VstInt32 tag) {
    if (tag == kTagDisplayBufferL) return heldAnalysis[0];
    if (tag == kTagDisplayBufferR) return heldAnalysis[1];
    return nullptr;
}

const VstInt32* MultibandEffectBase::getAnalyserBands() { return analyserBands; }

void MultibandEffectBase::setEditorValue(VstInt32 tag, float value) {
    if (isBandValueTag(tag))
        setParameter(tag, value);
    else if (tag == kTagScratch)
        editorScratch = value;
}

float MultibandEffectBase::getEditorValue(VstInt32 tag) {
    if (isBandValueTag(tag)) return getParameter(tag);
    if (tag >= 93 && tag <= 97) return bandLevel[tag - 93];
    if (tag == 98 || tag == 99) return outPeak[tag - 98];
    if (tag >= 100 && tag <= 104) return bandGain[tag - 100];
    if (tag == 105 || tag == 106) return outRms[tag - 105];
    if (tag == kTagScratch) return editorScratch;
    return 0.0f;
}

void MultibandEffectBase::setParameter(VstInt32 index, float value) {
    if (index < 0 || index >= kNumStoredParams) return;
    // A non-finite value would leave NaN or infinite coefficients behind: keep the previous one.
    if (!std::isfinite(value)) return;
    values[index] = value;
    if (index == kEditorStateFirst) editorScratch = 0.0f;
    if (editor) editor->setParameter(index, value);
}

float MultibandEffectBase::getParameter(VstInt32 index) {
    if (index < 0 || index >= kNumStoredParams) return 0.0f;
    return values[index];
}

template <bool Accumulate>
void MultibandEffectBase::processBlock(float** inputs, float** outputs, VstInt32 sampleFrames) {
    if (sampleFrames <= 0 || !inputs || !outputs) return;
    for (int ch = 0; ch < 2; ++ch)
        if (!inputs[ch] || !outputs[ch]) return;
    constexpr int kRingLength = kLatencySamples + 1;
    for (VstInt32 i = 0; i < sampleFrames; ++i) {
        const int readPos = latencyPos + 1 == kRingLength ? 0 : latencyPos + 1;
        for (int ch = 0; ch < 2; ++ch) {
            float x = inputs[ch][i];
            if (!std::isfinite(x)) x = 0.0f;
            latencyRing[ch][latencyPos] = x;
            const float y = latencyRing[ch][readPos];
            if (Accumulate)
                outputs[ch][i] += y;
            else
                outputs[ch][i] = y;
        }
        latencyPos = readPos;
    }
}

void MultibandEffectBase::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
    processBlock<true>(inputs, outputs, sampleFrames);
}

void MultibandEffectBase::processReplacing(float** inputs, float** outputs,
                                           VstInt32 sampleFrames) {
    processBlock<false>(inputs, outputs, sampleFrames);
}

void MultibandEffectBase::setSampleRate(float rate) {
    // A rate that is not finite or not above 0 changes nothing.
    if (!std::isfinite(rate) || !(rate > 0.0f)) return;
    AudioEffectX::setSampleRate(rate);
}

void MultibandEffectBase::fullReset() {
    std::memset(latencyRing, 0, sizeof(latencyRing));
    latencyPos = 0;
}

void MultibandEffectBase::suspend() { fullReset(); }
void MultibandEffectBase::resume() { fullReset(); }

bool MultibandEffectBase::getProgramNameIndexed(VstInt32, VstInt32, char*) { return false; }

bool MultibandEffectBase::getEffectName(char* name) { return copyIdentity(name, kProductName); }
bool MultibandEffectBase::getVendorString(char* text) { return copyIdentity(text, kVendorName); }
bool MultibandEffectBase::getProductString(char* text) { return copyIdentity(text, kProductName); }
