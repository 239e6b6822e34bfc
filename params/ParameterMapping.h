#pragma once

// Mappings from normalised parameter values (0..1, single precision) to the choices and
// quantities the effect passes on, where they are not coefficient math of the engine: crossover
// frequencies, reduction-link amounts, the panel page, the Ratio neutral zone, switches and
// multi-step choices. Values outside 0..1 go through the same formulas; NaN gets a defined
// answer everywhere (stated per function).
//
// Thread: pure functions, callable from any thread (the setters call them on the caller's
// thread, never the audio loop).

namespace qv {

// Crossover frequency f = 1000 * 2.1^(8.2x - 4.4) Hz. The constants are the single-precision
// values of 2.1, 8.2 and 4.4 (the base is 2.0999999...), used in double arithmetic.
constexpr float kCrossoverBase = 2.1f;
constexpr float kCrossoverSpan = 8.2f;   // powers of the base across x = 0..1
constexpr float kCrossoverOffset = 4.4f; // powers of the base below 1000 Hz at x = 0
constexpr double kCrossoverReferenceHz = 1000.0;
constexpr double kCrossoverMinHz = 40.0;
constexpr double kCrossoverMaxHz = 16000.0;
// The crossover banks take the frequency in hundreds of Hz.
constexpr float kCrossoverMinHundredsHz = 0.4f;
constexpr float kCrossoverMaxHundredsHz = 160.0f;

// f in Hz without limits (NaN for NaN x, 0 or +inf for infinite x).
double crossoverHzUnlimited(float x);

// f in Hz limited to 40..16000; NaN x gives 40.
double crossoverHz(float x);

// f/100 in single precision, limited to 0.4..160, the value sent to both crossover banks;
// NaN x gives 0.4.
float crossoverHundredsHz(float x);

// Reduction link between bands k and k+1: n = 100x as an integer 0..100 and the two weights
// the linking applies (neighbourWeight = 0.005 n, selfWeight = 1 - 0.01 n).
struct LinkAmount {
    int amount;             // n, 0..100
    double neighbourWeight; // w1, 0.0..0.5
    double selfWeight;      // w2, 1.0..0.0
};

// 100x below 1 (and NaN) gives n = 0; above 100 gives n = 100; otherwise n = 100x truncated.
LinkAmount linkAmountOf(float x);

// Panel page 0..6 (A..G): page k for k/7 <= x < (k+1)/7 with the single-precision bounds
// 0.142857 .. 0.857142. Below 0 gives page 0; 1 and above, and NaN, give page 6.
constexpr int kNumPanelPages = 7;
int panelPageOf(float x);

// The analyser's capture test: x strictly between 0.571428 and 0.714285 (single precision).
// Slightly narrower than page 4: it excludes the lower bound itself.
bool isAnalyserPageStrict(float x);

// Ratio neutral zone: 0.494949 < x < 0.545454 (single-precision bounds) means 1:1.
bool isRatioNeutral(float x);

// Switch flag x > 0.5: AtkCurve soft, RelMode manual, the PWSW / CompSW integer flags,
// FilterType brick-wall, AnalyserPower on. NaN gives false.
inline bool switchFlag(float x) {
    return x > 0.5f;
}

// Switch "on" state x < 0.5: PWSW, CompSW, lt_LimSW and Monitor on, AutoRelType dynamic,
// lt_RelSW automatic. NaN gives false.
inline bool switchIsOn(float x) {
    return x < 0.5f;
}

// Crossover slope of the Q-type filters in dB/oct: x > 0.666666 gives 96, x > 0.333333 gives 48,
// otherwise (and NaN) 24.
int qcurveDbPerOctave(float x);

// Limiter clip shape 0..4: below 0.2 soft (0), then 1, 2, 3 in steps 0.2 wide, 0.8 and above
// (and NaN) hard (4).
constexpr int kClipShapeSoft = 0;
constexpr int kClipShapeHard = 4;
int clipShapeOf(float x);

} // namespace qv
