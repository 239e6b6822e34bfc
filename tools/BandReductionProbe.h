// The largest gain reduction per band of a plug-in during a render, from the band gain readings
// it publishes for its editor, asked between process calls through our vendor-specific band
// meter query (shell/BandMeterReport.h). A plug-in that does not answer the query has no
// readings.
#pragma once

#include "shell/VstAbi.h"

namespace qv {

class BandReductionProbe {
public:
    static constexpr int kBands = 5;

    // Attaches when the plug-in answers the band meter query with five bands; returns whether
    // it did.
    bool attach(AEffect* plugin);
    // After a process call: takes the published readings.
    void sample();

    // Attached: the readings can be read.
    bool available() const { return attached_; }
    // The largest reduction band b (1..5) showed, in dB (0 for none; a reading of zero gain
    // counts as kFullReduction).
    double largestReductionDb(int band) const;
    // The reduction band b (1..5) showed at the last sample(), in dB (0 for none).
    double latestReductionDb(int band) const;

    static constexpr double kFullReduction = 200.0; // dB, for a gain of zero

private:
    AEffect* effect_ = nullptr; // the plug-in asked
    bool attached_ = false;     // it answers the query
    float lowest_[kBands] = {}; // lowest gain reading per band (0.1 = unity)
    float latest_[kBands] = {}; // gain reading per band at the last sample()
};

} // namespace qv
