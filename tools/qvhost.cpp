// qvhost: our VST 2 host on the command line (32-bit Windows, runs under Wine).
//   qvhost info <plugin.dll>                      what the plug-in reports
//   qvhost run <plugin.dll> [...]                 process a generated programme, print peaks
//   qvhost render <plugin.dll> <in.wav> <out.wav> [...]   render a file through the plug-in
//   qvhost generate <out.wav> [...]               write the music-like test programme
//   qvhost bench <plugin.dll> [...]               time the plug-in in this process
//   qvhost validate <plugin.dll> [...]            check the plug-in as strict hosts would
// Every failure ends with one line on stderr and a non-zero exit status: 2 for a bad command
// line, 1 for a failed job, 3 when the plug-in crashes the process.
#include "tools/CommandLine.h"
#include "tools/CrashGuard.h"
#include "tools/DisplayValueFinder.h"
#include "tools/LevelMeter.h"
#include "tools/PluginBench.h"
#include "tools/PluginHost.h"
#include "tools/PluginProcessor.h"
#include "tools/PluginSettings.h"
#include "tools/ProgrammeGenerator.h"
#include "tools/RenderJob.h"
#include "tools/WavWriter.h"
#include "tools/validate/ValidateCommand.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace qv {

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr double kDefaultRunSeconds = 3.0;
constexpr double kDefaultProgrammeSeconds = 20.0;
constexpr double kDefaultBenchSeconds = 10.0;

int fail(const std::string& message) {
    std::fprintf(stderr, "qvhost: %s\n", message.c_str());
    return kExitFailure;
}

std::string fourChars(VstInt32 id) {
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((id >> shift) & 0xff);
        s += (c >= 32 && c < 127) ? c : '?';
    }
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

bool loadPlugin(PluginHost& host, const std::string& path, std::string& error) {
    if (!host.load(path, error)) return false;
    std::printf("plug-in        : %s\n", path.c_str());
    printIdentity(host);
    return true;
}

// Applies --program and --set and prints what they did.
bool applySettings(PluginHost& host, const CommandLine& cmd, std::string& error) {
    PluginSettings settings(host);
    if (!settings.apply(cmd.hasProgram ? &cmd.program : nullptr, cmd.settings, error)) return false;
    if (cmd.hasProgram)
        std::printf("program        : %d \"%s\"\n", settings.chosenProgram(),
                    host.dispatchString(effGetProgramName).c_str());
    for (const PluginSettings::Applied& a : settings.applied())
        std::printf("parameter      : %s\n", PluginSettings::describe(a).c_str());
    return true;
}

int info(const CommandLine& cmd) {
    PluginHost host;
    std::string error;
    if (!loadPlugin(host, cmd.plugin, error)) return fail(error);
    host.open();
    PluginSettings settings(host);
    const std::vector<std::string>& programs = settings.programNames();
    for (std::size_t i = 0; i < programs.size(); ++i)
        std::printf("program %-6zu : \"%s\"\n", i, programs[i].c_str());
    AEffect* e = host.effect();
    DisplayValueFinder finder(host);
    const std::vector<std::string>& names = settings.parameterNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto index = static_cast<VstInt32>(i);
        const std::string shown =
            DisplayValueFinder::withLabel(host.dispatchString(effGetParamDisplay, index),
                                          host.dispatchString(effGetParamLabel, index));
        // What --set accepts as a displayed value, from its display at 0 to its display at 1.
        const std::string range =
            finder.displayAt(index, 0.0f) + " .. " + finder.displayAt(index, 1.0f);
        std::printf("parameter %-4zu : %-16s %8.6f  %-16s  range %s\n", i, names[i].c_str(),
                    static_cast<double>(e->getParameter(e, index)), shown.c_str(), range.c_str());
    }
    return 0;
}

int run(const CommandLine& cmd) {
    PluginHost host;
    std::string error;
    if (!loadPlugin(host, cmd.plugin, error)) return fail(error);
    const double seconds = cmd.seconds > 0.0 ? cmd.seconds : kDefaultRunSeconds;
    ProgrammeGenerator programme(cmd.rate, seconds);
    const auto frames = static_cast<std::size_t>(programme.totalFrames());
    std::vector<float> inL(frames), inR(frames), outL(frames), outR(frames);
    programme.generate(inL.data(), inR.data(), frames);

    PluginProcessor processor;
    if (!processor.prepare(host.effect(), cmd.block, error)) return fail(error);
    host.start(static_cast<float>(cmd.rate), cmd.block);
    for (std::size_t pos = 0; pos < frames; pos += static_cast<std::size_t>(cmd.block)) {
        const int n = static_cast<int>(
            std::min<std::size_t>(static_cast<std::size_t>(cmd.block), frames - pos));
        processor.process(inL.data() + pos, inR.data() + pos, outL.data() + pos, outR.data() + pos,
                          n);
    }
    host.stop();
    LevelMeter in, out;
    in.add(inL.data(), inR.data(), frames);
    out.add(outL.data(), outR.data(), frames);
    std::printf("processed      : %zu frames at %u Hz in blocks of %d\n", frames, cmd.rate,
                cmd.block);
    std::printf("input peak     : %s dBFS L, %s dBFS R\n", LevelMeter::text(in.peakDb(0)).c_str(),
                LevelMeter::text(in.peakDb(1)).c_str());
    std::printf("output peak    : %s dBFS L, %s dBFS R\n", LevelMeter::text(out.peakDb(0)).c_str(),
                LevelMeter::text(out.peakDb(1)).c_str());
    return 0;
}

