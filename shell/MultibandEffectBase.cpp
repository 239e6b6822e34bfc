#include "shell/MultibandEffectBase.h"

#include "shell/BandMeterReport.h"

#include "params/EditorNotification.h"
#include "params/ParameterCatalogue.h"
#include "params/ParameterDisplay.h"
#include "params/ParameterMapping.h"
#include "params/ProgramChangeSequence.h"

#include <cmath>
#include <cstring>

namespace qv {

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
class MultibandEffectBase::ProgramChange final : public ProgramChangeTarget {
public:
    explicit ProgramChange(MultibandEffectBase& effect) : effect_(effect) {}
    void presetCrossovers(const float (&crossovers)[kNumCrossovers]) override {
        for (int i = 0; i < kNumCrossovers; ++i)
            effect_.values_[param::freqIndex(i + 1)] = crossovers[i];
    }
    void presetRelease(int band, float relM, float relA) override {
        effect_.values_[param::relMIndex(band)] = relM;
        effect_.values_[param::relAIndex(band)] = relA;
    }
    void applyParameter(int index, float value) override {
        // A program's Rel step passes the active release value it has just preset (the stored
        // Rel_m or Rel_a, by the stored RelMode): the mirror only refreshes, as the program's
        // own Rel_m and Rel_a follow.
        if (isRelMirror(index))
            effect_.refreshReleaseMirror(bandOf(index));
        else
            effect_.setParameter(index, value);
    }
    float currentValue(int index) const override { return effect_.values_[index]; }

private:
    MultibandEffectBase& effect_;
};

MultibandEffectBase::MultibandEffectBase(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kNumPrograms, kNumHostParameters), engine_(this) {
    for (int i = param::kFirstEditorState; i <= param::kLastEditorState; ++i)
        values_[i] = param::kEditorStateDefaults[i - param::kFirstEditorState];
    engine_.setPanelPage(values_[param::kPanelPage]);
    engine_.setSelectedChannel(values_[param::kSelectedChannel]);
    engine_.setBandView(values_[param::kBandView]);
    engine_.setAnalyserPower(values_[param::kAnalyserPower]);
    setInitialDelay(kLatencySamples);
    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(kUniqueId);
    canMono(true);
    canProcessReplacing(true);
    bank_.fillFactoryBank();
    setProgram(0); // no editor exists yet, so nothing is notified
}

// --- parameters -------------------------------------------------------------------------------

void MultibandEffectBase::setParameter(VstInt32 index, float value) {
    if (index < 0 || index >= kNumStoredParameters) return;
    // A non-finite value would leave NaN or infinite coefficients behind: it is ignored and the
    // previous value kept. Finite values outside 0..1 are mapped like any other.
    if (!std::isfinite(value)) return;

    switch (const ParameterFamily family = familyOf(index)) {
    case ParameterFamily::None:
        return;
    case ParameterFamily::Freq:
        setCrossover(pairOf(index), value);
        break;
    case ParameterFamily::Rel:
        // A host saves and restores the mirror, never index 86 (band 5's Rel_a lies beyond
        // numParams): a value written here goes to the band's active release value through
        // this same path, whose setter ends with the mirror's own refresh.
        setParameter(activeReleaseIndex(bandOf(index)), value);
        break;
    default: {
        const FamilySetter& setter = familySetter(family);
        values_[index] = value;
        if (setter.inProgram) bank_.storeValue(curProgram_, index, value);
        if (setter.apply) setter.apply(*this, index, value);
        break;
    }
    }
    announceChange(index, value);
}

void MultibandEffectBase::announceChange(VstInt32 index, float value) {
    notifyEditor(index);
    if (editor_) editor_->setParameter(index, value);
}

const MultibandEffectBase::FamilySetter& MultibandEffectBase::familySetter(ParameterFamily family) {
    using F = ParameterFamily;
    using E = MultibandEffectBase;
    // Band b's compressor, b from the index.
    static constexpr auto band = [](E& e, int index) -> BandCompressor& {
        return e.engine_.compressor(bandOf(index));
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
             e.refreshReleaseMirror(bandOf(i));
         }},
        {F::RelM, true,
         [](E& e, int i, float x) {
             band(e, i).setManualRelease(x);
             e.refreshReleaseMirror(bandOf(i));
         }},
        {F::RelA, true,
         [](E& e, int i, float x) {
             band(e, i).setAutoRelease(x);
             e.refreshReleaseMirror(bandOf(i));
         }},
        {F::AutoRelType, true, [](E& e, int i, float x) { band(e, i).setAutoReleaseType(x); }},
        {F::PwSw, true, [](E& e, int i, float x) { band(e, i).setBandSwitch(x); }},
        {F::CompSw, true, [](E& e, int i, float x) { band(e, i).setCompSwitch(x); }},
        {F::LtLimSw, true, [](E& e, int, float x) { e.engine_.limiter().setLimiterSwitch(x); }},
        {F::MasterOut, true, [](E& e, int, float x) { e.engine_.setMasterOut(x); }},
        {F::MeterSw, true, [](E& e, int, float x) { e.engine_.setMeterSwitch(x); }},
        {F::ReductionSw, true, nullptr}, // kept for the editor; no effect on processing
        {F::Monitor, true, [](E& e, int, float x) { e.engine_.setMonitor(x); }},
        {F::RedLink, true, [](E& e, int i, float x) { e.engine_.linker().setLink(pairOf(i), x); }},
        {F::LtCeiling, true, [](E& e, int, float x) { e.engine_.limiter().setCeiling(x); }},
        {F::LtRelSw, true, [](E& e, int, float x) { e.engine_.limiter().setReleaseSwitch(x); }},
        {F::LtRelM, true, [](E& e, int, float x) { e.engine_.limiter().setManualRelease(x); }},
        {F::LtRelA, true, [](E& e, int, float x) { e.engine_.limiter().setAutoRelease(x); }},
        {F::LtClip, true, [](E& e, int, float x) { e.engine_.limiter().setClipShape(x); }},
        {F::FilterType, true,
         [](E& e, int, float x) {
             e.engine_.crossover(0).setFilterType(x);
             e.engine_.crossover(1).setFilterType(x);
         }},
        {F::Qcurve, true,
         [](E& e, int, float x) {
             e.engine_.crossover(0).setSlope(x);
             e.engine_.crossover(1).setSlope(x);
         }},
        {F::DryOut, true, [](E& e, int, float x) { e.engine_.setDryOut(x); }},
        {F::WetOut, true, [](E& e, int, float x) { e.engine_.setWetOut(x); }},
        {F::PanelPage, false,
         [](E& e, int, float x) {
             e.editorScratch_ = 0.0f; // the scratch value belongs to the page shown
             e.engine_.setPanelPage(x);
         }},
        {F::SelectedChannel, false, [](E& e, int, float x) { e.engine_.setSelectedChannel(x); }},
        {F::MatrixItem, false, nullptr},
        {F::BandView, false, [](E& e, int, float x) { e.engine_.setBandView(x); }},
        {F::AnalyserPower, false, [](E& e, int, float x) { e.engine_.setAnalyserPower(x); }},
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
        if (x < values_[index + 1]) setCrossover(2, x);
    } else if (k < kNumCrossovers) {
        if (x < values_[index + 1])
            setCrossover(k + 1, x);
        else if (x > values_[index - 1])
            setCrossover(k - 1, x);
    } else if (x > values_[index - 1]) {
        setCrossover(k - 1, x);
    }
    values_[index] = x;
    const float hundredsOfHz = crossoverHundredsHz(x);
    engine_.crossover(0).setCrossover(k, hundredsOfHz);
    engine_.crossover(1).setCrossover(k, hundredsOfHz);
    bank_.storeValue(curProgram_, index, x);
}

