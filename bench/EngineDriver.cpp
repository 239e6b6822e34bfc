// Runs the engine over a fixed number of 512-frame blocks, for instruction counts:
//   valgrind --tool=callgrind --toggle-collect='qv::MultibandEngine::process*'
//       qv_engine_driver heavy 400
// A third argument names a file that receives every output sample (float32, L R interleaved),
// for measuring by how much a change moved the output.
// Instructions per stereo frame = collected Ir / (blocks * 512).
// It prints a hash of every output sample's and published reading's bits and the engine's size, so
// a change meant to keep the output bit for bit can be checked against the previous build.

#include "dsp/MultibandEngine.h"
#include "tests/dsp/EngineSettings.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

int main(int argc, char** argv) {
    const bool heavy = argc > 1 && std::strcmp(argv[1], "heavy") == 0;
    const int blocks = argc > 2 ? std::atoi(argv[2]) : 400;
    const int kBlock = 512;

    auto engine = std::make_unique<qv::MultibandEngine>();
    if (heavy)
        qv::engine_settings::applyHeavy(*engine);
    else
        qv::engine_settings::applyDefaultProgram(*engine);

    std::mt19937 rng(99);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    const float amplitude = heavy ? 0.9f : 0.5f;
    std::vector<float> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
    std::FILE* dump = argc > 3 ? std::fopen(argv[3], "wb") : nullptr;
    if (argc > 3 && dump == nullptr) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    double check = 0.0;
    std::uint64_t hash = 1469598103934665603ULL; // FNV-1a over every output sample's bits
    for (int b = 0; b < blocks; ++b) {
        for (int i = 0; i < kBlock; ++i) {
            const float envelope = (b / 6) % 2 ? 1.0f : 0.3f;
            inL[i] = amplitude * envelope * unit(rng);
            inR[i] = amplitude * envelope * unit(rng);
        }
        float* inputs[2] = {inL.data(), inR.data()};
        float* outputs[2] = {outL.data(), outR.data()};
        engine->process(inputs, outputs, kBlock, false);
        check += outL[0] + outR[kBlock - 1];
        // The published readings too, so that a change to the meters is checked as well.
        const int bands = qv::MultibandEngine::kBands;
        float readings[2 * bands + 4];
        for (int band = 1; band <= bands; ++band) {
            readings[2 * band - 2] = engine->bandLevel(band);
            readings[2 * band - 1] = engine->bandGain(band);
        }
        for (int c = 0; c < 2; ++c) {
            readings[2 * bands + c] = engine->outPeak(c);
            readings[2 * bands + 2 + c] = engine->outRms(c);
        }
        for (float v : readings) {
            std::uint32_t bits;
            std::memcpy(&bits, &v, sizeof bits);
            hash = (hash ^ bits) * 1099511628211ULL;
        }
        for (int i = 0; i < kBlock; ++i) {
            for (float v : {outL[i], outR[i]}) {
                std::uint32_t bits;
                std::memcpy(&bits, &v, sizeof bits);
                hash = (hash ^ bits) * 1099511628211ULL;
            }
            if (dump != nullptr) {
                const float frame[2] = {outL[i], outR[i]};
                std::fwrite(frame, sizeof frame, 1, dump);
            }
        }
    }
    if (dump != nullptr) std::fclose(dump);
    std::printf(
        "%s: %d blocks of %d frames, checksum %.9g, output hash %016llx, engine %zu bytes\n",
        heavy ? "heavy" : "default", blocks, kBlock, check, static_cast<unsigned long long>(hash),
        sizeof(qv::MultibandEngine));
    return 0;
}
