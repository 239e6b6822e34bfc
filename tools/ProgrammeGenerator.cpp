#include "tools/ProgrammeGenerator.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qv {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kStepSeconds = 0.125; // a sixteenth note at 120 beats per minute
constexpr int kStepsPerBeat = 4;
constexpr int kStepsPerEighth = 2;
constexpr int kStepsPerBar = 16;
constexpr int kChords = 4;                    // bars in the chord cycle
constexpr double kSectionGlideSeconds = 0.05; // time constant of section level changes
constexpr double kFadeFraction = 0.05;        // the last 5 % fade out
constexpr double kMasterGain = 0.6;           // loudest passages peak near -2 dBFS
constexpr double kBassCutoffHz = 400.0;
constexpr std::uint32_t kNoiseSeed = 0x2545F491u;

// Chord roots per bar (A minor, F, C, G) and their triads in Hz.
constexpr double kBassHz[kChords] = {55.0, 43.654, 65.406, 48.999};
constexpr double kPadHz[kChords][3] = {{220.0, 261.63, 329.63},
                                       {174.61, 220.0, 261.63},
                                       {261.63, 329.63, 392.0},
                                       {196.0, 246.94, 293.66}};
// Bass rhythm: which eighth notes of a bar play (1) and which rest (0).
constexpr int kBassEighths[8] = {1, 0, 1, 1, 0, 1, 1, 0};

// Frequency ratios of the two pad voices per channel: -8/+4 cents left, -4/+8 cents right.
const double kPadDetune[2][2] = {{std::pow(2.0, -8.0 / 1200.0), std::pow(2.0, 4.0 / 1200.0)},
                                 {std::pow(2.0, -4.0 / 1200.0), std::pow(2.0, 8.0 / 1200.0)}};

// Oscillator phases are 32-bit fractions of a cycle, so they wrap by themselves and need no
// floating-point rounding per sample (slow on x87).
constexpr double kPhaseUnit = 4294967296.0; // one cycle
constexpr int kSineTableBits = 12;
constexpr int kSineTableSize = 1 << kSineTableBits;
constexpr int kFractionBits = 32 - kSineTableBits;

// sin(2 pi phase / 2^32) from a table with linear interpolation (error below 1e-6): the pads
// alone need 24 sines per frame.
double sineAt(std::uint32_t phase) {
    static const std::vector<double> table = [] {
        std::vector<double> t(kSineTableSize + 1);
        for (int i = 0; i <= kSineTableSize; ++i)
            t[i] = std::sin(2.0 * kPi * i / kSineTableSize);
        return t;
    }();
    const std::uint32_t i = phase >> kFractionBits;
    const double f = static_cast<double>(phase & ((1u << kFractionBits) - 1)) /
                     static_cast<double>(1u << kFractionBits);
    return table[i] + f * (table[i + 1] - table[i]);
}

} // namespace

// Voice levels over the programme, by position 0..1: intro, verse, chorus, breakdown, final
// chorus, fade-out.
ProgrammeGenerator::Mix ProgrammeGenerator::sectionMix(double x) {
    if (x < 0.15) return {{0.0, 0.0, 0.0, 0.0, 0.25, 0.02}};
    if (x < 0.35) return {{0.45, 0.0, 0.05, 0.25, 0.35, 0.02}};
    if (x < 0.60) return {{0.75, 0.35, 0.08, 0.45, 0.45, 0.03}};
    if (x < 0.75) return {{0.0, 0.0, 0.015, 0.0, 0.06, 0.005}};
    Mix m = {{0.9, 0.45, 0.1, 0.55, 0.5, 0.03}};
    if (x > 1.0 - kFadeFraction)
        for (double& g : m.gain)
            g *= std::max(0.0, (1.0 - x) / kFadeFraction);
    return m;
}

ProgrammeGenerator::ProgrammeGenerator(double sampleRate, double seconds)
    : rate_(sampleRate > 0.0 ? sampleRate : 44100.0),
      total_(seconds > 0.0 ? static_cast<std::uint64_t>(std::llround(seconds * rate_)) : 0),
      sectionGlide_(1.0 - std::exp(-1.0 / (kSectionGlideSeconds * rate_))),
      bassSmoothing_(1.0 - std::exp(-2.0 * kPi * kBassCutoffHz / rate_)),
      cycle_(kPhaseUnit / rate_) {
    for (int bar = 0; bar < kChords; ++bar) {
        bassStep_[bar] = phaseStep(kBassHz[bar]);
        for (int ch = 0; ch < 2; ++ch)
            for (int note = 0; note < 3; ++note)
                for (int d = 0; d < 2; ++d)
                    padStep_[bar][ch][note][d] = phaseStep(kPadHz[bar][note] * kPadDetune[ch][d]);
    }
    restart();
}

std::uint32_t ProgrammeGenerator::phaseStep(double hz) const {
    return static_cast<std::uint32_t>(hz / rate_ * kPhaseUnit);
}

ProgrammeGenerator::Decay ProgrammeGenerator::decay(double tauSeconds) const {
    Decay d;
    d.factor = std::exp(-1.0 / (tauSeconds * rate_));
    return d;
}

void ProgrammeGenerator::restart() {
    position_ = 0;
    lastStep_ = -1;
    noiseState_ = kNoiseSeed;
    kickPitch_ = decay(0.03);
    kickBody_ = decay(0.25);
    kickClick_ = decay(0.002);
    snareNoise_ = decay(0.12);
    snareBody_ = decay(0.08);
    hat_ = decay(0.025);
    bassAttack_ = decay(0.004);
    bassBody_ = decay(0.4);
    bassStop_ = decay(0.03);
    padSwell_ = decay(0.4);
    kickPhase_ = snarePhase_ = bassPhase_ = 0;
    bassLow_ = hatLow_ = bedLeft_ = bedRight_ = 0.0;
    bassOn_ = false;
    for (auto& channel : padPhase_)
        for (auto& note : channel)
            for (std::uint32_t& p : note)
                p = 0;
    mix_ = sectionMix(0.0);
}

