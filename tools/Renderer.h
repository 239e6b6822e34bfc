// Runs a WAV file through a started plug-in, block by block, into a WAV writer: optionally
// trims the plug-in's reported latency so the output lines up with the input, and measures the
// levels on both sides. The caller's thread is the plug-in's audio thread while this runs.
#pragma once

#include "shell/VstAbi.h"
#include "tools/BandReductionProbe.h"
#include "tools/LevelMeter.h"
#include "tools/RenderTrace.h"
#include "tools/WavFormat.h"

#include <cstdio>
#include <string>

namespace qv {

class WavReader;
class WavWriter;

struct RenderOptions {
    bool trimLatency = false;      // drop the latency at the start, feed it as silence at the end
    int block = 512;               // frames per process call
    std::FILE* progress = nullptr; // where progress lines go; null: none
};

struct RenderResult {
    WavFormat input;                        // what was read
    std::uint64_t outputFrames = 0;         // frames written
    VstInt32 latency = 0;                   // the plug-in's initialDelay, in samples
    bool trimmed = false;                   // whether the latency was trimmed
    LevelMeter inputLevels;                 // of the file's samples
    LevelMeter outputLevels;                // of the written samples
    std::uint64_t replacedInputSamples = 0; // NaN/Inf input samples sent as 0
    double seconds = 0.0;                   // wall-clock time of the processing
    double realTimeFactor = 0.0;            // audio duration / wall-clock time
    bool bandReductionKnown = false;        // the plug-in is ours and its band meters were read
    double bandReductionDb[BandReductionProbe::kBands] =
        {};            // largest gain reduction per band (1..5), dB
    RenderTrace trace; // levels and band reductions over time
};

class Renderer {
public:
    // Latencies beyond this many samples are taken for a broken record.
    static constexpr VstInt32 kMaxLatency = 1 << 24;

    // The plug-in must be loaded, configured for the file's rate and resumed. Without trimming
    // the output is the input's length plus the latency (the tail is fed as silence); with
    // trimming it is the input's length.
    static bool render(AEffect* effect, WavReader& reader, WavWriter& writer,
                       const RenderOptions& options, RenderResult& result, std::string& error);
};

} // namespace qv
