#include "tools/validate/AudioTests.h"

#include "tools/validate/TestInstance.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qv {

namespace {

constexpr float kValidRates[] = {8000.0f,   11025.0f,  16000.0f, 22050.0f, 32000.0f,
                                 44100.0f,  48000.0f,  88200.0f, 96000.0f, 176400.0f,
                                 192000.0f, 352800.0f, 384000.0f};
constexpr double kSecondsPerRate = 0.25;
constexpr std::size_t kCompareFrames = 66150; // 1.5 s at 44.1 kHz
constexpr int kLargestBlock = 8192;
// Block sizes around every power of two up to the largest, then a random mix.
constexpr int kBlockSizes[] = {1,    2,    3,    4,    5,    7,    8,    15,   16,   17,
                               31,   32,   33,   63,   64,   65,   100,  127,  128,  129,
                               255,  256,  257,  500,  511,  512,  513,  1000, 1023, 1024,
                               1025, 2047, 2048, 2049, 4095, 4096, 4097, 8191, 8192};
constexpr int kAnnouncedBlock = 64; // a host that then sends blocks of kLargestBlock

std::string rateText(float rate) {
    char text[32];
    std::snprintf(text, sizeof text, "%g Hz", static_cast<double>(rate));
    return text;
}

// The reference: the signal in blocks of 512 from a fresh instance at 44.1 kHz.
StereoSignal reference(TestContext& context, const StereoSignal& in) {
    TestInstance instance(context.library);
    instance.start(TestContext::kSampleRate, TestContext::kBlock);
    return instance.render(in, TestContext::kBlock);
}

// Compares with the reference: required of our plug-in, only reported for a foreign one (which
// may legitimately work in host-sized blocks).
void expectSame(TestContext& context, const StereoSignal& expected, const StereoSignal& got,
                const std::string& what) {
    const SignalDifference d = compareSignals(expected, got);
    if (!d.frames) return;
    if (context.traits.ours())
        context.fail(what + " differs from blocks of 512: " + d.describe());
    else
        context.note(what + " differs from blocks of 512 (reported only): " + d.describe());
}

} // namespace

void AudioTests::addTo(ValidationRunner& runner) {
    runner.add("audio.sample_rates", sampleRates);
    runner.add("audio.absurd_sample_rates", absurdSampleRates);
    runner.add("audio.block_sizes", blockSizes);
    runner.add("audio.zero_frames", zeroFrames);
    runner.add("audio.oversized_blocks", oversizedBlocks);
    runner.add("audio.in_place", inPlace);
    runner.add("audio.accumulating", accumulating);
    runner.add("audio.bad_input", badInput);
}

void AudioTests::sampleRates(TestContext& context) {
    TestInstance instance(context.library);
    if (!context.require(instance)) return;
    for (float rate : kValidRates) {
        instance.suspend();
        instance.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        instance.dispatch(effSetBlockSize, 0, TestContext::kBlock);
        instance.resume();
        const StereoSignal in =
            StereoSignal::programme(rate, static_cast<std::size_t>(rate * kSecondsPerRate));
        const StereoSignal out = instance.render(in, TestContext::kBlock);
        if (!context.checkOutput(instance, out, "at " + rateText(rate))) return;
    }
    context.note(std::to_string(std::size(kValidRates)) +
                 " rates from 8 kHz to 384 kHz: clean output");
}

void AudioTests::absurdSampleRates(TestContext& context) {
    const float absurd[] = {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(), 1e9f};
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, kCompareFrames);
    const StereoSignal expected = reference(context, in);
    TestInstance instance(context.library);
    if (!context.require(instance)) return;
    StereoSignal out(in.frames());
    for (float rate : absurd) {
        instance.suspend();
        instance.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        instance.resume();
        instance.process(in, out, 0, TestContext::kBlock);
        StereoSignal block(TestContext::kBlock);
        std::copy_n(out.left.begin(), TestContext::kBlock, block.left.begin());
        std::copy_n(out.right.begin(), TestContext::kBlock, block.right.begin());
        if (!context.checkOutput(instance, block, "at a sample rate of " + rateText(rate))) return;
    }
    instance.suspend();
    instance.start(TestContext::kSampleRate, TestContext::kBlock);
    const StereoSignal after = instance.render(in, TestContext::kBlock);
    const SignalDifference d = compareSignals(expected, after);
    if (d.frames)
        return context.fail("44.1 kHz after the absurd rates differs from a fresh instance: " +
                            d.describe());
    context.note(
        "0, -1, NaN, infinity, 1e9 Hz: clean output; 44.1 kHz afterwards as a fresh instance");
}