int render(const CommandLine& cmd) {
    RenderReport report;
    std::string error;
    if (!RenderJob::run(cmd, stderr, report, error)) return fail(error);
    report.print(stdout);
    return 0;
}

int generate(const CommandLine& cmd) {
    const double seconds = cmd.seconds > 0.0 ? cmd.seconds : kDefaultProgrammeSeconds;
    ProgrammeGenerator programme(cmd.rate, seconds);
    WavFormat format;
    format.encoding = SampleEncoding::Float32;
    format.channels = 2;
    format.sampleRate = cmd.rate;
    WavWriter writer;
    std::string error;
    if (!writer.open(cmd.output, format, error)) return fail(error);
    CrashGuard::setTemporaryFile(writer.temporaryPath());
    std::vector<float> left(4096), right(4096);
    LevelMeter levels;
    while (std::size_t n = programme.generate(left.data(), right.data(), left.size())) {
        levels.add(left.data(), right.data(), n);
        if (!writer.write(left.data(), right.data(), n, error)) return fail(error);
    }
    if (!writer.commit(error)) return fail(error);
    CrashGuard::setTemporaryFile("");
    std::printf("programme      : %s, %u Hz, stereo, 32-bit float, %llu frames (%.2f s)\n",
                cmd.output.c_str(), cmd.rate,
                static_cast<unsigned long long>(programme.totalFrames()),
                static_cast<double>(programme.totalFrames()) / cmd.rate);
    std::printf(
        "level          : peak %s / %s dBFS, RMS %s / %s dBFS (L / R)\n",
        LevelMeter::text(levels.peakDb(0)).c_str(), LevelMeter::text(levels.peakDb(1)).c_str(),
        LevelMeter::text(levels.rmsDb(0)).c_str(), LevelMeter::text(levels.rmsDb(1)).c_str());
    return 0;
}

int bench(const CommandLine& cmd) {
    PluginHost host;
    std::string error;
    if (!loadPlugin(host, cmd.plugin, error)) return fail(error);
    host.open();
    host.configure(static_cast<float>(PluginBench::kSampleRate), cmd.block);
    if (!applySettings(host, cmd, error)) return fail(error);
    BenchOptions options;
    options.block = cmd.block;
    options.seconds = cmd.seconds > 0.0 ? cmd.seconds : kDefaultBenchSeconds;
    options.runs = cmd.runs;
    BenchResult result;
    if (!PluginBench::run(host, options, result, error)) return fail(error);
    std::printf("signal         : %.1f s programme at %.0f Hz in blocks of %d frames\n",
                options.seconds, PluginBench::kSampleRate, options.block);
    for (std::size_t i = 0; i < result.runSeconds.size(); ++i)
        std::printf("run %-2zu         : %.4f s (%.1f ns per frame)\n", i + 1, result.runSeconds[i],
                    result.runSeconds[i] * 1e9 / static_cast<double>(result.frames));
    std::printf("median         : %.1f ns per stereo frame, %.1f x real time at 44.1 kHz\n",
                result.nsPerFrame, result.realTimeFactor);
    return 0;
}

} // namespace

} // namespace qv

int main(int argc, char** argv) {
    using namespace qv;
    CrashGuard::install();
    if (argc < 2) {
        std::fputs(CommandLine::usage(), stderr);
        std::fputs(ValidateCommand::usage(), stderr);
        return kExitUsage;
    }
    if (std::string(argv[1]) == "validate") return ValidateCommand::run(argc - 2, argv + 2);
    CommandLine cmd;
    std::string error;
    if (!CommandLine::parse(argc, argv, cmd, error)) {
        std::fprintf(stderr, "qvhost: %s (run qvhost without arguments for usage)\n",
                     error.c_str());
        return kExitUsage;
    }
    try {
        switch (cmd.command) {
        case CommandLine::Command::Info:
            return info(cmd);
        case CommandLine::Command::Run:
            return run(cmd);
        case CommandLine::Command::Render:
            return render(cmd);
        case CommandLine::Command::Generate:
            return generate(cmd);
        case CommandLine::Command::Bench:
            return bench(cmd);
        }
    } catch (const std::exception& e) {
        return fail(std::string("out of resources: ") + e.what() +
                    " (close other programs, or render a shorter file)");
    }
    return kExitUsage;
}
