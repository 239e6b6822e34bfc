// The texts of the settings panel's value boxes: each formats a parameter's normalised value in
// its unit. Every function writes at most kSize bytes including the terminator. Any thread.
#pragma once

#include "editor/CompressorQuantity.h"

namespace qv {

class ValueText {
public:
    static constexpr int kSize = 16;

    // Ratio r = 1 / (2 - 2v) as "r : 1".
    static void ratio(float v, char* text);
    // Threshold t = 40v - 40 dB.
    static void threshold(float v, char* text);
    // Input and output level g = 48v - 24 dB.
    static void level(float v, char* text);
    // Attack time a = 1000 v^3 ms.
    static void attackTime(float v, char* text);
    // Manual release time m = 999.99 v^3 + 0.01 ms (bands and limiter).
    static void releaseTime(float v, char* text);
    // Automatic release depth d = 100v percent (bands and limiter).
    static void releaseDepth(float v, char* text);
    // Limiter ceiling c = 6v - 6 dB.
    static void ceiling(float v, char* text);
    // Any compressor quantity; the switches as their words ("Hard"/"Soft", "Auto"/"Manual",
    // "Dynamic"/"Smooth").
    static void quantity(CompressorQuantity q, float v, char* text);
};

} // namespace qv