double ProgrammeGenerator::noise() {
    noiseState_ ^= noiseState_ << 13;
    noiseState_ ^= noiseState_ >> 17;
    noiseState_ ^= noiseState_ << 5;
    return static_cast<double>(noiseState_) / 2147483648.0 - 1.0;
}

std::size_t ProgrammeGenerator::generate(float* left, float* right, std::size_t maxFrames) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(maxFrames, framesLeft()));
    for (std::size_t i = 0; i < n; ++i) {
        double l = 0.0, r = 0.0;
        frame(l, r);
        left[i] = static_cast<float>(l);
        right[i] = static_cast<float>(r);
    }
    return n;
}

void ProgrammeGenerator::frame(double& left, double& right) {
    const double t = static_cast<double>(position_) / rate_;
    const double fraction = static_cast<double>(position_) / static_cast<double>(total_);
    ++position_;

    // Section levels, glided so that section changes do not click.
    const Mix target = sectionMix(fraction);
    for (int v = 0; v < kVoices; ++v)
        mix_.gain[v] += sectionGlide_ * (target.gain[v] - mix_.gain[v]);

    const auto step = static_cast<std::int64_t>(t / kStepSeconds);
    const int bar = static_cast<int>((step / kStepsPerBar) % kChords);
    if (step != lastStep_) trigger(step);

    const double kick = kickVoice();
    const double white = noise();
    const double snare = snareVoice(white);
    const double hats = hatVoice(white);
    const double bass = bassVoice(bar);
    double pad[2] = {0.0, 0.0};
    padVoices(bar, pad);

    // Noise bed: dark, uncorrelated between the channels.
    bedLeft_ += 0.05 * (white - bedLeft_);
    bedRight_ += 0.05 * (noise() - bedRight_);

    const double centre = kick + snare + bass;
    left = centre + 0.6 * hats + pad[0] + 4.0 * bedLeft_ * mix_.gain[kBed];
    right = centre + 1.0 * hats + pad[1] + 4.0 * bedRight_ * mix_.gain[kBed];
    // A soft clip keeps the loudest moments below full scale.
    left = std::tanh(kMasterGain * left);
    right = std::tanh(kMasterGain * right);
}

void ProgrammeGenerator::trigger(std::int64_t step) {
    const int stepInBar = static_cast<int>(step % kStepsPerBar);
    lastStep_ = step;
    hat_.value = 1.0;
    if (stepInBar % kStepsPerBeat == 0) { // kick on every beat
        kickPitch_.value = kickBody_.value = kickClick_.value = 1.0;
        kickPhase_ = 0;
        if ((stepInBar / kStepsPerBeat) % 2 == 1) { // snare on beats 2 and 4
            snareNoise_.value = snareBody_.value = 1.0;
            snarePhase_ = 0;
        }
    }
    if (stepInBar % kStepsPerEighth == 0) {
        bassOn_ = kBassEighths[stepInBar / kStepsPerEighth] != 0;
        if (bassOn_) {
            bassAttack_.value = bassBody_.value = 1.0;
            bassStop_.value = 1.0;
        }
    }
    if (stepInBar == 0) padSwell_.value = 1.0;
}

double ProgrammeGenerator::kickVoice() {
    // A sine falling from 150 to 50 Hz with a short click.
    kickPhase_ += static_cast<std::uint32_t>((50.0 + 100.0 * kickPitch_.next()) * cycle_);
    return (sineAt(kickPhase_) * kickBody_.next() + 0.3 * kickClick_.next()) * mix_.gain[kKick];
}

double ProgrammeGenerator::snareVoice(double white) {
    // A noise burst and a 190 Hz body.
    snarePhase_ += static_cast<std::uint32_t>(190.0 * cycle_);
    return (0.7 * white * snareNoise_.next() + 0.5 * sineAt(snarePhase_) * snareBody_.next()) *
           mix_.gain[kSnare];
}

double ProgrammeGenerator::hatVoice(double white) {
    // High-passed noise (noise minus its low-passed copy).
    hatLow_ += 0.35 * (white - hatLow_);
    return (white - hatLow_) * hat_.next() * mix_.gain[kHats];
}

double ProgrammeGenerator::bassVoice(int bar) {
    // A low-passed saw on the bar's root; rests fade the note out quickly.
    bassPhase_ += bassStep_[bar];
    const double saw = static_cast<double>(bassPhase_) * (2.0 / kPhaseUnit) - 1.0;
    bassLow_ += bassSmoothing_ * (saw - bassLow_);
    const double stop = bassOn_ ? 1.0 : bassStop_.next();
    return 1.6 * bassLow_ * (1.0 - bassAttack_.next()) * bassBody_.next() * stop * mix_.gain[kBass];
}

void ProgrammeGenerator::padVoices(int bar, double (&pad)[2]) {
    // The bar's triad, two slightly detuned voices per note and channel, swelling in.
    const double swell = 1.0 - padSwell_.next();
    for (int ch = 0; ch < 2; ++ch) {
        for (int note = 0; note < 3; ++note) {
            for (int d = 0; d < 2; ++d) {
                std::uint32_t& phase = padPhase_[ch][note][d];
                phase += padStep_[bar][ch][note][d];
                pad[ch] += sineAt(phase) + 0.3 * sineAt(phase << 1);
            }
        }
        pad[ch] *= 0.12 * swell * mix_.gain[kPads];
    }
}

} // namespace qv