void AudioTests::blockSizes(TestContext& context) {
    // Every listed size once, then random sizes.
    std::vector<int> sizes(std::begin(kBlockSizes), std::end(kBlockSizes));
    std::size_t total = 0;
    for (int s : sizes)
        total += static_cast<std::size_t>(s);
    const std::size_t frames = total * 2;
    while (total < frames) {
        const int s = context.uniform(1, kLargestBlock);
        sizes.push_back(s);
        total += static_cast<std::size_t>(s);
    }
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, frames);
    const StereoSignal expected = reference(context, in);
    TestInstance instance(context.library);
    if (!context.require(instance)) return;
    instance.start(TestContext::kSampleRate, kLargestBlock);
    StereoSignal out(frames);
    std::size_t pos = 0;
    for (int s : sizes) {
        const int n =
            static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(s), frames - pos));
        if (n <= 0) break;
        instance.process(in, out, pos, n);
        pos += static_cast<std::size_t>(n);
    }
    if (!context.checkOutput(instance, out, "blocks of 1..8192 frames")) return;
    expectSame(context, expected, out, "blocks of 1..8192 frames and a random mix");
    if (!context.failed() && context.detail().empty())
        context.note(std::to_string(sizes.size()) +
                     " blocks of 1..8192 frames: output identical to blocks of 512");
}

void AudioTests::zeroFrames(TestContext& context) {
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, kCompareFrames);
    const StereoSignal expected = reference(context, in);
    TestInstance instance(context.library);
    if (!context.require(instance)) return;
    instance.start(TestContext::kSampleRate, TestContext::kBlock);
    StereoSignal out(in.frames());
    StereoSignal empty(1);
    for (std::size_t pos = 0; pos < in.frames(); pos += TestContext::kBlock) {
        for (TestInstance::Call call :
             {TestInstance::Call::Replacing, TestInstance::Call::Accumulating})
            instance.process(in, empty, 0, 0, call); // empty calls between the blocks
        const int n =
            static_cast<int>(std::min<std::size_t>(TestContext::kBlock, in.frames() - pos));
        instance.process(in, out, pos, n);
    }
    if (!context.checkOutput(instance, out, "with empty calls between blocks")) return;
    const SignalDifference d = compareSignals(expected, out);
    if (d.frames) return context.fail("empty process calls change the output: " + d.describe());
    context.note("0-frame calls of both process functions between blocks change nothing");
}

void AudioTests::oversizedBlocks(TestContext& context) {
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, kCompareFrames);
    const StereoSignal expected = reference(context, in);
    TestInstance instance(context.library);
    if (!context.require(instance)) return;
    instance.start(TestContext::kSampleRate, kAnnouncedBlock);
    const StereoSignal out = instance.render(in, kLargestBlock);
    if (!context.checkOutput(instance, out, "blocks longer than announced")) return;
    expectSame(context, expected, out, "blocks of 8192 after announcing 64");
    if (!context.failed() && context.detail().empty())
        context.note("blocks of 8192 frames after announcing 64: output as announced blocks");
}

void AudioTests::inPlace(TestContext& context) {
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, kCompareFrames);
    const StereoSignal expected = reference(context, in);
    TestInstance instance(context.library);
    if (!context.require(instance)) return;
    if (!instance.hasReplacing()) return context.note("no processReplacing: nothing to test");
    instance.start(TestContext::kSampleRate, TestContext::kBlock);
    const StereoSignal out = instance.render(in, TestContext::kBlock, TestInstance::Call::InPlace);
    if (!context.checkOutput(instance, out, "in place")) return;
    const SignalDifference d = compareSignals(expected, out);
    if (d.frames)
        return context.fail("output buffers that are the input buffers change the output: " +
                            d.describe());
    context.note("outputs in the input buffers: output identical");
}

