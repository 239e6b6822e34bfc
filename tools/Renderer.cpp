#include "tools/Renderer.h"

#include "tools/BandReductionProbe.h"
#include "tools/PluginProcessor.h"
#include "tools/ProgressReporter.h"
#include "tools/Stopwatch.h"
#include "tools/WavReader.h"
#include "tools/WavWriter.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qv {

namespace {

// One block of frames in and out, both channels.
struct Block {
    explicit Block(std::size_t frames) : inL(frames), inR(frames), outL(frames), outR(frames) {}
    std::vector<float> inL, inR, outL, outR;
};

// The plug-in's latency into the result; false for one beyond belief.
bool acceptLatency(const AEffect* effect, RenderResult& result, std::string& error) {
    if (effect->initialDelay < 0 || effect->initialDelay > Renderer::kMaxLatency) {
        error = "the plug-in reports an absurd latency of " + std::to_string(effect->initialDelay) +
                " samples";
        return false;
    }
    result.latency = effect->initialDelay;
    return true;
}

// Reads up to a block of frames (`got` of them) and measures them; a NaN or infinity would poison
// the plug-in's filters for good, so it is sent as silence instead.
bool readInput(WavReader& reader, Block& block, std::size_t& got, RenderResult& result,
               std::string& error) {
    got = 0;
    if (!reader.read(block.inL.data(), block.inR.data(), block.inL.size(), got, error))
        return false;
    if (got == 0) return true;
    result.inputLevels.add(block.inL.data(), block.inR.data(), got);
    result.trace.addInput(block.inL.data(), block.inR.data(), got);
    for (float* channel : {block.inL.data(), block.inR.data()}) {
        for (std::size_t i = 0; i < got; ++i) {
            if (std::isfinite(channel[i])) continue;
            channel[i] = 0.0f;
            ++result.replacedInputSamples;
        }
    }
    return true;
}

// The band reductions the probe has read, as of `fed` frames.
void traceReductions(const BandReductionProbe& probe, std::uint64_t fed, RenderResult& result) {
    if (!probe.available()) return;
    RenderTrace::Reductions db;
    for (int b = 0; b < BandReductionProbe::kBands; ++b)
        db[static_cast<std::size_t>(b)] = static_cast<float>(probe.latestReductionDb(b + 1));
    result.trace.addReductions(fed, db);
}

// Writes the block's n output frames but the first of those still to be trimmed, measured.
bool writeOutput(WavWriter& writer, const Block& block, std::size_t n, std::uint64_t& toDrop,
                 RenderResult& result, std::string& error) {
    const auto skip = static_cast<std::size_t>(std::min<std::uint64_t>(toDrop, n));
    toDrop -= skip;
    if (n == skip) return true;
    const float* left = block.outL.data() + skip;
    const float* right = block.outR.data() + skip;
    if (!writer.write(left, right, n - skip, error)) return false;
    result.outputLevels.add(left, right, n - skip);
    result.trace.addOutput(left, right, n - skip);
    result.outputFrames += n - skip;
    return true;
}

} // namespace

bool Renderer::render(AEffect* effect, WavReader& reader, WavWriter& writer,
                      const RenderOptions& options, RenderResult& result, std::string& error) {
    result = RenderResult();
    if (!effect || !reader.isOpen() || !writer.isOpen() || options.block < 1) {
        error = "nothing to render";
        return false;
    }
    result.input = reader.format();
    if (!acceptLatency(effect, result, error)) return false;
    const auto latency = static_cast<std::uint64_t>(effect->initialDelay);
    result.trimmed = options.trimLatency;

    PluginProcessor processor;
    if (!processor.prepare(effect, options.block, error)) return false;
    BandReductionProbe probe;
    probe.attach(effect);
    Block block(static_cast<std::size_t>(options.block));

    const std::uint64_t totalFrames = reader.framesLeft() + latency; // frames fed to the plug-in
    std::uint64_t fed = 0;
    std::uint64_t toDrop = options.trimLatency ? latency : 0; // output frames still to skip
    ProgressReporter progress(options.progress, totalFrames, result.input.sampleRate,
                              options.progress != nullptr);
    result.trace.start(totalFrames, result.input.sampleRate);
    Stopwatch clock;
    while (fed < totalFrames) {
        std::size_t got = 0;
        if (!readInput(reader, block, got, result, error)) return false;
        // Past the end of the file the plug-in gets silence until its latency has come out.
        const auto n =
            static_cast<std::size_t>(std::min<std::uint64_t>(block.inL.size(), totalFrames - fed));
        std::fill(block.inL.begin() + static_cast<std::ptrdiff_t>(got), block.inL.begin() + n,
                  0.0f);
        std::fill(block.inR.begin() + static_cast<std::ptrdiff_t>(got), block.inR.begin() + n,
                  0.0f);
        processor.process(block.inL.data(), block.inR.data(), block.outL.data(), block.outR.data(),
                          static_cast<int>(n));
        probe.sample();
        fed += n;
        traceReductions(probe, fed, result);
        if (!writeOutput(writer, block, n, toDrop, result, error)) return false;
        progress.update(fed);
    }
    result.seconds = clock.seconds();
    const double audioSeconds = static_cast<double>(totalFrames) / result.input.sampleRate;
    result.realTimeFactor = result.seconds > 0.0 ? audioSeconds / result.seconds : 0.0;
    result.bandReductionKnown = probe.available();
    for (int b = 0; b < BandReductionProbe::kBands; ++b)
        result.bandReductionDb[b] = probe.largestReductionDb(b + 1);
    return true;
}

} // namespace qv
