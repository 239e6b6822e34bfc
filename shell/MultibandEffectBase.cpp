#include "shell/MultibandEffectBase.h"

#include "params/EditorNotification.h"
#include "params/ParameterCatalogue.h"
#include "params/ParameterDisplay.h"
#include "params/ParameterMapping.h"
#include "params/ProgramChangeSequence.h"

#include <cmath>
#include <cstring>

using qv::ParameterFamily;
namespace param = qv::param;

namespace {

// Bounded copy of an identity string into a host buffer (hosts pass at least 32 bytes).
bool copyIdentity(char* text, const char* source) {
    if (!text) return false;
    constexpr std::size_t kMaxIdentityChars = 31;
    std::size_t n = std::strlen(source);
    if (n > kMaxIdentityChars) n = kMaxIdentityChars;
    std::memcpy(text, source, n);
    text[n] = 0;
    return true;
}

constexpr float kEditorStateDefaults[6] = {0.2f, 1.0f, 0.21f, 1.0f, 1.0f, 0.0f}; // 87..92

} // namespace

// Drives a program change through the effect's own setParameter.
class MultibandEffectBase::ProgramChange final : public qv::ProgramChangeTarget {
public:
    explicit ProgramChange(MultibandEffectBase& effect) : effect(effect) {}
    void presetCrossovers(const float (&crossovers)[qv::kNumCrossovers]) override {
        for (int i = 0; i < qv::kNumCrossovers; ++i) effect.values[param::freqIndex(i + 1)] =
            crossovers[i];
    }
    void presetRelease(int band, float relM, float relA) override {
        effect.values[param::relMIndex(band)] = relM;
        effect.values[param::relAIndex(band)] = relA;
    }
    void applyParameter(int index, float value) override { effect.setParameter(index, value); }
    float currentValue(int index) const override { return effect.values[index]; }

private:
    MultibandEffectBase& effect;
};

MultibandEffectBase::MultibandEffectBase(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, qv::kNumPrograms, qv::kNumHostParameters), engine(this) {
    for (int i = 0; i < 6; ++i) values[param::kPanelPage + i] = kEditorStateDefaults[i];
    engine.setPanelPage(values[param::kPanelPage]);
    engine.setSelectedChannel(values[param::kSelectedChannel]);
    engine.setBandView(values[param::kBandView]);
    engine.setAnalyserPower(values[param::kAnalyserPower]);
    setInitialDelay(kLatencySamples);
    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(kUniqueId);
    canMono(true);
    canProcessReplacing(true);
    bank.fillFactoryBank();
    setProgram(0); // no editor exists yet, so nothing is notified
}

// --- parameters -------------------------------------------------------------------------------

void MultibandEffectBase::setParameter(VstInt32 index, float value) {
    if (index < 0 || index >= qv::kNumStoredParameters) return;
    // A non-finite value would leave NaN or infinite coefficients behind: it is ignored and the
    // previous value kept. Finite values outside 0..1 are mapped like any other.
    if (!std::isfinite(value)) return;

    switch (qv::familyOf(index)) {
    case ParameterFamily::Freq: setCrossover(qv::pairOf(index), value); break;
    case ParameterFamily::Rel: values[index] = activeRelease(qv::bandOf(index)); break;
    case ParameterFamily::MeterSw:
        values[index] = value;
        bank.storeValue(curProgram, index, value);
        engine.setMeterSwitch(value);
        break;
    case ParameterFamily::Monitor:
        values[index] = value;
        bank.storeValue(curProgram, index, value);
        engine.setMonitor(value);
        break;
    case ParameterFamily::ReductionSw: // kept for the editor; no effect on processing
        values[index] = value;
        bank.storeValue(curProgram, index, value);
        break;
    case ParameterFamily::PanelPage:
        values[index] = value;
        editorScratch = 0.0f;
        engine.setPanelPage(value);
        break;
    case ParameterFamily::SelectedChannel:
        values[index] = value;
        engine.setSelectedChannel(value);
        break;
    case ParameterFamily::BandView:
        values[index] = value;
        engine.setBandView(value);
        break;
    case ParameterFamily::AnalyserPower:
        values[index] = value;
        engine.setAnalyserPower(value);
        break;
    case ParameterFamily::MatrixItem:
    case ParameterFamily::AnalyserCurveMode: values[index] = value; break;
    case ParameterFamily::None: return;
    default:
        bank.storeValue(curProgram, index, value);
        applyFamilySetter(index, value);
        break;
    }
    notifyEditor(index);
    if (editor) editor->setParameter(index, value);
}

