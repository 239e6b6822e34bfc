#include "tools/PluginBench.h"

#include "tools/PluginProcessor.h"
#include "tools/ProgrammeGenerator.h"
#include "tools/Stopwatch.h"

#include <algorithm>

namespace qv {

bool PluginBench::run(PluginHost& host, const BenchOptions& options, BenchResult& result,
                      std::string& error) {
    result = BenchResult();
    AEffect* effect = host.effect();
    if (!effect || options.block < 1 || options.runs < 1 || !(options.seconds > 0.0)) {
        error = "nothing to benchmark";
        return false;
    }
    // The whole programme is generated up front so that only the plug-in is timed.
    ProgrammeGenerator programme(kSampleRate, options.seconds);
    const auto frames = static_cast<std::size_t>(programme.totalFrames());
    std::vector<float> inL(frames), inR(frames), outL(frames), outR(frames);
    programme.generate(inL.data(), inR.data(), frames);

    PluginProcessor processor;
    if (!processor.prepare(effect, options.block, error)) return false;
    host.configure(static_cast<float>(kSampleRate), options.block);
    for (int run = 0; run < options.runs; ++run) {
        host.stop(); // suspend and resume: every run starts from the same state
        host.resume();
        Stopwatch clock;
        for (std::size_t pos = 0; pos < frames; pos += static_cast<std::size_t>(options.block)) {
            const int n = static_cast<int>(
                std::min<std::size_t>(static_cast<std::size_t>(options.block), frames - pos));
            processor.process(inL.data() + pos, inR.data() + pos, outL.data() + pos,
                              outR.data() + pos, n);
        }
        result.runSeconds.push_back(clock.seconds());
    }
    host.stop();

    std::vector<double> sorted = result.runSeconds;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t mid = sorted.size() / 2;
    result.medianSeconds = sorted.size() % 2 ? sorted[mid] : 0.5 * (sorted[mid - 1] + sorted[mid]);
    result.frames = frames;
    if (frames > 0 && result.medianSeconds > 0.0) {
        result.nsPerFrame = result.medianSeconds * 1e9 / static_cast<double>(frames);
        result.realTimeFactor = static_cast<double>(frames) / kSampleRate / result.medianSeconds;
    }
    return true;
}

} // namespace qv
