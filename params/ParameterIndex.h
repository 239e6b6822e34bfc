#pragma once

// The parameter index space of the effect: named indices, counts, the band-family index
// formulas and the classification of an index into its family and band.
//
// Bands are numbered 1..5 from the top of the spectrum down (band 1 lies above "Freq1-2",
// band 5 below "Freq4-5"). Crossovers and reduction links are numbered by pair k = 1..4,
// joining bands k and k+1.
//
// Thread: everything here is constant data or a pure function, callable from any thread.

namespace qv {

// Counts of the index space.
constexpr int kNumHostParameters = 86;   // 0..85, announced to the host as numParams
constexpr int kNumNamedParameters = 87;  // 0..86, have a name, display and label
constexpr int kNumStoredParameters = 93; // 0..92, have a current value
constexpr int kNumProgramSlots = 82;     // values held by one program record
constexpr int kNumPrograms = 20;         // program records in the bank
constexpr int kNumBands = 5;             // compressor bands 1..5
constexpr int kNumCrossovers = 4;        // crossovers between bands k and k+1, k = 1..4
constexpr int kNumLinks = 4;             // reduction links between bands k and k+1, k = 1..4

namespace param {

constexpr int kFreq12 = 0;
constexpr int kFreq23 = 1;
constexpr int kFreq34 = 2;
constexpr int kFreq45 = 3;

constexpr int kCp1InLevel = 4;
constexpr int kCp2InLevel = 5;
constexpr int kCp3InLevel = 6;
constexpr int kCp4InLevel = 7;
constexpr int kCp5InLevel = 8;

constexpr int kCp1OutLevel = 9;
constexpr int kCp2OutLevel = 10;
constexpr int kCp3OutLevel = 11;
constexpr int kCp4OutLevel = 12;
constexpr int kCp5OutLevel = 13;

constexpr int kCp1Thresh = 14;
constexpr int kCp1Ratio = 15;
constexpr int kCp1AtkCurve = 16;
constexpr int kCp1Atk = 17;
constexpr int kCp1RelMode = 18;
constexpr int kCp1Rel = 19;
constexpr int kCp2Thresh = 20;
constexpr int kCp2Ratio = 21;
constexpr int kCp2AtkCurve = 22;
constexpr int kCp2Atk = 23;
constexpr int kCp2RelMode = 24;
constexpr int kCp2Rel = 25;
constexpr int kCp3Thresh = 26;
constexpr int kCp3Ratio = 27;
constexpr int kCp3AtkCurve = 28;
constexpr int kCp3Atk = 29;
constexpr int kCp3RelMode = 30;
constexpr int kCp3Rel = 31;
constexpr int kCp4Thresh = 32;
constexpr int kCp4Ratio = 33;
constexpr int kCp4AtkCurve = 34;
constexpr int kCp4Atk = 35;
constexpr int kCp4RelMode = 36;
constexpr int kCp4Rel = 37;
constexpr int kCp5Thresh = 38;
constexpr int kCp5Ratio = 39;
constexpr int kCp5AtkCurve = 40;
constexpr int kCp5Atk = 41;
constexpr int kCp5RelMode = 42;
constexpr int kCp5Rel = 43;

constexpr int kCp1PwSw = 44;
constexpr int kCp1CompSw = 45;
constexpr int kCp2PwSw = 46;
constexpr int kCp2CompSw = 47;
constexpr int kCp3PwSw = 48;
constexpr int kCp3CompSw = 49;
constexpr int kCp4PwSw = 50;
constexpr int kCp4CompSw = 51;
constexpr int kCp5PwSw = 52;
constexpr int kCp5CompSw = 53;

constexpr int kLtLimSw = 54;
constexpr int kMasterOut = 55;
constexpr int kMeterSw = 56;
constexpr int kReductionSw = 57;
constexpr int kMonitor = 58;

constexpr int kCp1AutoRelType = 59;
constexpr int kCp2AutoRelType = 60;
constexpr int kCp3AutoRelType = 61;
constexpr int kCp4AutoRelType = 62;
constexpr int kCp5AutoRelType = 63;

constexpr int kRedLink12 = 64;
constexpr int kRedLink23 = 65;
constexpr int kRedLink34 = 66;
constexpr int kRedLink45 = 67;

constexpr int kLtCeiling = 68;
constexpr int kLtRelSw = 69;
constexpr int kLtRelM = 70;
constexpr int kLtRelA = 71;
constexpr int kLtClip = 72;
constexpr int kFilterType = 73;
constexpr int kQcurve = 74;
constexpr int kDryOut = 75;
constexpr int kWetOut = 76;

constexpr int kCp1RelM = 77;
constexpr int kCp1RelA = 78;
constexpr int kCp2RelM = 79;
constexpr int kCp2RelA = 80;
constexpr int kCp3RelM = 81;
constexpr int kCp3RelA = 82;
constexpr int kCp4RelM = 83;
constexpr int kCp4RelA = 84;
constexpr int kCp5RelM = 85;
constexpr int kCp5RelA = 86;

// Editor-state parameters: stored and set like the others, but unnamed, outside every program
// and kept across program changes.
constexpr int kPanelPage = 87;
constexpr int kSelectedChannel = 88;
constexpr int kMatrixItem = 89;
constexpr int kBandView = 90;
constexpr int kAnalyserPower = 91;
constexpr int kAnalyserCurveMode = 92;

constexpr int kFirstEditorState = kPanelPage;
constexpr int kLastEditorState = kAnalyserCurveMode;

// Values of the editor-state parameters after construction, indexed by (index - kPanelPage).
constexpr float kEditorStateDefaults[kLastEditorState - kFirstEditorState + 1] = {
    0.2f,  // PanelPage: page B
    1.0f,  // SelectedChannel
    0.21f, // MatrixItem
    1.0f,  // BandView
    1.0f,  // AnalyserPower
    0.0f,  // AnalyserCurveMode
};

// Band-family index formulas, b = band 1..5.
constexpr int inLevelIndex(int b) {
    return 3 + b;
}
constexpr int outLevelIndex(int b) {
    return 8 + b;
}
constexpr int threshIndex(int b) {
    return 8 + 6 * b;
}
constexpr int ratioIndex(int b) {
    return 9 + 6 * b;
}
constexpr int atkCurveIndex(int b) {
    return 10 + 6 * b;
}
constexpr int atkIndex(int b) {
    return 11 + 6 * b;
}
constexpr int relModeIndex(int b) {
    return 12 + 6 * b;
}
constexpr int relIndex(int b) {
    return 13 + 6 * b;
}
constexpr int pwSwIndex(int b) {
    return 42 + 2 * b;
}
constexpr int compSwIndex(int b) {
    return 43 + 2 * b;
}
constexpr int autoRelTypeIndex(int b) {
    return 58 + b;
}
constexpr int relMIndex(int b) {
    return 75 + 2 * b;
}
constexpr int relAIndex(int b) {
    return 76 + 2 * b;
}

// Pair formulas, k = 1..4 (the pair of bands k and k+1).
constexpr int redLinkIndex(int k) {
    return 63 + k;
}
constexpr int freqIndex(int k) {
    return k - 1;
}

} // namespace param

// What an index controls. Per-band families carry their band in bandOf(); Freq and RedLink carry
// their pair in pairOf().
enum class ParameterFamily {
    None, // not a parameter index (outside 0..92)
    Freq,
    InLevel,
    OutLevel,
    Thresh,
    Ratio,
    AtkCurve,
    Atk,
    RelMode,
    Rel, // mirror of the band's active release value
    RelM,
    RelA,
    AutoRelType,
    PwSw,
    CompSw,
    LtLimSw,
    MasterOut,
    MeterSw,
    ReductionSw,
    Monitor,
    RedLink,
    LtCeiling,
    LtRelSw,
    LtRelM,
    LtRelA,
    LtClip,
    FilterType,
    Qcurve,
    DryOut,
    WetOut,
    PanelPage,
    SelectedChannel,
    MatrixItem,
    BandView,
    AnalyserPower,
    AnalyserCurveMode,
};

// Family of any int; ParameterFamily::None outside 0..92.
ParameterFamily familyOf(int index);

// Band 1..5 of a per-band parameter (InLevel .. Rel_a, PWSW, CompSW, AutoRelType); 0 otherwise.
int bandOf(int index);

// Pair k = 1..4 of a crossover (Freq) or reduction link (RedLink); 0 otherwise.
int pairOf(int index);

// True for the five Rel mirrors (19, 25, 31, 37, 43).
bool isRelMirror(int index);

// True for 87..92.
bool isEditorState(int index);

// Tags of the effect's editor interface (setEditorValue, getEditorValue, getDisplayBuffer,
// setEditorHint, getEditorHint). Tags 4..43 and 59..63 address parameters of the same index.
namespace tag {
constexpr int kBandLevelFirst = 93;        // 93..97: level readings of bands 1..5
constexpr int kOutputPeakFirst = 98;       // 98, 99: output peak readings, left and right
constexpr int kBandReductionFirst = 100;   // 100..104: gain-reduction readings of bands 1..5
constexpr int kOutputRmsFirst = 105;       // 105, 106: output RMS readings, left and right
constexpr int kEditorScratch = 107;        // the editor's transient value
constexpr int kAnalysisBufferFirst = 108;  // first held analyser buffer
constexpr int kAnalysisBufferSecond = 109; // second held analyser buffer
constexpr int kOutputHint = 110;           // outputHint
constexpr int kPanelHint = 111;            // panelHint
constexpr int kFirstMeterReading = 93;     // 93..106: the fourteen metering readings
constexpr int kLastMeterReading = 106;

// True when setEditorValue / getEditorValue forward the tag to the parameter of the same index.
constexpr bool isParameterTag(int t) {
    return (t >= 4 && t <= 43) || (t >= 59 && t <= 63);
}
} // namespace tag

} // namespace qv
