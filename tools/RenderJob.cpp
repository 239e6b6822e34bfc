#include "tools/RenderJob.h"

#include "tools/CrashGuard.h"
#include "tools/PluginHost.h"
#include "tools/RenderPlot.h"
#include "tools/WavReader.h"
#include "tools/WavWriter.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace qv {

bool RenderJob::run(const CommandLine& command, std::FILE* progress, RenderReport& report,
                    std::string& error) {
    report = RenderReport();
    report.input = command.input;
    report.output = command.output;
    report.plugin = command.plugin;

    WavReader reader;
    if (!reader.open(command.input, error)) return false;
    const WavFormat& in = reader.format();

    PluginHost host;
    if (!host.load(command.plugin, error)) return false;
    report.effectName = host.dispatchString(effGetEffectName);
    report.vendor = host.dispatchString(effGetVendorString);

    host.open();
    PluginSettings settings(host);
    host.configure(static_cast<float>(in.sampleRate), command.block);
    if (!settings.apply(command.hasProgram ? &command.program : nullptr, command.settings, error))
        return false;
    report.applied = settings.applied();
    report.changed = settings.changed();
    report.program = static_cast<VstInt32>(host.dispatch(effGetProgram));
    report.programName = host.dispatchString(effGetProgramName);
    host.resume();

    WavWriter writer;
    WavFormat out;
    out.encoding = SampleEncoding::Float32;
    out.channels = 2;
    out.sampleRate = in.sampleRate;
    if (!writer.open(command.output, out, error)) return false;
    CrashGuard::setTemporaryFile(writer.temporaryPath());

    RenderOptions options;
    options.trimLatency = command.trimLatency;
    options.block = command.block;
    options.progress = command.quiet ? nullptr : progress;
    const bool rendered =
        Renderer::render(host.effect(), reader, writer, options, report.result, error);
    host.stop();
    reader.close(); // before the rename, in case the output replaces the input
    const bool ok = rendered && writer.commit(error);
    CrashGuard::setTemporaryFile("");
    if (!ok) writer.abandon();
    host.unload();
    if (!ok || command.plot.empty()) return ok;
    report.plot = command.plot;
    return RenderPlot::write(report, command.plot, error);
}

namespace {
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* pattern, ...) {
    char text[1024];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}
} // namespace

std::vector<std::string> RenderReport::summary() const {
    std::vector<std::string> lines;
    const RenderResult& r = result;
    const WavFormat& f = r.input;
    lines.push_back(format("input          : %s, %u Hz, %s, %s, %llu frames (%.2f s)",
                           input.c_str(), f.sampleRate, f.channels == 1 ? "mono" : "stereo",
                           encodingName(f.encoding), static_cast<unsigned long long>(f.frames),
                           f.seconds()));
    lines.push_back(format("plug-in        : %s (\"%s\" by \"%s\"), latency %d samples",
                           plugin.c_str(), effectName.c_str(), vendor.c_str(), r.latency));
    if (program >= 0)
        lines.push_back(format("program        : %d \"%s\"", program, programName.c_str()));
    for (const PluginSettings::Applied& a : applied)
        lines.push_back("parameter      : " + PluginSettings::describe(a));
    lines.push_back(
        format("output         : %s, %u Hz, stereo, 32-bit float, %llu frames (%.2f s)%s",
               output.c_str(), f.sampleRate, static_cast<unsigned long long>(r.outputFrames),
               static_cast<double>(r.outputFrames) / f.sampleRate,
               r.trimmed ? ", latency trimmed" : ", latency included"));
    const LevelMeter& li = r.inputLevels;
    const LevelMeter& lo = r.outputLevels;
    lines.push_back(
        format("input level    : peak %s / %s dBFS, RMS %s / %s dBFS (L / R)",
               LevelMeter::text(li.peakDb(0)).c_str(), LevelMeter::text(li.peakDb(1)).c_str(),
               LevelMeter::text(li.rmsDb(0)).c_str(), LevelMeter::text(li.rmsDb(1)).c_str()));
    lines.push_back(
        format("output level   : peak %s / %s dBFS, RMS %s / %s dBFS (L / R)",
               LevelMeter::text(lo.peakDb(0)).c_str(), LevelMeter::text(lo.peakDb(1)).c_str(),
               LevelMeter::text(lo.rmsDb(0)).c_str(), LevelMeter::text(lo.rmsDb(1)).c_str()));
    if (r.bandReductionKnown) {
        // Largest per band as the band meters showed it (compression and output level together).
        std::string line = "band reduction :";
        for (int b = 0; b < BandReductionProbe::kBands; ++b)
            line += format(" %d: %.1f", b + 1, r.bandReductionDb[b]);
        lines.push_back(line + " dB (largest per band, from the band meters)");
    } else {
        lines.push_back("band reduction : not available (only our own plug-in's band meters can "
                        "be read)");
    }
    if (r.replacedInputSamples)
        lines.push_back(format("warning        : %llu NaN or infinite input samples were sent as 0",
                               static_cast<unsigned long long>(r.replacedInputSamples)));
    if (lo.nonFinite())
        lines.push_back(format("warning        : the output holds %llu NaN or infinite samples",
                               static_cast<unsigned long long>(lo.nonFinite())));
    lines.push_back(
        format("time           : %.3f s, %.1f x real time", r.seconds, r.realTimeFactor));
    if (!plot.empty()) lines.push_back("plot           : " + plot);
    return lines;
}

void RenderReport::print(std::FILE* out) const {
    for (const std::string& line : summary())
        std::fprintf(out, "%s\n", line.c_str());
}

} // namespace qv
