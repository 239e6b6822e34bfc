// The native build of the effect (no editor) rendering raw audio the way our host renders a file
// through a DLL: open, sample rate, block size 512, program, resume, then the input followed by
// the latency's worth of silence, all frames written. Lets a DLL's render be compared with the
// native build on the same input.
//   qv_native_render <in.raw> <sample rate> <program> <out.raw>
// Raw files are interleaved stereo 32-bit floats in the machine's byte order.
#include "shell/MultibandEffectBase.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace qv {

namespace {

constexpr VstInt32 kBlock = 512;
constexpr int kChannels = 2;

VstIntPtr QV_CDECL hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2300 : 0;
}

bool readFloats(const char* path, std::vector<float>& data) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    float buffer[4096];
    while (std::size_t n = std::fread(buffer, sizeof(float), 4096, f))
        data.insert(data.end(), buffer, buffer + n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "qv_native_render: %s\n", message.c_str());
    return 1;
}

} // namespace

} // namespace qv

int main(int argc, char** argv) {
    using namespace qv;
    if (argc != 5)
        return fail("usage: qv_native_render <in.raw> <sample rate> <program> <out.raw>");
    std::vector<float> input;
    if (!readFloats(argv[1], input) || input.size() % kChannels != 0)
        return fail(std::string("cannot read stereo frames from ") + argv[1]);
    const float rate = std::strtof(argv[2], nullptr);
    const long program = std::strtol(argv[3], nullptr, 10);
    if (!(rate > 0.0f) || program < 0 || program >= 20) return fail("bad sample rate or program");

    auto effect = std::make_unique<MultibandEffectBase>(&hostCallback);
    AEffect* e = effect->getAeffect();
    e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, rate);
    e->dispatcher(e, effSetBlockSize, 0, kBlock, nullptr, 0.0f);
    e->dispatcher(e, effSetProgram, 0, program, nullptr, 0.0f);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);

    const std::size_t inputFrames = input.size() / kChannels;
    const std::size_t totalFrames = inputFrames + static_cast<std::size_t>(e->initialDelay);
    std::vector<float> output;
    output.reserve(totalFrames * kChannels);
    std::vector<float> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
    for (std::size_t pos = 0; pos < totalFrames; pos += kBlock) {
        const std::size_t n = std::min<std::size_t>(kBlock, totalFrames - pos);
        for (std::size_t i = 0; i < n; ++i) {
            const bool inside = pos + i < inputFrames;
            inL[i] = inside ? input[(pos + i) * kChannels] : 0.0f;
            inR[i] = inside ? input[(pos + i) * kChannels + 1] : 0.0f;
        }
        float* ins[kChannels] = {inL.data(), inR.data()};
        float* outs[kChannels] = {outL.data(), outR.data()};
        e->processReplacing(e, ins, outs, static_cast<VstInt32>(n));
        for (std::size_t i = 0; i < n; ++i) {
            output.push_back(outL[i]);
            output.push_back(outR[i]);
        }
    }
    e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0.0f);

    std::FILE* f = std::fopen(argv[4], "wb");
    if (!f) return fail(std::string("cannot create ") + argv[4]);
    const bool written =
        std::fwrite(output.data(), sizeof(float), output.size(), f) == output.size();
    if (std::fclose(f) != 0 || !written) return fail(std::string("cannot write ") + argv[4]);
    return 0;
}
