#include "shell/MultibandEffectBase.h"

#include "shell/BandMeterReport.h"

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

} // namespace

// Drives a program change through the effect's own setParameter.
class MultibandEffectBase::ProgramChange final : public qv::ProgramChangeTarget {
public:
    explicit ProgramChange(MultibandEffectBase& effect) : effect(effect) {}
    void presetCrossovers(const float (&crossovers)[qv::kNumCrossovers]) override {
        for (int i = 0; i < qv::kNumCrossovers; ++i)
            effect.values[param::freqIndex(i + 1)] = crossovers[i];
    }
    void presetRelease(int band, float relM, float relA) override {
        effect.values[param::relMIndex(band)] = relM;
        effect.values[param::relAIndex(band)] = relA;
    }
    void applyParameter(int index, float value) override {
        // A program's Rel step passes the active release value it has just preset (the stored
        // Rel_m or Rel_a, by the stored RelMode): the mirror only refreshes, as the program's
        // own Rel_m and Rel_a follow.
        if (qv::isRelMirror(index))
            effect.refreshReleaseMirror(qv::bandOf(index));
        else
            effect.setParameter(index, value);
    }
    float currentValue(int index) const override { return effect.values[index]; }

private:
    MultibandEffectBase& effect;
};

MultibandEffectBase::MultibandEffectBase(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, qv::kNumPrograms, qv::kNumHostParameters), engine(this) {
    for (int i = param::kFirstEditorState; i <= param::kLastEditorState; ++i)
        values[i] = param::kEditorStateDefaults[i - param::kFirstEditorState];
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

    switch (const ParameterFamily family = qv::familyOf(index)) {
    case ParameterFamily::None:
        return;
    case ParameterFamily::Freq:
        setCrossover(qv::pairOf(index), value);
        break;
    case ParameterFamily::Rel:
        // A host saves and restores the mirror, never index 86 (band 5's Rel_a lies beyond
        // numParams): a value written here goes to the band's active release value through
        // this same path, whose setter ends with the mirror's own refresh.
        setParameter(activeReleaseIndex(qv::bandOf(index)), value);
        break;
    default: {
        const FamilySetter& setter = familySetter(family);
        values[index] = value;
        if (setter.inProgram) bank.storeValue(curProgram, index, value);
        if (setter.apply) setter.apply(*this, index, value);
        break;
    }
    }
    announceChange(index, value);
}

void MultibandEffectBase::announceChange(VstInt32 index, float value) {
    notifyEditor(index);
    if (editor) editor->setParameter(index, value);
}

