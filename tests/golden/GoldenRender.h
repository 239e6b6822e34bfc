// Golden renders: short, fixed renders of the whole effect through its AEffect record (the way a
// host drives it), for a few programs and the heavy setting. The native build must reproduce a
// stored hash of every output sample's bits; each DLL must reproduce its stored probe samples
// within 1e-6. A change meant to keep the sound checks itself against them; a change meant to
// alter it regenerates the references (QV_GOLDEN_PRINT=1 prints them) and says so.
#pragma once

#include "params/ParameterIndex.h"
#include "shell/VstAbi.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

namespace qv {

namespace golden {

constexpr int kBlock = 512;
constexpr int kBlocks = 48; // 24,576 frames: 0.56 s at 44.1 kHz
constexpr float kSampleRate = 44100.0f;
constexpr int kProbes = 8;                               // output samples compared for the DLLs
constexpr int kProbeStride = kBlock * kBlocks / kProbes; // frames between probes
constexpr int kFirstProbe = 1000;                        // past the 838 samples of latency

struct Case {
    const char* name;
    int program;                                 // factory program set first
    std::vector<std::pair<int, float>> settings; // then these parameters, in this order
};

// Every band compressing hard with the soft attack curve, links at 75 %, the limiter working.
inline std::vector<std::pair<int, float>> heavySettings() {
    std::vector<std::pair<int, float>> s;
    for (int band = 1; band <= qv::kNumBands; ++band) {
        s.push_back({qv::param::threshIndex(band), 0.5f}); // -20 dB
        s.push_back({qv::param::ratioIndex(band), 1.0f});
        s.push_back({qv::param::atkCurveIndex(band), 1.0f});
        s.push_back({qv::param::atkIndex(band), 0.2f});
    }
    for (int link = 1; link <= qv::kNumLinks; ++link)
        s.push_back({qv::param::redLinkIndex(link), 0.75f});
    s.push_back({qv::param::kMasterOut, 1.0f}); // +24 dB
    return s;
}

inline const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"default", 0, {}},   {"program 1", 1, {}},          {"program 5", 5, {}},
        {"program 9", 9, {}}, {"heavy", 0, heavySettings()},
    };
    return all;
}

struct Result {
    std::uint64_t hash = 1469598103934665603ULL; // FNV-1a over every output sample's bits
    double probes[kProbes] = {};                 // left output at the probe frames
};

// Renders one case through a fresh (or freshly reset) effect.
inline Result render(AEffect* e, const Case& c) {
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, kSampleRate);
    e->dispatcher(e, effSetBlockSize, 0, kBlock, nullptr, 0.0f);
    e->dispatcher(e, effSetProgram, 0, c.program, nullptr, 0.0f);
    for (const auto& [index, value] : c.settings)
        e->setParameter(e, index, value);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);

    std::mt19937 random(99);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::vector<float> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
    Result result;
    int probe = 0;
    for (int b = 0; b < kBlocks; ++b) {
        const float envelope = (b / 6) % 2 ? 0.9f : 0.25f; // loud and quiet stretches
        for (int i = 0; i < kBlock; ++i) {
            inL[i] = envelope * unit(random);
            inR[i] = envelope * unit(random);
        }
        float* inputs[2] = {inL.data(), inR.data()};
        float* outputs[2] = {outL.data(), outR.data()};
        e->processReplacing(e, inputs, outputs, kBlock);
        for (int i = 0; i < kBlock; ++i) {
            for (float v : {outL[i], outR[i]}) {
                std::uint32_t bits;
                std::memcpy(&bits, &v, sizeof bits);
                result.hash = (result.hash ^ bits) * 1099511628211ULL;
            }
            const int frame = b * kBlock + i;
            if (probe < kProbes && frame == kFirstProbe + probe * kProbeStride)
                result.probes[probe++] = outL[i];
        }
    }
    return result;
}

// The references as C++ initialisers, for regenerating them.
inline void print(const Case& c, const Result& r) {
    std::printf("    {\"%s\", 0x%016llxULL, {", c.name, static_cast<unsigned long long>(r.hash));
    for (int p = 0; p < kProbes; ++p)
        std::printf("%s%.9g", p ? ", " : "", r.probes[p]);
    std::printf("}},\n");
}

} // namespace golden

} // namespace qv
