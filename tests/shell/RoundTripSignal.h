// The sound a save/restore round trip is judged by, shared by the native test of the effect and
// the test of both DLLs.
#pragma once

#include "shell/VstAbi.h"

#include <array>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace qv {

namespace round_trip {

constexpr int kFrames = 4096;
constexpr int kBlock = 512;
constexpr int kBurst = 1024; // frames of each loud or quiet stretch, so releases are heard

using Stereo = std::array<std::vector<float>, 2>;

// A tone in every band (the lowest above 0 dBFS, so that even a 0 dB threshold of band 5 is
// crossed) over a little noise, alternating between loud and quiet stretches.
inline Stereo makeSignal() {
    const double kPi = 3.14159265358979323846, kRate = 44100.0;
    const struct {
        double hz, amplitude;
    } tones[] = {{50.0, 1.2}, {300.0, 0.4}, {2000.0, 0.4}, {6000.0, 0.4}, {12000.0, 0.4}};
    std::mt19937 rng(1107);
    std::uniform_real_distribution<double> unit(-0.2, 0.2);
    Stereo s = {std::vector<float>(kFrames), std::vector<float>(kFrames)};
    for (int i = 0; i < kFrames; ++i) {
        const double level = (i / kBurst) % 2 ? 0.03 : 1.0;
        double sum = 0.0;
        for (const auto& tone : tones)
            sum += tone.amplitude * std::sin(2.0 * kPi * tone.hz * i / kRate);
        for (int ch = 0; ch < 2; ++ch)
            s[ch][i] = static_cast<float>(level * (sum + unit(rng)));
    }
    return s;
}

// The signal through the record's processReplacing, in host blocks.
inline Stereo render(AEffect* effect) {
    static const Stereo in = makeSignal();
    Stereo out = {std::vector<float>(kFrames), std::vector<float>(kFrames)};
    for (int start = 0; start < kFrames; start += kBlock) {
        float* inputs[2] = {const_cast<float*>(in[0].data()) + start,
                            const_cast<float*>(in[1].data()) + start};
        float* outputs[2] = {out[0].data() + start, out[1].data() + start};
        effect->processReplacing(effect, inputs, outputs, kBlock);
    }
    return out;
}

inline bool sameBits(const Stereo& a, const Stereo& b) {
    return std::memcmp(a[0].data(), b[0].data(), kFrames * sizeof(float)) == 0 &&
           std::memcmp(a[1].data(), b[1].data(), kFrames * sizeof(float)) == 0;
}

// A value on the other side of every switch and step threshold.
inline float edited(float v) {
    return v > 0.5f ? v * 0.4f : 0.6f + v * 0.4f;
}

} // namespace round_trip

} // namespace qv