int MultibandEffectBase::activeReleaseIndex(int band) const {
    return values_[param::relModeIndex(band)] > 0.5f ? param::relMIndex(band)
                                                     : param::relAIndex(band);
}

void MultibandEffectBase::refreshReleaseMirror(int band) {
    // The mirror's own refresh stores and announces the active value; unlike a write from
    // outside it writes nothing through, so the setters that end here cannot recurse.
    const int index = param::relIndex(band);
    values_[index] = values_[activeReleaseIndex(band)];
    announceChange(index, values_[index]);
}

void MultibandEffectBase::notifyEditor(VstInt32 index) {
    if (!editor_) return;
    const EditorNotification n = editorNotificationFor(index, panelPage());
    switch (n.refresh) {
    case EditorRefresh::CrossoverStrip:
        editor_->postUpdateCrossoverStrip();
        break;
    case EditorRefresh::LinkStrip:
        editor_->postUpdateLinkStrip();
        break;
    case EditorRefresh::OutputStage:
        outputHint_.request(n.hint);
        editor_->postUpdateOutputStage();
        break;
    case EditorRefresh::Panel:
        panelHint_.request(n.hint);
        editor_->postUpdatePanel();
        break;
    case EditorRefresh::None:
        break;
    }
}

int MultibandEffectBase::panelPage() const {
    return panelPageOf(values_[param::kPanelPage]);
}

