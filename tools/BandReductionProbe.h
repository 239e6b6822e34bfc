// The largest gain reduction per band of our own plug-in during a render, from the band gain
// readings it publishes for its editor. A host sees no meters through the VST 2 interface, but
// the effect object behind AEffect::object is ours, built from the same headers by the same
// compiler, so its published readings can be read in place between process calls (the host's
// thread is the plug-in's audio thread then). A plug-in that does not identify itself as ours is
// never touched.
#pragma once

#include "shell/VstAbi.h"

class BandReductionProbe {
public:
    static constexpr int kBands = 5;

    // Attaches when the plug-in identifies itself as ours (unique ID, effect name and vendor);
    // returns whether it did.
    bool attach(AEffect* effect);
    // After a process call: takes the published readings.
    void sample();

    // Attached: the readings can be read.
    bool available() const { return attached; }
    // The largest reduction band b (1..5) showed, in dB (0 for none; a reading of zero gain
    // counts as kFullReduction).
    double largestReductionDb(int band) const;
    // The reduction band b (1..5) showed at the last sample(), in dB (0 for none).
    double latestReductionDb(int band) const;

    static constexpr double kFullReduction = 200.0; // dB, for a gain of zero

private:
    const void* engine = nullptr; // the plug-in's engine (a const MultibandEngine)
    bool attached = false;        // ours, and the readings can be read
    float lowest[kBands] = {};    // lowest gain reading per band (0.1 = unity)
    float latest[kBands] = {};    // gain reading per band at the last sample()
};