void AudioTests::accumulating(TestContext& context) {
    const StereoSignal in = StereoSignal::programme(TestContext::kSampleRate, kCompareFrames);
    TestInstance replacing(context.library), adding(context.library);
    if (!context.require(replacing)) return;
    if (!adding.record()->process) return context.fail("the record has no accumulating process");
    replacing.start(TestContext::kSampleRate, TestContext::kBlock);
    adding.start(TestContext::kSampleRate, TestContext::kBlock);
    const StereoSignal expected = replacing.render(in, TestContext::kBlock);
    // The host's outputs already hold a signal (another plug-in's): process must add to it.
    // The same on both sides, which a mono output also feeds.
    constexpr float kBed = 0.25f;
    StereoSignal out(in.frames());
    for (std::size_t i = 0; i < in.frames(); ++i)
        out.left[i] = out.right[i] = kBed * in.right[i];
    const StereoSignal bed = out;
    for (std::size_t pos = 0; pos < in.frames(); pos += TestContext::kBlock) {
        const int n =
            static_cast<int>(std::min<std::size_t>(TestContext::kBlock, in.frames() - pos));
        adding.process(in, out, pos, n, TestInstance::Call::Accumulating);
    }
    StereoSignal added(in.frames());
    for (std::size_t i = 0; i < in.frames(); ++i) {
        added.left[i] = out.left[i] - bed.left[i];
        added.right[i] = out.right[i] - bed.right[i];
    }
    if (!context.checkOutput(adding, expected, "processReplacing")) return;
    const SignalDifference d = compareSignals(expected, added);
    // A plug-in may round its sum differently from replacing output plus the bed.
    constexpr double kSumRounding = 1e-6;
    if (d.largest > kSumRounding)
        return context.fail("process does not add its output to what the outputs hold: " +
                            d.describe());
    context.note(replacing.hasReplacing()
                     ? "process adds to the outputs what processReplacing writes"
                     : "process adds its output to the outputs");
}

void AudioTests::badInput(TestContext& context) {
    struct Kind {
        const char* name;
        float value;
        int length; // bad samples in a row, both channels
    };
    const Kind kinds[] = {
        {"NaN", std::numeric_limits<float>::quiet_NaN(), 64},
        {"+infinity", std::numeric_limits<float>::infinity(), 64},
        {"-infinity", -std::numeric_limits<float>::infinity(), 64},
        {"one sample of 1e30", 1e30f, 1},
        {"one sample of 1e6", 1e6f, 1},
        {"subnormals", FLT_MIN / 64.0f, 4096},
    };
    // A bad stretch at 1 s, then clean signal: 10 s later the output must be back to that of a
    // clean instance, and after a reset identical to it.
    constexpr double kBadAt = 1.0, kLength = 12.0, kSettledAfter = 11.0;
    constexpr double kRecoveryTolerance = 1e-3; // no lasting reduction or offset
    const auto rate = static_cast<double>(TestContext::kSampleRate);
    const StereoSignal clean =
        StereoSignal::programme(rate, static_cast<std::size_t>(rate * kLength));
    const StereoSignal expected = reference(context, clean);
    const auto badAt = static_cast<std::size_t>(rate * kBadAt);
    const auto settled = static_cast<std::size_t>(rate * kSettledAfter);
    std::string report;
    for (const Kind& kind : kinds) {
        StereoSignal in = clean;
        for (int i = 0; i < kind.length; ++i)
            in.left[badAt + i] = in.right[badAt + i] = kind.value;
        TestInstance instance(context.library);
        if (!context.require(instance)) return;
        instance.start(TestContext::kSampleRate, TestContext::kBlock);
        const StereoSignal out = instance.render(in, TestContext::kBlock);
        if (!context.checkOutput(instance, out, std::string("after ") + kind.name)) return;
        double worst = 0.0;
        for (std::size_t i = settled; i < out.frames(); ++i)
            worst = std::max({worst, std::fabs(static_cast<double>(out.left[i]) - expected.left[i]),
                              std::fabs(static_cast<double>(out.right[i]) - expected.right[i])});
        char text[200];
        if (!(worst <= kRecoveryTolerance)) {
            std::snprintf(
                text, sizeof text,
                "%s: %.0f s later the output still differs from a clean instance's by %.3g",
                kind.name, kSettledAfter - kBadAt, worst);
            return context.fail(text);
        }
        instance.suspend();
        instance.resume();
        const StereoSignal reset = instance.render(clean, TestContext::kBlock);
        const SignalDifference d = compareSignals(expected, reset);
        if (d.frames)
            return context.fail(
                std::string(kind.name) +
                ": after suspend and resume the output differs from a clean instance's: " +
                d.describe());
        report += report.empty() ? kind.name : std::string(", ") + kind.name;
    }
    context.note(report + ": clean output, recovered within 10 s, identical after a reset");
}

} // namespace qv