float MultibandEffectBase::getParameter(VstInt32 index) {
    if (index < 0 || index >= kNumStoredParameters) return 0.0f;
    return values_[index];
}

void MultibandEffectBase::getParameterName(VstInt32 index, char* text) {
    copyParameterName(index, text);
}

void MultibandEffectBase::getParameterLabel(VstInt32 index, char* label) {
    copyParameterLabel(index, label);
}

void MultibandEffectBase::getParameterDisplay(VstInt32 index, char* text) {
    float snapshot[kNumStoredParameters];
    for (int i = 0; i < kNumStoredParameters; ++i)
        snapshot[i] = values_[i];
    formatParameterDisplay(index, snapshot, text);
}

// --- programs ---------------------------------------------------------------------------------

void MultibandEffectBase::setProgram(VstInt32 program) {
    const FactoryProgram* record = bank_.program(program);
    if (!record) return;
    curProgram_ = program;
    outputHint_.set(0);
    panelHint_.set(0);
    ProgramChange change(*this);
    runProgramChange(*record, change);
    editorScratch_ = 0.0f;
    // Everything changed: both views draw whole.
    outputHint_.request(0);
    if (editor_) editor_->postUpdateOutputStage();
    panelHint_.request(0);
    if (editor_) editor_->postUpdatePanel();
}

void MultibandEffectBase::setProgramName(char* name) {
    bank_.setProgramName(curProgram_, name);
}

void MultibandEffectBase::getProgramName(char* name) {
    bank_.copyProgramNameIndexed(curProgram_, name);
}

bool MultibandEffectBase::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
    return bank_.copyProgramNameIndexed(index, text);
}

VstIntPtr MultibandEffectBase::vendorSpecific(VstInt32 index, VstIntPtr, void* ptr, float) {
    if (index != kBandMeterQuery || !ptr) return 0;
    auto* report = static_cast<BandMeterReport*>(ptr);
    if (report->size != static_cast<std::int32_t>(sizeof(BandMeterReport)) ||
        report->version != kBandMeterReportVersion)
        return 0;
    static_assert(MultibandEngine::kBands <= BandMeterReport::kMaxBands, "room for every band");
    report->bands = MultibandEngine::kBands;
    for (int b = 1; b <= MultibandEngine::kBands; ++b) {
        report->gain[b - 1] = engine_.bandGain(b);
        report->level[b - 1] = engine_.bandLevel(b);
    }
    return 1;
}

// --- editor-facing operations -----------------------------------------------------------------

