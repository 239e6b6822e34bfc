// qvhost: loads a VST 2 plug-in DLL in our own host, prints what it reports and processes audio.
//   qvhost info <plugin.dll>
//   qvhost run <plugin.dll> [--seconds S] [--rate HZ] [--block N]
#include "tools/PluginHost.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int usage() {
    std::fprintf(stderr, "usage: qvhost info <plugin.dll>\n"
                         "       qvhost run <plugin.dll> [--seconds S] [--rate HZ] [--block N]\n");
    return 2;
}

std::string fourChars(VstInt32 id) {
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((id >> shift) & 0xff);
    return s;
}

void printIdentity(PluginHost& host) {
    AEffect* e = host.effect();
    std::printf("effect name    : %s\n", host.dispatchString(effGetEffectName).c_str());
    std::printf("vendor         : %s (version %ld)\n",
                host.dispatchString(effGetVendorString).c_str(),
                static_cast<long>(host.dispatch(effGetVendorVersion)));
    std::printf("product        : %s\n", host.dispatchString(effGetProductString).c_str());
    std::printf("unique id      : %s  version %d  VST %ld\n", fourChars(e->uniqueID).c_str(),
                e->version, static_cast<long>(host.dispatch(effGetVstVersion)));
    std::printf("i/o            : %d in, %d out, flags %d, latency %d samples\n", e->numInputs,
                e->numOutputs, e->flags, e->initialDelay);
    std::printf("parameters     : %d, programs %d\n", e->numParams, e->numPrograms);
}

// A few seconds of a stereo test signal: two detuned tones with a slow tremolo and some noise.
void fillTestSignal(std::vector<float>& left, std::vector<float>& right, float rate) {
    const double kPi = 3.14159265358979323846;
    unsigned noise = 12345u;
    for (size_t i = 0; i < left.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        noise = noise * 1664525u + 1013904223u;
        const double n = (static_cast<double>(noise >> 8) / 16777216.0 - 0.5) * 0.05;
        const double swell = 0.5 + 0.4 * std::sin(2 * kPi * 0.5 * t);
        left[i] = static_cast<float>(swell * 0.6 * std::sin(2 * kPi * 110.0 * t) + n);
        right[i] = static_cast<float>(swell * 0.6 * std::sin(2 * kPi * 165.0 * t + 0.3) + n);
    }
}

double peakDb(const std::vector<float>& x) {
    float peak = 0.0f;
    for (float v : x) peak = std::fmax(peak, std::fabs(v));
    return peak > 0.0f ? 20.0 * std::log10(peak) : -INFINITY;
}

int run(PluginHost& host, double seconds, float rate, int block) {
    const size_t frames = static_cast<size_t>(seconds * rate);
    std::vector<float> inL(frames), inR(frames), outL(frames), outR(frames);
    fillTestSignal(inL, inR, rate);
    host.start(rate, block);
    for (size_t pos = 0; pos < frames; pos += static_cast<size_t>(block)) {
        const VstInt32 n = static_cast<VstInt32>(std::min<size_t>(block, frames - pos));
        float* in[2] = {inL.data() + pos, inR.data() + pos};
        float* out[2] = {outL.data() + pos, outR.data() + pos};
        host.effect()->processReplacing(host.effect(), in, out, n);
    }
    host.stop();
    std::printf("processed      : %zu frames at %.0f Hz in blocks of %d\n", frames, rate, block);
    std::printf("input peak     : %.2f dBFS L, %.2f dBFS R\n", peakDb(inL), peakDb(inR));
    std::printf("output peak    : %.2f dBFS L, %.2f dBFS R\n", peakDb(outL), peakDb(outR));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string command = argv[1];
    const std::string path = argv[2];
    double seconds = 3.0;
    float rate = 44100.0f;
    int block = 512;
    for (int i = 3; i < argc; ++i) {
        const std::string opt = argv[i];
        if (i + 1 >= argc) return usage();
        char* end = nullptr;
        const double v = std::strtod(argv[++i], &end);
        if (!end || *end || !std::isfinite(v) || v <= 0) {
            std::fprintf(stderr, "qvhost: %s needs a positive number, not \"%s\"\n", opt.c_str(),
                         argv[i]);
            return 2;
        }
        if (opt == "--seconds" && v <= 600)
            seconds = v;
        else if (opt == "--rate" && v <= 768000)
            rate = static_cast<float>(v);
        else if (opt == "--block" && v <= 65536)
            block = static_cast<int>(v);
        else
            return usage();
    }
    if (command != "info" && command != "run") return usage();

    PluginHost host;
    std::string error;
    if (!host.load(path, error)) {
        std::fprintf(stderr, "qvhost: %s\n", error.c_str());
        return 1;
    }
    std::printf("plug-in        : %s\n", path.c_str());
    printIdentity(host);
    int status = command == "run" ? run(host, seconds, rate, block) : 0;
    host.unload();
    return status;
}
