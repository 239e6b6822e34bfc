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

bool Renderer::render(AEffect* effect, WavReader& reader, WavWriter& writer,
                      const RenderOptions& options, RenderResult& result, std::string& error) {
    result = RenderResult();
    if (!effect || !reader.isOpen() || !writer.isOpen() || options.block < 1) {
        error = "nothing to render";
        return false;
    }
    result.input = reader.format();
    if (effect->initialDelay < 0 || effect->initialDelay > kMaxLatency) {
        error = "the plug-in reports an absurd latency of " + std::to_string(effect->initialDelay) +
                " samples";
        return false;
    }
    const auto latency = static_cast<std::uint64_t>(effect->initialDelay);
    result.latency = effect->initialDelay;
    result.trimmed = options.trimLatency;

    PluginProcessor processor;
    if (!processor.prepare(effect, options.block, error)) return false;
    BandReductionProbe probe;
    probe.attach(effect);
    const auto block = static_cast<std::size_t>(options.block);
    std::vector<float> inL(block), inR(block), outL(block), outR(block);

    const std::uint64_t inputFrames = reader.framesLeft();
    const std::uint64_t totalFrames = inputFrames + latency; // frames fed to the plug-in
    std::uint64_t fed = 0;
    std::uint64_t toDrop = options.trimLatency ? latency : 0; // output frames still to skip
    ProgressReporter progress(options.progress, totalFrames, result.input.sampleRate,
                              options.progress != nullptr);
    result.trace.start(totalFrames, result.input.sampleRate);
    Stopwatch clock;
    while (fed < totalFrames) {
        std::size_t got = 0;
        if (!reader.read(inL.data(), inR.data(), block, got, error)) return false;
        if (got > 0) {
            result.inputLevels.add(inL.data(), inR.data(), got);
            result.trace.addInput(inL.data(), inR.data(), got);
        }
        // Past the end of the file the plug-in gets silence until its latency has come out.
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(block, totalFrames - fed));
        std::fill(inL.begin() + static_cast<std::ptrdiff_t>(got), inL.begin() + n, 0.0f);
        std::fill(inR.begin() + static_cast<std::ptrdiff_t>(got), inR.begin() + n, 0.0f);
        // A NaN or infinity would poison the plug-in's filters for good: send silence instead.
        for (float* channel : {inL.data(), inR.data()}) {
            for (std::size_t i = 0; i < got; ++i) {
                if (std::isfinite(channel[i])) continue;
                channel[i] = 0.0f;
                ++result.replacedInputSamples;
            }
        }
        processor.process(inL.data(), inR.data(), outL.data(), outR.data(), static_cast<int>(n));
        probe.sample();
        fed += n;
        if (probe.available()) {
            RenderTrace::Reductions db;
            for (int b = 0; b < BandReductionProbe::kBands; ++b)
                db[static_cast<std::size_t>(b)] =
                    static_cast<float>(probe.latestReductionDb(b + 1));
            result.trace.addReductions(fed, db);
        }

        const auto skip = static_cast<std::size_t>(std::min<std::uint64_t>(toDrop, n));
        toDrop -= skip;
        if (n > skip) {
            if (!writer.write(outL.data() + skip, outR.data() + skip, n - skip, error))
                return false;
            result.outputLevels.add(outL.data() + skip, outR.data() + skip, n - skip);
            result.trace.addOutput(outL.data() + skip, outR.data() + skip, n - skip);
            result.outputFrames += n - skip;
        }
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