void MultibandEffectBase::setEditorHint(VstInt32 tag, VstInt32 value) {
    if (tag == tag::kOutputHint)
        outputHint_.set(value);
    else if (tag == tag::kPanelHint)
        panelHint_.set(value);
}

VstInt32 MultibandEffectBase::getEditorHint(VstInt32 tag) {
    if (tag == tag::kOutputHint) return outputHint_.get();
    if (tag == tag::kPanelHint) return panelHint_.get();
    return 0;
}

void MultibandEffectBase::requestOutputRefresh() {
    if (!outputHint_.handOver(kMeterReadingHint)) return;
    if (editor_) editor_->postUpdateOutputStage();
}

void MultibandEffectBase::requestPanelRefresh() {
    if (panelPage() > 1) return; // band meters show on pages A and B only
    if (!panelHint_.handOver(kMeterReadingHint)) return;
    if (editor_) editor_->postUpdatePanel();
}

void MultibandEffectBase::captureAnalysis() {
    if (!panelHint_.isDrawn() || !switchFlag(values_[param::kAnalyserPower]) ||
        !isAnalyserPageStrict(values_[param::kPanelPage]))
        return;
    for (int ch = 0; ch < 2; ++ch)
        std::memcpy(heldAnalysis_[ch], engine_.liveAnalysis(ch), sizeof(heldAnalysis_[ch]));
    // Published with the hint: the panel reads the hint before it reads the copy. A change
    // stored meanwhile wins; the copy then shows when the page next draws.
    if (!panelHint_.handOver(kAnalyserFrameHint)) return;
    if (editor_) editor_->postUpdatePanel();
}

const float* MultibandEffectBase::getDisplayBuffer(VstInt32 tag) {
    if (tag == tag::kAnalysisBufferFirst) return heldAnalysis_[0];
    if (tag == tag::kAnalysisBufferSecond) return heldAnalysis_[1];
    return nullptr;
}

const VstInt32* MultibandEffectBase::getAnalyserBands() {
    return engine_.analyserBands();
}

void MultibandEffectBase::setEditorValue(VstInt32 tag, float value) {
    if (tag::isParameterTag(tag))
        setParameter(tag, value);
    else if (tag == tag::kEditorScratch)
        editorScratch_ = value;
}

float MultibandEffectBase::getEditorValue(VstInt32 tag) {
    using namespace tag;
    if (isParameterTag(tag)) return getParameter(tag);
    if (tag >= kBandLevelFirst && tag < kBandLevelFirst + kNumBands)
        return engine_.bandLevel(tag - kBandLevelFirst + 1);
    if (tag == kOutputPeakLeft || tag == kOutputPeakRight)
        return engine_.outPeak(tag - kOutputPeakLeft);
    if (tag >= kBandReductionFirst && tag < kBandReductionFirst + kNumBands)
        return engine_.bandGain(tag - kBandReductionFirst + 1);
    if (tag == kOutputRmsLeft || tag == kOutputRmsRight)
        return engine_.outRms(tag - kOutputRmsLeft);
    if (tag == kEditorScratch) return editorScratch_;
    return 0.0f;
}

// --- audio and host state ---------------------------------------------------------------------

void MultibandEffectBase::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
    engine_.process(inputs, outputs, sampleFrames, true);
}

void MultibandEffectBase::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    engine_.process(inputs, outputs, sampleFrames, false);
}

void MultibandEffectBase::setSampleRate(float rate) {
    // A rate that is not finite or not above 0 changes nothing.
    if (!std::isfinite(rate) || !(rate > 0.0f)) return;
    AudioEffectX::setSampleRate(rate);
    engine_.setSampleRate(rate);
}

void MultibandEffectBase::suspend() {
    fullReset();
}
void MultibandEffectBase::resume() {
    fullReset();
}

void MultibandEffectBase::fullReset() {
    engine_.fullReset();
    std::memset(heldAnalysis_, 0, sizeof(heldAnalysis_)); // the editor's copies start empty too
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

} // namespace qv
