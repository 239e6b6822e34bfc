#include "params/ParameterIndex.h"

namespace qv {

namespace {

// Families of the six-parameter compressor block of each band (Thresh 8+6b .. Rel 13+6b).
constexpr ParameterFamily kCompressorBlock[6] = {
    ParameterFamily::Thresh, ParameterFamily::Ratio,   ParameterFamily::AtkCurve,
    ParameterFamily::Atk,    ParameterFamily::RelMode, ParameterFamily::Rel,
};

constexpr int kFirstCompressorBlock = param::kCp1Thresh;
constexpr int kCompressorBlockSize = 6;

} // namespace

ParameterFamily familyOf(int index) {
    using namespace param;
    if (index < 0 || index > kLastEditorState) return ParameterFamily::None;
    if (index <= kFreq45) return ParameterFamily::Freq;
    if (index <= kCp5InLevel) return ParameterFamily::InLevel;
    if (index <= kCp5OutLevel) return ParameterFamily::OutLevel;
    if (index <= kCp5Rel)
        return kCompressorBlock[(index - kFirstCompressorBlock) % kCompressorBlockSize];
    if (index <= kCp5CompSw)
        return (index - kCp1PwSw) % 2 == 0 ? ParameterFamily::PwSw : ParameterFamily::CompSw;
    if (index <= kCp5RelA && index >= kCp1RelM)
        return (index - kCp1RelM) % 2 == 0 ? ParameterFamily::RelM : ParameterFamily::RelA;
    if (index >= kCp1AutoRelType && index <= kCp5AutoRelType) return ParameterFamily::AutoRelType;
    if (index >= kRedLink12 && index <= kRedLink45) return ParameterFamily::RedLink;
    switch (index) {
    case kLtLimSw:
        return ParameterFamily::LtLimSw;
    case kMasterOut:
        return ParameterFamily::MasterOut;
    case kMeterSw:
        return ParameterFamily::MeterSw;
    case kReductionSw:
        return ParameterFamily::ReductionSw;
    case kMonitor:
        return ParameterFamily::Monitor;
    case kLtCeiling:
        return ParameterFamily::LtCeiling;
    case kLtRelSw:
        return ParameterFamily::LtRelSw;
    case kLtRelM:
        return ParameterFamily::LtRelM;
    case kLtRelA:
        return ParameterFamily::LtRelA;
    case kLtClip:
        return ParameterFamily::LtClip;
    case kFilterType:
        return ParameterFamily::FilterType;
    case kQcurve:
        return ParameterFamily::Qcurve;
    case kDryOut:
        return ParameterFamily::DryOut;
    case kWetOut:
        return ParameterFamily::WetOut;
    case kPanelPage:
        return ParameterFamily::PanelPage;
    case kSelectedChannel:
        return ParameterFamily::SelectedChannel;
    case kMatrixItem:
        return ParameterFamily::MatrixItem;
    case kBandView:
        return ParameterFamily::BandView;
    case kAnalyserPower:
        return ParameterFamily::AnalyserPower;
    default:
        return ParameterFamily::AnalyserCurveMode; // 92, the only index left
    }
}

int bandOf(int index) {
    using namespace param;
    switch (familyOf(index)) {
    case ParameterFamily::InLevel:
        return index - inLevelIndex(0);
    case ParameterFamily::OutLevel:
        return index - outLevelIndex(0);
    case ParameterFamily::Thresh:
    case ParameterFamily::Ratio:
    case ParameterFamily::AtkCurve:
    case ParameterFamily::Atk:
    case ParameterFamily::RelMode:
    case ParameterFamily::Rel:
        return (index - kFirstCompressorBlock) / kCompressorBlockSize + 1;
    case ParameterFamily::PwSw:
    case ParameterFamily::CompSw:
        return (index - kCp1PwSw) / 2 + 1;
    case ParameterFamily::RelM:
    case ParameterFamily::RelA:
        return (index - kCp1RelM) / 2 + 1;
    case ParameterFamily::AutoRelType:
        return index - autoRelTypeIndex(0);
    default:
        return 0;
    }
}

int pairOf(int index) {
    switch (familyOf(index)) {
    case ParameterFamily::Freq:
        return index - param::freqIndex(0);
    case ParameterFamily::RedLink:
        return index - param::redLinkIndex(0);
    default:
        return 0;
    }
}

bool isRelMirror(int index) {
    return familyOf(index) == ParameterFamily::Rel;
}

bool isEditorState(int index) {
    return index >= param::kFirstEditorState && index <= param::kLastEditorState;
}

} // namespace qv
