#pragma once

// Settings for engine tests and benchmarks, applied through the unit setters with normalised
// values, the way the parameter layer does (crossover values are sent as frequency / 100).

#include "dsp/MultibandEngine.h"

#include <cmath>

namespace qv {
namespace engine_settings {

// "Freq" x: 1000 * 2.1^(8.2x - 4.4) Hz with single-precision constants, sent as Hz / 100 in
// 0.4..160.
inline float crossoverHundreds(float x) {
    const double hz = 1000.0 * std::pow(static_cast<double>(2.1f),
                                        static_cast<double>(8.2f) * x - static_cast<double>(4.4f));
    double hundreds = hz / 100.0;
    if (hundreds < 0.4) hundreds = 0.4;
    if (hundreds > 160.0) hundreds = 160.0;
    return static_cast<float>(hundreds);
}

// Crossover k (1 = "Freq1-2" .. 4 = "Freq4-5") at hz on both channels.
inline void setCrossoverHz(MultibandEngine& e, int k, double hz) {
    e.crossover(0).setCrossover(k, static_cast<float>(hz / 100.0));
    e.crossover(1).setCrossover(k, static_cast<float>(hz / 100.0));
}

struct BandSettings {
    float inLevel = 0.5f, outLevel = 0.5f, thresh = 1.0f, ratio = 0.75f, atkCurve = 0.0f,
          atk = 0.099941f, relMode = 0.0f, relM = 0.500189f, relA = 0.258503f, autoRelType = 1.0f,
          pwsw = 0.0f, compSw = 0.0f;
};

inline void applyBand(MultibandEngine& e, int band, const BandSettings& s) {
    BandCompressor& c = e.compressor(band);
    c.setInputLevel(s.inLevel);
    c.setOutputLevel(s.outLevel);
    c.setThreshold(s.thresh);
    c.setRatio(s.ratio);
    c.setAttackCurve(s.atkCurve);
    c.setAttack(s.atk);
    c.setReleaseMode(s.relMode);
    c.setManualRelease(s.relM);
    c.setAutoRelease(s.relA);
    c.setAutoReleaseType(s.autoRelType);
    c.setBandSwitch(s.pwsw);
    c.setCompSwitch(s.compSw);
}

inline void applyAllBands(MultibandEngine& e, const BandSettings& s) {
    for (int b = 1; b <= MultibandEngine::kBands; ++b)
        applyBand(e, b, s);
}

struct LimiterSettings {
    float ceiling = 0.998f, relSw = 0.0f, relM = 0.1f, relA = 0.40625f, clip = 1.0f, limSw = 0.0f;
};

inline void applyLimiter(MultibandEngine& e, const LimiterSettings& s) {
    BandLimiter& l = e.limiter();
    l.setCeiling(s.ceiling);
    l.setReleaseSwitch(s.relSw);
    l.setManualRelease(s.relM);
    l.setAutoRelease(s.relA);
    l.setClipShape(s.clip);
    l.setLimiterSwitch(s.limSw);
}

inline void applyLinks(MultibandEngine& e, float value) {
    for (int k = 1; k <= 4; ++k)
        e.linker().setLink(k, value);
}

// Program "Default" and the editor-state defaults (page B, band 1 selected, amplitude view,
// analyser on).
inline void applyDefaultProgram(MultibandEngine& e) {
    const float freq[4] = {0.893301f, 0.756096f, 0.430282f, 0.112988f};
    for (int k = 1; k <= 4; ++k) {
        e.crossover(0).setCrossover(k, crossoverHundreds(freq[k - 1]));
        e.crossover(1).setCrossover(k, crossoverHundreds(freq[k - 1]));
    }
    for (int c = 0; c < 2; ++c) {
        e.crossover(c).setFilterType(0.0f);
        e.crossover(c).setSlope(0.5f);
    }
    applyAllBands(e, BandSettings{});
    applyLinks(e, 0.5f);
    applyLimiter(e, LimiterSettings{});
    e.setDryOut(0.0f);
    e.setWetOut(1.0f);
    e.setMasterOut(0.5f);
    e.setMonitor(0.0f);
    e.setMeterSwitch(0.0f);
    e.setPanelPage(0.2f);
    e.setSelectedChannel(1.0f);
    e.setBandView(1.0f);
    e.setAnalyserPower(1.0f);
}

// Every band compressing hard with the soft attack curve, links on, master +24 dB so that the
// limiter works all the time.
inline void applyHeavy(MultibandEngine& e) {
    applyDefaultProgram(e);
    BandSettings s;
    s.thresh = 0.5f; // -20 dB
    s.ratio = 1.0f;
    s.atkCurve = 1.0f;
    s.atk = 0.2f;
    applyAllBands(e, s);
    applyLinks(e, 0.75f);
    e.setMasterOut(1.0f); // +24 dB
}

// Everything neutral: compressors bypassed, unity gains, wet only, limiter off.
inline void applyTransparent(MultibandEngine& e) {
    applyDefaultProgram(e);
    BandSettings s;
    s.compSw = 1.0f;
    applyAllBands(e, s);
    LimiterSettings l;
    l.limSw = 1.0f;
    applyLimiter(e, l);
}

} // namespace engine_settings
} // namespace qv