void MultibandEffectBase::applyFamilySetter(int index, float x) {
    values[index] = x;
    const int band = qv::bandOf(index);
    switch (qv::familyOf(index)) {
    case ParameterFamily::InLevel: engine.compressor(band).setInputLevel(x); break;
    case ParameterFamily::OutLevel: engine.compressor(band).setOutputLevel(x); break;
    case ParameterFamily::Thresh: engine.compressor(band).setThreshold(x); break;
    case ParameterFamily::Ratio: engine.compressor(band).setRatio(x); break;
    case ParameterFamily::AtkCurve: engine.compressor(band).setAttackCurve(x); break;
    case ParameterFamily::Atk: engine.compressor(band).setAttack(x); break;
    case ParameterFamily::RelMode:
        engine.compressor(band).setReleaseMode(x);
        refreshReleaseMirror(band);
        break;
    case ParameterFamily::RelM:
        engine.compressor(band).setManualRelease(x);
        refreshReleaseMirror(band);
        break;
    case ParameterFamily::RelA:
        engine.compressor(band).setAutoRelease(x);
        refreshReleaseMirror(band);
        break;
    case ParameterFamily::AutoRelType: engine.compressor(band).setAutoReleaseType(x); break;
    case ParameterFamily::PwSw: engine.compressor(band).setBandSwitch(x); break;
    case ParameterFamily::CompSw: engine.compressor(band).setCompSwitch(x); break;
    case ParameterFamily::LtLimSw: engine.limiter().setLimiterSwitch(x); break;
    case ParameterFamily::MasterOut: engine.setMasterOut(x); break;
    case ParameterFamily::RedLink: engine.linker().setLink(qv::pairOf(index), x); break;
    case ParameterFamily::LtCeiling: engine.limiter().setCeiling(x); break;
    case ParameterFamily::LtRelSw: engine.limiter().setReleaseSwitch(x); break;
    case ParameterFamily::LtRelM: engine.limiter().setManualRelease(x); break;
    case ParameterFamily::LtRelA: engine.limiter().setAutoRelease(x); break;
    case ParameterFamily::LtClip: engine.limiter().setClipShape(x); break;
    case ParameterFamily::FilterType:
        engine.crossover(0).setFilterType(x);
        engine.crossover(1).setFilterType(x);
        break;
    case ParameterFamily::Qcurve:
        engine.crossover(0).setSlope(x);
        engine.crossover(1).setSlope(x);
        break;
    case ParameterFamily::DryOut: engine.setDryOut(x); break;
    case ParameterFamily::WetOut: engine.setWetOut(x); break;
    default: break;
    }
}

void MultibandEffectBase::setCrossover(int k, float x) {
    const int index = param::freqIndex(k);
    if (k == 1) {
        if (x < values[index + 1]) setCrossover(2, x);
    } else if (k < qv::kNumCrossovers) {
        if (x < values[index + 1])
            setCrossover(k + 1, x);
        else if (x > values[index - 1])
            setCrossover(k - 1, x);
    } else if (x > values[index - 1]) {
        setCrossover(k - 1, x);
    }
    values[index] = x;
    const float hundredsOfHz = qv::crossoverHundredsHz(x);
    engine.crossover(0).setCrossover(k, hundredsOfHz);
    engine.crossover(1).setCrossover(k, hundredsOfHz);
    bank.storeValue(curProgram, index, x);
}

float MultibandEffectBase::activeRelease(int band) const {
    return values[param::relModeIndex(band)] > 0.5f ? values[param::relMIndex(band)]
                                                     : values[param::relAIndex(band)];
}

void MultibandEffectBase::refreshReleaseMirror(int band) {
    setParameter(param::relIndex(band), activeRelease(band));
}

void MultibandEffectBase::notifyEditor(VstInt32 index) {
    if (!editor) return;
    const qv::EditorNotification n = qv::editorNotificationFor(index, panelPage());
    switch (n.refresh) {
    case qv::EditorRefresh::CrossoverStrip: editor->postUpdateCrossoverStrip(); break;
    case qv::EditorRefresh::LinkStrip: editor->postUpdateLinkStrip(); break;
    case qv::EditorRefresh::OutputStage:
        outputHint.request(n.hint);
        editor->postUpdateOutputStage();
        break;
    case qv::EditorRefresh::Panel:
        panelHint.request(n.hint);
        editor->postUpdatePanel();
        break;
    case qv::EditorRefresh::None: break;
    }
}

int MultibandEffectBase::panelPage() const { return qv::panelPageOf(values[param::kPanelPage]); }

float MultibandEffectBase::getParameter(VstInt32 index) {
    if (index < 0 || index >= qv::kNumStoredParameters) return 0.0f;
    return values[index];
}

void MultibandEffectBase::getParameterName(VstInt32 index, char* text) {
    qv::copyParameterName(index, text);
}

void MultibandEffectBase::getParameterLabel(VstInt32 index, char* label) {
    qv::copyParameterLabel(index, label);
}

void MultibandEffectBase::getParameterDisplay(VstInt32 index, char* text) {
    qv::formatParameterDisplay(index, values, text);
}

// --- programs ---------------------------------------------------------------------------------

