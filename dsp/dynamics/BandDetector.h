#pragma once

#include "dsp/Relaxed.h"

#include "dsp/dynamics/AttackSmoother.h"
#include "dsp/dynamics/FollowerPair.h"
#include "dsp/dynamics/LevelHistory.h"
#include "dsp/dynamics/PeakHoldDetector.h"
#include "dsp/dynamics/RisingSmoothDetector.h"

#include <cmath>

namespace qv {

// The level detector of one compressor band: nine followers of which two run side by side,
// chosen by the attack curve ("AtkCurve": hard or soft) and release mode ("RelMode": manual or
// auto); the larger of their outputs is the level, and with the hard curve it then passes the
// attack smoother. Setters take the normalised parameter values (UI/parameter thread); push
// runs on the audio thread.
//
//   object            kind / rise                           release
//   attack smoother   coef40(atk), 0 below 0.01 ms           -
//   hard-manual peak  peak, instant                          halfLife(Rel_m time)
//   hard-manual rise  coef40((atk + 1) + 49)                 halfLife(0.05)
//   hard-auto rise    coef40((atk + 1) + 49 q)               halfLife(AutoRelType time)
//   hard-auto peak    peak, coef40(atk) or 0                 halfLife(0.0005)
//   soft-manual peak  peak, coef40(atk) or 0                 halfLife(Rel_m time)
//   soft-manual rise  coef40(2 (atk + 1) + 49)               halfLife(0.05)
//   soft-auto rise    coef40((atk + 1) + (atk + 1 + 49) q)   halfLife(AutoRelType time)
//   soft-auto peak    peak, coef40(atk) or 0                 halfLife(0.0005)
class BandDetector {
public:
    static constexpr int kRingLength = 32;

    BandDetector();

    // "Atk": attack time 1000 v^3 ms to the attack smoother, the three smoothed peaks and the
    // base time (atk + 1) of the four rise followers.
    void setAttack(float normalised);
    // "Rel_m": release time of the two manual peaks.
    void setManualRelease(float normalised);
    // "Rel_a": shape q = (1 - v)^2 of the two auto rise followers (base time kept).
    void setAutoRelease(float normalised);
    // "AutoRelType": 0.1 s or 0.5 s release of the two auto rise followers.
    void setAutoReleaseType(float normalised);
    // "AtkCurve": soft above 0.5. "RelMode": manual above 0.5. Flags only.
    void setAttackCurve(float normalised) { softCurve_ = normalised > 0.5f; }
    void setReleaseMode(float normalised) { manualRelease_ = normalised > 0.5f; }
    // Recomputes every follower's coefficients; nothing is cleared. Invalid rates are ignored.
    void setSampleRate(double fs);

    // Audio thread, for a run of frames samples of the band's L and R: detects the level
    // max(|L|, |R|) and writes finish(detected level) to out (which may be left or right). The
    // first sample after a change of attack curve clears the followers of the curve that is
    // left.
    template <class Finish>
    void process(const double* left, const double* right, double* out, int frames, Finish finish) {
        run(StereoMagnitude{left, right}, out, frames, finish);
    }
    // The same for levels max(|L|, |R|) already formed (out may be levels).
    template <class Finish>
    void processLevels(const double* levels, double* out, int frames, Finish finish) {
        run(GivenLevels{levels}, out, frames, finish);
    }
    // Levels (not negative) in, detected levels out, in place.
    void process(double* levels, int frames) {
        processLevels(levels, levels, frames, [](double level) { return level; });
    }
    // One sample.
    double push(double level) {
        process(&level, 1);
        return level;
    }

    // Clears all nine followers and their level histories (coefficients kept).
    void clear();
    // Forgets which curve ran last (full reset); the followers are not touched.
    void resetCurveLatch() { softCurveRan_ = false; }

    bool softCurve() const { return softCurve_; }
    bool manualRelease() const { return manualRelease_; }
    double attackTimeMs() const { return attackMs_; }

    const AttackSmoother& attackSmoother() const { return attackSmoother_; }
    const PeakHoldDetector& hardManualPeak() const { return hardManualPeak_; }
    const RisingSmoothDetector& hardManualRise() const { return hardManualRise_; }
    const RisingSmoothDetector& hardAutoRise() const { return hardAutoRise_; }
    const PeakHoldDetector& hardAutoPeak() const { return hardAutoPeak_; }
    const PeakHoldDetector& softManualPeak() const { return softManualPeak_; }
    const RisingSmoothDetector& softManualRise() const { return softManualRise_; }
    const RisingSmoothDetector& softAutoRise() const { return softAutoRise_; }
    const PeakHoldDetector& softAutoPeak() const { return softAutoPeak_; }

private:
    // process on the levels levelAt(i) (see runFollowerPair).
    template <class LevelAt, class Finish>
    void run(LevelAt levelAt, double* out, int frames, Finish finish) {
        if (!softCurve_) {
            if (softCurveRan_) {
                clearSoft();
                softCurveRan_ = false;
            }
            AttackSmoother::Run smoother = attackSmoother_.begin();
            const auto smoothed = [&smoother, &finish](double e) {
                return finish(smoother.push(e));
            };
            if (manualRelease_)
                runFollowerPair<kRingLength>(hardManualHistory_, hardManualPeak_, hardManualRise_,
                                             levelAt, out, frames, smoothed);
            else
                runFollowerPair<kRingLength>(hardAutoHistory_, hardAutoPeak_, hardAutoRise_,
                                             levelAt, out, frames, smoothed);
            attackSmoother_.end(smoother);
            return;
        }
        if (!softCurveRan_) {
            clearHard();
            softCurveRan_ = true;
        }
        if (manualRelease_)
            runFollowerPair<kRingLength>(softManualHistory_, softManualPeak_, softManualRise_,
                                         levelAt, out, frames, finish);
        else
            runFollowerPair<kRingLength>(softAutoHistory_, softAutoPeak_, softAutoRise_, levelAt,
                                         out, frames, finish);
    }

    void clearHard();
    void clearSoft();

    AttackSmoother attackSmoother_;       // hard curve: smooths the pair's maximum
    PeakHoldDetector hardManualPeak_;     // hard, manual release
    RisingSmoothDetector hardManualRise_; // hard, manual release
    RisingSmoothDetector hardAutoRise_;   // hard, auto release
    PeakHoldDetector hardAutoPeak_;       // hard, auto release
    PeakHoldDetector softManualPeak_;     // soft, manual release
    RisingSmoothDetector softManualRise_; // soft, manual release
    RisingSmoothDetector softAutoRise_;   // soft, auto release
    PeakHoldDetector softAutoPeak_;       // soft, auto release
    // Input levels of each pair that runs side by side (the floor of their releases); a pair
    // that does not run keeps its history, as its followers keep their state.
    LevelHistory hardManualHistory_{kRingLength};
    LevelHistory hardAutoHistory_{kRingLength};
    LevelHistory softManualHistory_{kRingLength};
    LevelHistory softAutoHistory_{kRingLength};

    double attackMs_ = 0.0;               // attack time from "Atk"
    Relaxed<bool> softCurve_ = false;     // "AtkCurve" above 0.5
    Relaxed<bool> manualRelease_ = false; // "RelMode" above 0.5
    bool softCurveRan_ = false; // curve of the last sample run (latch for the one-time clear)
};

} // namespace qv
