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
    : rate(sampleRate > 0.0 ? sampleRate : 44100.0),
      total(seconds > 0.0 ? static_cast<std::uint64_t>(std::llround(seconds * rate)) : 0),
      sectionGlide(1.0 - std::exp(-1.0 / (kSectionGlideSeconds * rate))),
      bassSmoothing(1.0 - std::exp(-2.0 * kPi * kBassCutoffHz / rate)), cycle(kPhaseUnit / rate) {
    for (int bar = 0; bar < kChords; ++bar) {
        bassStep[bar] = phaseStep(kBassHz[bar]);
        for (int ch = 0; ch < 2; ++ch)
            for (int note = 0; note < 3; ++note)
                for (int d = 0; d < 2; ++d)
                    padStep[bar][ch][note][d] = phaseStep(kPadHz[bar][note] * kPadDetune[ch][d]);
    }
    restart();
}

std::uint32_t ProgrammeGenerator::phaseStep(double hz) const {
    return static_cast<std::uint32_t>(hz / rate * kPhaseUnit);
}

ProgrammeGenerator::Decay ProgrammeGenerator::decay(double tauSeconds) const {
    Decay d;
    d.factor = std::exp(-1.0 / (tauSeconds * rate));
    return d;
}

void ProgrammeGenerator::restart() {
    position = 0;
    lastStep = -1;
    noiseState = kNoiseSeed;
    kickPitch = decay(0.03);
    kickBody = decay(0.25);
    kickClick = decay(0.002);
    snareNoise = decay(0.12);
    snareBody = decay(0.08);
    hat = decay(0.025);
    bassAttack = decay(0.004);
    bassBody = decay(0.4);
    bassStop = decay(0.03);
    padSwell = decay(0.4);
    kickPhase = snarePhase = bassPhase = 0;
    bassLow = hatLow = bedLeft = bedRight = 0.0;
    bassOn = false;
    for (auto& channel : padPhase)
        for (auto& note : channel)
            for (std::uint32_t& p : note)
                p = 0;
    mix = sectionMix(0.0);
}

double ProgrammeGenerator::noise() {
    noiseState ^= noiseState << 13;
    noiseState ^= noiseState >> 17;
    noiseState ^= noiseState << 5;
    return static_cast<double>(noiseState) / 2147483648.0 - 1.0;
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
    const double t = static_cast<double>(position) / rate;
    const double fraction = static_cast<double>(position) / static_cast<double>(total);
    ++position;

    // Section levels, glided so that section changes do not click.
    const Mix target = sectionMix(fraction);
    for (int v = 0; v < kVoices; ++v)
        mix.gain[v] += sectionGlide * (target.gain[v] - mix.gain[v]);

    // Triggers at the start of each sixteenth note.
    const auto step = static_cast<std::int64_t>(t / kStepSeconds);
    const int stepInBar = static_cast<int>(step % kStepsPerBar);
    const int bar = static_cast<int>((step / kStepsPerBar) % kChords);
    if (step != lastStep) {
        lastStep = step;
        hat.value = 1.0;
        if (stepInBar % kStepsPerBeat == 0) { // kick on every beat
            kickPitch.value = kickBody.value = kickClick.value = 1.0;
            kickPhase = 0;
            if ((stepInBar / kStepsPerBeat) % 2 == 1) { // snare on beats 2 and 4
                snareNoise.value = snareBody.value = 1.0;
                snarePhase = 0;
            }
        }
        if (stepInBar % kStepsPerEighth == 0) {
            bassOn = kBassEighths[stepInBar / kStepsPerEighth] != 0;
            if (bassOn) {
                bassAttack.value = bassBody.value = 1.0;
                bassStop.value = 1.0;
            }
        }
        if (stepInBar == 0) padSwell.value = 1.0;
    }

    // Kick: a sine falling from 150 to 50 Hz with a short click.
    kickPhase += static_cast<std::uint32_t>((50.0 + 100.0 * kickPitch.next()) * cycle);
    const double kick =
        (sineAt(kickPhase) * kickBody.next() + 0.3 * kickClick.next()) * mix.gain[kKick];

    // Snare: noise burst and a 190 Hz body.
    const double white = noise();
    snarePhase += static_cast<std::uint32_t>(190.0 * cycle);
    const double snare =
        (0.7 * white * snareNoise.next() + 0.5 * sineAt(snarePhase) * snareBody.next()) *
        mix.gain[kSnare];

    // Hats: high-passed noise (noise minus its low-passed copy).
    hatLow += 0.35 * (white - hatLow);
    const double hats = (white - hatLow) * hat.next() * mix.gain[kHats];

    // Bass: a low-passed saw on the bar's root; rests fade the note out quickly.
    bassPhase += bassStep[bar];
    const double saw = static_cast<double>(bassPhase) * (2.0 / kPhaseUnit) - 1.0;
    bassLow += bassSmoothing * (saw - bassLow);
    const double stop = bassOn ? 1.0 : bassStop.next();
    const double bass =
        1.6 * bassLow * (1.0 - bassAttack.next()) * bassBody.next() * stop * mix.gain[kBass];

    // Pads: the bar's triad, two slightly detuned voices per note and channel, swelling in.
    double pad[2] = {0.0, 0.0};
    const double swell = 1.0 - padSwell.next();
    for (int ch = 0; ch < 2; ++ch) {
        for (int note = 0; note < 3; ++note) {
            for (int d = 0; d < 2; ++d) {
                std::uint32_t& phase = padPhase[ch][note][d];
                phase += padStep[bar][ch][note][d];
                pad[ch] += sineAt(phase) + 0.3 * sineAt(phase << 1);
            }
        }
        pad[ch] *= 0.12 * swell * mix.gain[kPads];
    }

    // Noise bed: dark, uncorrelated between the channels.
    bedLeft += 0.05 * (white - bedLeft);
    bedRight += 0.05 * (noise() - bedRight);

    const double centre = kick + snare + bass;
    left = centre + 0.6 * hats + pad[0] + 4.0 * bedLeft * mix.gain[kBed];
    right = centre + 1.0 * hats + pad[1] + 4.0 * bedRight * mix.gain[kBed];
    // A soft clip keeps the loudest moments below full scale.
    left = std::tanh(kMasterGain * left);
    right = std::tanh(kMasterGain * right);
}

} // namespace qv