const MultibandEffectBase::FamilySetter& MultibandEffectBase::familySetter(ParameterFamily family) {
    using F = ParameterFamily;
    using E = MultibandEffectBase;
    // Band b's compressor, b from the index.
    static constexpr auto band = [](E& e, int index) -> qv::BandCompressor& {
        return e.engine.compressor(qv::bandOf(index));
    };
    // Every family stored by setParameter's default path: whether the live program records it
    // (the editor-state parameters 87..92 are not program values) and the processing object's
    // setter that derives its coefficients (none: only kept).
    static const FamilySetter kSetters[] = {
        {F::InLevel, true, [](E& e, int i, float x) { band(e, i).setInputLevel(x); }},
        {F::OutLevel, true, [](E& e, int i, float x) { band(e, i).setOutputLevel(x); }},
        {F::Thresh, true, [](E& e, int i, float x) { band(e, i).setThreshold(x); }},
        {F::Ratio, true, [](E& e, int i, float x) { band(e, i).setRatio(x); }},
        {F::AtkCurve, true, [](E& e, int i, float x) { band(e, i).setAttackCurve(x); }},
        {F::Atk, true, [](E& e, int i, float x) { band(e, i).setAttack(x); }},
        {F::RelMode, true,
         [](E& e, int i, float x) {
             band(e, i).setReleaseMode(x);
             e.refreshReleaseMirror(qv::bandOf(i));
         }},
        {F::RelM, true,
         [](E& e, int i, float x) {
             band(e, i).setManualRelease(x);
             e.refreshReleaseMirror(qv::bandOf(i));
         }},
        {F::RelA, true,
         [](E& e, int i, float x) {
             band(e, i).setAutoRelease(x);
             e.refreshReleaseMirror(qv::bandOf(i));
         }},
        {F::AutoRelType, true, [](E& e, int i, float x) { band(e, i).setAutoReleaseType(x); }},
        {F::PwSw, true, [](E& e, int i, float x) { band(e, i).setBandSwitch(x); }},
        {F::CompSw, true, [](E& e, int i, float x) { band(e, i).setCompSwitch(x); }},
        {F::LtLimSw, true, [](E& e, int, float x) { e.engine.limiter().setLimiterSwitch(x); }},
        {F::MasterOut, true, [](E& e, int, float x) { e.engine.setMasterOut(x); }},
        {F::MeterSw, true, [](E& e, int, float x) { e.engine.setMeterSwitch(x); }},
        {F::ReductionSw, true, nullptr}, // kept for the editor; no effect on processing
        {F::Monitor, true, [](E& e, int, float x) { e.engine.setMonitor(x); }},
        {F::RedLink, true,
         [](E& e, int i, float x) { e.engine.linker().setLink(qv::pairOf(i), x); }},
        {F::LtCeiling, true, [](E& e, int, float x) { e.engine.limiter().setCeiling(x); }},
        {F::LtRelSw, true, [](E& e, int, float x) { e.engine.limiter().setReleaseSwitch(x); }},
        {F::LtRelM, true, [](E& e, int, float x) { e.engine.limiter().setManualRelease(x); }},
        {F::LtRelA, true, [](E& e, int, float x) { e.engine.limiter().setAutoRelease(x); }},
        {F::LtClip, true, [](E& e, int, float x) { e.engine.limiter().setClipShape(x); }},
        {F::FilterType, true,
         [](E& e, int, float x) {
             e.engine.crossover(0).setFilterType(x);
             e.engine.crossover(1).setFilterType(x);
         }},
        {F::Qcurve, true,
         [](E& e, int, float x) {
             e.engine.crossover(0).setSlope(x);
             e.engine.crossover(1).setSlope(x);
         }},
        {F::DryOut, true, [](E& e, int, float x) { e.engine.setDryOut(x); }},
        {F::WetOut, true, [](E& e, int, float x) { e.engine.setWetOut(x); }},
        {F::PanelPage, false,
         [](E& e, int, float x) {
             e.editorScratch = 0.0f; // the scratch value belongs to the page shown
             e.engine.setPanelPage(x);
         }},
        {F::SelectedChannel, false, [](E& e, int, float x) { e.engine.setSelectedChannel(x); }},
        {F::MatrixItem, false, nullptr},
        {F::BandView, false, [](E& e, int, float x) { e.engine.setBandView(x); }},
        {F::AnalyserPower, false, [](E& e, int, float x) { e.engine.setAnalyserPower(x); }},
        {F::AnalyserCurveMode, false, nullptr},
    };
    static const FamilySetter kNothing{F::None, false, nullptr};
    for (const FamilySetter& setter : kSetters)
        if (setter.family == family) return setter;
    return kNothing;
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

int MultibandEffectBase::activeReleaseIndex(int band) const {
    return values[param::relModeIndex(band)] > 0.5f ? param::relMIndex(band)
                                                    : param::relAIndex(band);
}

void MultibandEffectBase::refreshReleaseMirror(int band) {
    // The mirror's own refresh stores and announces the active value; unlike a write from
    // outside it writes nothing through, so the setters that end here cannot recurse.
    const int index = param::relIndex(band);
    values[index] = values[activeReleaseIndex(band)];
    announceChange(index, values[index]);
}

void MultibandEffectBase::notifyEditor(VstInt32 index) {
    if (!editor) return;
    const qv::EditorNotification n = qv::editorNotificationFor(index, panelPage());
    switch (n.refresh) {
    case qv::EditorRefresh::CrossoverStrip:
        editor->postUpdateCrossoverStrip();
        break;
    case qv::EditorRefresh::LinkStrip:
        editor->postUpdateLinkStrip();
        break;
    case qv::EditorRefresh::OutputStage:
        outputHint.request(n.hint);
        editor->postUpdateOutputStage();
        break;
    case qv::EditorRefresh::Panel:
        panelHint.request(n.hint);
        editor->postUpdatePanel();
        break;
    case qv::EditorRefresh::None:
        break;
    }
}

int MultibandEffectBase::panelPage() const {
    return qv::panelPageOf(values[param::kPanelPage]);
}

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
    float snapshot[qv::kNumStoredParameters];
    for (int i = 0; i < qv::kNumStoredParameters; ++i)
        snapshot[i] = values[i];
    qv::formatParameterDisplay(index, snapshot, text);
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

void MultibandEffectBase::setProgramName(char* name) {
    bank.setProgramName(curProgram, name);
}

void MultibandEffectBase::getProgramName(char* name) {
    bank.copyProgramNameIndexed(curProgram, name);
}

bool MultibandEffectBase::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
    return bank.copyProgramNameIndexed(index, text);
}

