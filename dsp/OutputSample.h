#pragma once

namespace qv {

// The pipeline's stereo output narrowed for the host: outC[k] = (float)inC[k]. Audio thread.
//
// In the SSE build floats live in SSE registers and doubles on the x87 unit, so the compiler
// narrows through a stack slot and copies the float on with two integer moves; there the x87
// unit stores the rounded float straight into the host's buffer (the same rounding: to nearest,
// from the double's exact value).
inline void narrowSamples(const double* inL, const double* inR, float* outL, float* outR,
                          int frames) {
    for (int k = 0; k < frames; ++k) {
#if defined(__GNUC__) && defined(__i386__) && !defined(__SSE2_MATH__)
        asm("fstps %0" : "=m"(outL[k]) : "t"(inL[k]) : "st");
        asm("fstps %0" : "=m"(outR[k]) : "t"(inR[k]) : "st");
#else
        outL[k] = static_cast<float>(inL[k]);
        outR[k] = static_cast<float>(inR[k]);
#endif
    }
}

} // namespace qv
