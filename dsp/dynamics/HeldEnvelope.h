#pragma once

#include "dsp/Relaxed.h"

#include "dsp/dynamics/HoldRelease.h"
#include "dsp/math/FlushDenormal.h"

namespace qv {

// Whether a held envelope's release is flushed at every sample. The x87 unit holds doubles with
// the wider exponent of its registers, where a release below the smallest normal double costs
// no more than any other product: there a run flushes its envelope once, in end(), which saves
// the comparison per released sample. The outputs in between may then lie below the smallest
// normal double instead of being 0, far below any threshold or clip level that reads them.
#if defined(__SSE2_MATH__)
constexpr bool kFlushEachRelease = true;
#else
constexpr bool kFlushEachRelease = false;
#endif

// The envelope PeakHoldDetector and RisingSmoothDetector both follow: it rises towards a new
// level through a one-pole coefficient (0 = at once), then holds and releases with HoldRelease.
// Keeps the sample rate and the release multiplier in step with it; the derived follower sets
// the rise coefficient from its own times. Not polymorphic: used only through the derived
// classes. Setters: UI/parameter thread; push: audio thread.
class HeldEnvelope {
public:
    // A copy of the follower's state for a loop over a run of samples: held in locals, the
    // compiler keeps it in registers, where members would be reloaded at every sample. Take it
    // with begin(), push through it, hand it back with end() before anything else touches the
    // follower. Audio thread.
    struct Run {
        double envelope;   // current output
        double riseCoef;   // one-pole rise coefficient, 0 = instant
        double releaseMul; // per-sample release multiplier
        HoldRelease hold;  // hold count and floored release

        // Takes the new level (not negative) and the release floor, the level of
        // ringLength - 1 samples before (LevelHistory::step of this level); returns the
        // envelope. FixedLength: see HoldRelease::fall.
        template <int FixedLength = 0> double push(double level, double floor) {
            if (envelope <= level) {
                envelope = (envelope - level) * riseCoef + level;
                hold.restartHold();
                return envelope;
            }
            envelope = hold.fall<FixedLength, kFlushEachRelease>(envelope, floor, releaseMul);
            return envelope;
        }
    };
    Run begin() const { return Run{envelope_, riseCoef_, releaseMul_, hold_}; }
    void end(const Run& run) {
        envelope_ = kFlushEachRelease ? run.envelope : flushNonNegative(run.envelope);
        hold_ = run.hold;
    }

    // Audio thread: one sample (see Run::push); the envelope as stored.
    double push(double level, double floor) {
        Run run = begin();
        run.push(level, floor);
        end(run);
        return envelope_;
    }
    // releaseMul = halfLife(timeSeconds).
    void setReleaseTime(double timeSeconds);

    // Envelope and hold to zero; coefficients kept (the owner clears the level history).
    void clear();

    double envelope() const { return envelope_; }
    double releaseMul() const { return releaseMul_; }

protected:
    explicit HeldEnvelope(int ringLength) : hold_(ringLength) {}
    ~HeldEnvelope() = default;

    // Stores a finite, positive rate and recomputes the release; false (nothing changed) for
    // any other rate.
    bool acceptSampleRate(double fs);
    double sampleRate() const { return sampleRate_; }
    double riseCoefficient() const { return riseCoef_; }
    void setRiseCoefficient(double coef) { riseCoef_ = coef; }

private:
    HoldRelease hold_;                 // hold count and floored release
    double sampleRate_ = 44100.0;      // Hz
    double releaseSeconds_ = 0.0;      // release half-life
    Relaxed<double> riseCoef_ = 0.0;   // one-pole rise coefficient, 0 = instant
    Relaxed<double> releaseMul_ = 0.0; // per-sample release multiplier
    double envelope_ = 0.0;            // current output
};

} // namespace qv