void MultibandEffectBase::setProgram(VstInt32 program) {
    const qv::FactoryProgram* record = bank.program(program);
    if (!record) return;
    curProgram = program;
    outputHint.set(0);
    panelHint.set(0);
    ProgramChange change(*this);
    qv::runProgramChange(*record, change);
    editorScratch = 0.0f;
    // Everything changed: both views draw whole.
    outputHint.request(0);
    if (editor) editor->postUpdateOutputStage();
    panelHint.request(0);
    if (editor) editor->postUpdatePanel();
}

void MultibandEffectBase::setProgramName(char* name) { bank.setProgramName(curProgram, name); }

void MultibandEffectBase::getProgramName(char* name) {
    bank.copyProgramNameIndexed(curProgram, name);
}

bool MultibandEffectBase::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
    return bank.copyProgramNameIndexed(index, text);
}

// --- editor-facing operations -----------------------------------------------------------------

void MultibandEffectBase::setEditorHint(VstInt32 tag, VstInt32 value) {
    if (tag == qv::tag::kOutputHint)
        outputHint.set(value);
    else if (tag == qv::tag::kPanelHint)
        panelHint.set(value);
}

VstInt32 MultibandEffectBase::getEditorHint(VstInt32 tag) {
    if (tag == qv::tag::kOutputHint) return outputHint.get();
    if (tag == qv::tag::kPanelHint) return panelHint.get();
    return 0;
}

void MultibandEffectBase::requestOutputRefresh() {
    if (!outputHint.handOver(kMeterReadingHint)) return;
    if (editor) editor->postUpdateOutputStage();
}

void MultibandEffectBase::requestPanelRefresh() {
    if (panelPage() > 1) return; // band meters show on pages A and B only
    if (!panelHint.handOver(kMeterReadingHint)) return;
    if (editor) editor->postUpdatePanel();
}

void MultibandEffectBase::captureAnalysis() {
    if (!panelHint.isDrawn() || !qv::switchFlag(values[param::kAnalyserPower]) ||
        !qv::isAnalyserPageStrict(values[param::kPanelPage]))
        return;
    for (int ch = 0; ch < 2; ++ch)
        std::memcpy(heldAnalysis[ch], engine.liveAnalysis(ch), sizeof(heldAnalysis[ch]));
    // Published with the hint: the panel reads the hint before it reads the copy. A change
    // stored meanwhile wins; the copy then shows when the page next draws.
    if (!panelHint.handOver(kAnalyserFrameHint)) return;
    if (editor) editor->postUpdatePanel();
}

const float* MultibandEffectBase::getDisplayBuffer(VstInt32 tag) {
    if (tag == qv::tag::kAnalysisBufferFirst) return heldAnalysis[0];
    if (tag == qv::tag::kAnalysisBufferSecond) return heldAnalysis[1];
    return nullptr;
}

const VstInt32* MultibandEffectBase::getAnalyserBands() { return engine.analyserBands(); }

void MultibandEffectBase::setEditorValue(VstInt32 tag, float value) {
    if (qv::tag::isParameterTag(tag))
        setParameter(tag, value);
    else if (tag == qv::tag::kEditorScratch)
        editorScratch = value;
}

float MultibandEffectBase::getEditorValue(VstInt32 tag) {
    using namespace qv::tag;
    if (isParameterTag(tag)) return getParameter(tag);
    if (tag >= kBandLevelFirst && tag < kBandLevelFirst + qv::kNumBands)
        return engine.bandLevel(tag - kBandLevelFirst + 1);
    if (tag == 98 || tag == 99) return engine.outPeak(tag - 98);
    if (tag >= kBandReductionFirst && tag < kBandReductionFirst + qv::kNumBands)
        return engine.bandGain(tag - kBandReductionFirst + 1);
    if (tag == 105 || tag == 106) return engine.outRms(tag - 105);
    if (tag == kEditorScratch) return editorScratch;
    return 0.0f;
}

// --- audio and host state ---------------------------------------------------------------------

void MultibandEffectBase::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
    engine.process(inputs, outputs, sampleFrames, true);
}

void MultibandEffectBase::processReplacing(float** inputs, float** outputs,
                                           VstInt32 sampleFrames) {
    engine.process(inputs, outputs, sampleFrames, false);
}

void MultibandEffectBase::setSampleRate(float rate) {
    // A rate that is not finite or not above 0 changes nothing.
    if (!std::isfinite(rate) || !(rate > 0.0f)) return;
    AudioEffectX::setSampleRate(rate);
    engine.setSampleRate(rate);
}

void MultibandEffectBase::suspend() { fullReset(); }
void MultibandEffectBase::resume() { fullReset(); }

void MultibandEffectBase::fullReset() {
    engine.fullReset();
    std::memset(heldAnalysis, 0, sizeof(heldAnalysis)); // the editor's copies start empty too
}

bool MultibandEffectBase::getEffectName(char* name) { return copyIdentity(name, kProductName); }
bool MultibandEffectBase::getVendorString(char* text) { return copyIdentity(text, kVendorName); }
bool MultibandEffectBase::getProductString(char* text) { return copyIdentity(text, kProductName); }