VstIntPtr MultibandEffectBase::vendorSpecific(VstInt32 index, VstIntPtr, void* ptr, float) {
    if (index != kBandMeterQuery || !ptr) return 0;
    auto* report = static_cast<BandMeterReport*>(ptr);
    if (report->size != static_cast<std::int32_t>(sizeof(BandMeterReport)) ||
        report->version != kBandMeterReportVersion)
        return 0;
    static_assert(qv::MultibandEngine::kBands <= BandMeterReport::kMaxBands, "room for every band");
    report->bands = qv::MultibandEngine::kBands;
    for (int b = 1; b <= qv::MultibandEngine::kBands; ++b) {
        report->gain[b - 1] = engine.bandGain(b);
        report->level[b - 1] = engine.bandLevel(b);
    }
    return 1;
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

const VstInt32* MultibandEffectBase::getAnalyserBands() {
    return engine.analyserBands();
}

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
    if (tag == kOutputPeakLeft || tag == kOutputPeakRight)
        return engine.outPeak(tag - kOutputPeakLeft);
    if (tag >= kBandReductionFirst && tag < kBandReductionFirst + qv::kNumBands)
        return engine.bandGain(tag - kBandReductionFirst + 1);
    if (tag == kOutputRmsLeft || tag == kOutputRmsRight) return engine.outRms(tag - kOutputRmsLeft);
    if (tag == kEditorScratch) return editorScratch;
    return 0.0f;
}

// --- audio and host state ---------------------------------------------------------------------

void MultibandEffectBase::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
    engine.process(inputs, outputs, sampleFrames, true);
}

void MultibandEffectBase::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    engine.process(inputs, outputs, sampleFrames, false);
}

void MultibandEffectBase::setSampleRate(float rate) {
    // A rate that is not finite or not above 0 changes nothing.
    if (!std::isfinite(rate) || !(rate > 0.0f)) return;
    AudioEffectX::setSampleRate(rate);
    engine.setSampleRate(rate);
}

void MultibandEffectBase::suspend() {
    fullReset();
}
void MultibandEffectBase::resume() {
    fullReset();
}

void MultibandEffectBase::fullReset() {
    engine.fullReset();
    std::memset(heldAnalysis, 0, sizeof(heldAnalysis)); // the editor's copies start empty too
}

bool MultibandEffectBase::getEffectName(char* name) {
    return copyIdentity(name, kProductName);
}
bool MultibandEffectBase::getVendorString(char* text) {
    return copyIdentity(text, kVendorName);
}
bool MultibandEffectBase::getProductString(char* text) {
    return copyIdentity(text, kProductName);
}
