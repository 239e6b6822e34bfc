// One drag step of a normalised parameter value in the domain it is edited in (level dB,
// threshold dB, ratio slope or the plain value), for the settings panel's boxes and the
// multi-control column. The result is a valid value 0..1 even for a working value out of range
// or NaN. Any thread.
#pragma once

#include "editor/CompressorQuantity.h"

namespace qv {

class ValueStep {
public:
    // How far one unit of drag delta moves each domain: dB for levels and thresholds, and the
    // gain of the ratio factor; the other quantities move by delta itself.
    struct Scale {
        double levelDb;
        double thresholdDb;
        double ratioGain;
    };

    // What a NaN working value does: read as the bottom of its range, the step moves from there
    // (the panel's boxes); kept, the step gives the bottom of the range, the ratio its limiting
    // end (the multi-control column).
    enum class Nan { FromBottom, Kept };

    // Level g = 48v - 24 dB moved by dB: above +24 gives 1, below -23.9 snaps to 0.
    static float level(float v, double dB, Nan nan = Nan::FromBottom);
    // The value of a level position in dB, limited and snapped as level() does (NaN gives 0).
    static float levelAt(double dB);
    // Threshold t = 40v - 40 dB moved by dB: above 0 gives 1, below -39.9 snaps to 0.
    static float threshold(float v, double dB, Nan nan = Nan::FromBottom);
    // Ratio slope x = 2 - 2v (at least 0.02) multiplied by factor: x above 2 gives 0, at most
    // 0.02 gives 1. Held in single precision as the ratio domain is.
    static float ratio(float v, double factor, Nan nan = Nan::FromBottom);
    // The ratio factor 1 / (1 + gain * delta) of a step delta (positive = up). A single step so
    // far down that the divisor would fall below kMinDivisor is limited to it, so a fast move
    // down never flips into a steep ratio.
    static double ratioFactor(double delta, double gain);
    // v + delta, limited to 0..1.
    static float normalised(float v, double delta, Nan nan = Nan::FromBottom);

    // One step of compressor quantity q by delta in its domain (switches do not move).
    static float quantity(CompressorQuantity q, float v, double delta, const Scale& scale);

    static constexpr double kMinDivisor = 0.02;
};

} // namespace qv
