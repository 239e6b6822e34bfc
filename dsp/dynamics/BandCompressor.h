#pragma once

#include "dsp/Relaxed.h"

#include "dsp/dynamics/BandDetector.h"
#include "dsp/math/FlushDenormal.h"

#include <cmath>

namespace qv {

// One band's compressor: its switches, input and output gains, level detector and a gain
// computer on linear amplitudes. Above the threshold T the output amplitude is a straight line:
// expansion up to slope 2 below "Ratio" 0.5, 1:1 in a neutral zone, compression towards a hard
// ceiling at T for "Ratio" 1. Setters take normalised values (UI/parameter thread); push runs on
// the audio thread.
class BandCompressor {
public:
    BandCompressor();

    // "Thresh": T = 10^((40 v - 40) / 20), 0.999 above -0.1 dB; then updateGainComputer.
    void setThreshold(float normalised);
    // "Ratio": stored as received; then updateGainComputer.
    void setRatio(float normalised);
    // "InLevel", "OutLevel": linear gains, exactly 1.0 within 0.1 dB of 0 dB. Stored only.
    void setInputLevel(float normalised);
    void setOutputLevel(float normalised);
    // "PWSW" (band off above 0.5), "CompSW" (compressor bypassed above 0.5).
    void setBandSwitch(float normalised);
    void setCompSwitch(float normalised);

    // Detector settings ("Atk", "AtkCurve", "RelMode", "Rel_m", "Rel_a", "AutoRelType").
    void setAttack(float normalised) { detector_.setAttack(normalised); }
    void setAttackCurve(float normalised) { detector_.setAttackCurve(normalised); }
    void setReleaseMode(float normalised) { detector_.setReleaseMode(normalised); }
    void setManualRelease(float normalised) { detector_.setManualRelease(normalised); }
    void setAutoRelease(float normalised) { detector_.setAutoRelease(normalised); }
    void setAutoReleaseType(float normalised) { detector_.setAutoReleaseType(normalised); }
    void setSampleRate(double fs) { detector_.setSampleRate(fs); }

    // Recomputes the gain computer's coefficients from T and the ratio.
    void updateGainComputer();

    // Gain for one detected level: 1.0 at or below T, else D / level + C (ratio below 0.5) or
    // A / level + B; subnormal gains become 0.0. Any thread (reads coefficients only).
    double computeGain(double level) const {
        if (!(level > threshold_)) return 1.0;
        return flushDenormal(gainScale_ / level + gainOffset_);
    }

    // Audio thread, for a run of frames samples of the band's current (undelayed) signal after
    // the input gain: writes the band's gains. Band off: clears the detectors once on entering
    // that state, gains 1.0 (the caller silences the band). Compressor bypassed: the same, the
    // band passes unchanged. Otherwise detects max(|L|, |R|) and gives computeGain of the
    // detected level.
    void process(const double* bandL, const double* bandR, double* gains, int frames) {
        run(gains, frames,
            [&](auto gainOf) { detector_.process(bandL, bandR, gains, frames, gainOf); });
    }
    // The same for the levels max(|L|, |R|) of the band's frames, already formed (gains may be
    // levels).
    void processLevels(const double* levels, double* gains, int frames) {
        run(gains, frames,
            [&](auto gainOf) { detector_.processLevels(levels, gains, frames, gainOf); });
    }
    // One sample.
    double push(double bandL, double bandR) {
        double gain;
        process(&bandL, &bandR, &gain, 1);
        return gain;
    }

    // Clears the detectors (engine reset).
    void resetDetectors() { detector_.clear(); }
    // Full reset: detectors cleared, muted, bypassed and curve latches 0.
    void fullReset();

    double thresholdLinear() const { return threshold_; }
    float ratioValue() const { return ratio_; }
    double slope() const { return slope_; }
    double ceilingDb() const { return ceilingDb_; }
    double inputGain() const { return inputGain_; }
    double outputGain() const { return outputGain_; }
    bool bandOff() const { return bandOff_; }
    bool compOff() const { return compOff_; }
    float bandSwitchValue() const { return bandSwitch_; }
    float compSwitchValue() const { return compSwitch_; }
    // Whether the band's gain is linked and smoothed this sample (both switch values below
    // 0.5), and whether its smoothed gain is capped at 1.0 ("Ratio" 0.5 or more).
    bool linked() const { return linked_; }
    bool capsAtUnity() const { return capsAtUnity_; }
    const BandDetector& detector() const { return detector_; }

private:
    // process with detect(gainOf) running the detector, gainOf giving each detected level's
    // gain.
    template <class Detect> void run(double* gains, int frames, Detect detect) {
        if (!running_) {
            pushStopped();
            for (int i = 0; i < frames; ++i)
                gains[i] = 1.0;
            return;
        }
        mutedLatch_ = false;
        bypassedLatch_ = false;
        const double threshold = threshold_, scale = gainScale_, offset = gainOffset_;
        // Above T the gain is 0 or more: scale and offset are both 0 or more when compressing,
        // and when expanding the gain exceeds 1.
        detect([=](double level) {
            return level > threshold ? flushNonNegative(scale / level + offset) : 1.0;
        });
    }

    // push for a band switched off or bypassed: the one-time detector clear, gain 1.0.
    double pushStopped() {
        if (bandOff_) {
            if (!mutedLatch_) {
                detector_.clear();
                mutedLatch_ = true;
            }
            return 1.0;
        }
        if (!bypassedLatch_) {
            detector_.clear();
            bypassedLatch_ = true;
        }
        return 1.0;
    }

    BandDetector detector_; // the band's followers

    Relaxed<double> threshold_ = 0.999; // T, linear amplitude
    Relaxed<float> ratio_ = 0.5f;       // raw "Ratio" r
    Relaxed<double> slope_ = 0.0;       // k: -1 (r = 0) .. 0 (neutral) .. +1 (r = 1)
    // The gain above T as scale / level + offset: D = T k and C = 1 - k while "Ratio" is below
    // 0.5 (expansion), A = (1 - B) T and B = (Y - T) / (1 - T) otherwise, with Y = T^k.
    Relaxed<double> gainScale_ = 0.0;  // D or A
    Relaxed<double> gainOffset_ = 1.0; // C or B
    Relaxed<double> ceilingDb_ = 0.0;  // Tdb k: output level (dB) a full-scale input reaches
    Relaxed<double> inputGain_ = 1.0;  // linear band input gain
    Relaxed<double> outputGain_ = 1.0; // linear band output gain
    Relaxed<float> bandSwitch_ = 0.0f; // raw "PWSW"
    Relaxed<float> compSwitch_ = 0.0f; // raw "CompSW"
    Relaxed<bool> bandOff_ = false;    // "PWSW" above 0.5
    Relaxed<bool> compOff_ = false;    // "CompSW" above 0.5
    Relaxed<bool> running_ = true;     // neither "PWSW" nor "CompSW" above 0.5
    Relaxed<bool> linked_ = true;      // both switch values below 0.5
    Relaxed<bool> capsAtUnity_ = true; // "Ratio" 0.5 or more
    bool mutedLatch_ = false;          // detectors cleared since the band was switched off
    bool bypassedLatch_ = false;       // detectors cleared since the compressor was bypassed
};

} // namespace qv
