#include "tools/RenderJob.h"

#include "tools/CrashGuard.h"
#include "tools/PluginHost.h"
#include "tools/WavReader.h"
#include "tools/WavWriter.h"

#include <cmath>

namespace {

std::string decibels(double db) {
    if (!std::isfinite(db)) return "-inf";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", db);
    return text;
}

} // namespace

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
    return ok;
}

void RenderReport::print(std::FILE* out) const {
    const RenderResult& r = result;
    const WavFormat& f = r.input;
    std::fprintf(out, "input          : %s, %u Hz, %s, %s, %llu frames (%.2f s)\n", input.c_str(),
                 f.sampleRate, f.channels == 1 ? "mono" : "stereo", encodingName(f.encoding),
                 static_cast<unsigned long long>(f.frames), f.seconds());
    std::fprintf(out, "plug-in        : %s (\"%s\" by \"%s\"), latency %d samples\n",
                 plugin.c_str(), effectName.c_str(), vendor.c_str(), r.latency);
    if (program >= 0)
        std::fprintf(out, "program        : %d \"%s\"\n", program, programName.c_str());
    for (const PluginSettings::Applied& a : applied)
        std::fprintf(out, "parameter      : %d %s = %g (%s)\n", a.index, a.name.c_str(), a.value,
                     a.display.c_str());
    std::fprintf(out, "output         : %s, %u Hz, stereo, 32-bit float, %llu frames (%.2f s)%s\n",
                 output.c_str(), f.sampleRate, static_cast<unsigned long long>(r.outputFrames),
                 static_cast<double>(r.outputFrames) / f.sampleRate,
                 r.trimmed ? ", latency trimmed" : ", latency included");
    const LevelMeter& li = r.inputLevels;
    const LevelMeter& lo = r.outputLevels;
    std::fprintf(out, "input level    : peak %s / %s dBFS, RMS %s / %s dBFS (L / R)\n",
                 decibels(li.peakDb(0)).c_str(), decibels(li.peakDb(1)).c_str(),
                 decibels(li.rmsDb(0)).c_str(), decibels(li.rmsDb(1)).c_str());
    std::fprintf(out, "output level   : peak %s / %s dBFS, RMS %s / %s dBFS (L / R)\n",
                 decibels(lo.peakDb(0)).c_str(), decibels(lo.peakDb(1)).c_str(),
                 decibels(lo.rmsDb(0)).c_str(), decibels(lo.rmsDb(1)).c_str());
    if (r.bandReductionKnown) {
        // Largest per band as the band meters showed it (compression and output level together).
        std::fprintf(out, "band reduction :");
        for (int b = 0; b < BandReductionProbe::kBands; ++b)
            std::fprintf(out, " %d: %.1f", b + 1, r.bandReductionDb[b]);
        std::fprintf(out, " dB (largest per band, from the band meters)\n");
    } else {
        std::fprintf(out, "band reduction : not available (only our own plug-in's band meters can "
                          "be read)\n");
    }
    if (r.replacedInputSamples)
        std::fprintf(out, "warning        : %llu NaN or infinite input samples were sent as 0\n",
                     static_cast<unsigned long long>(r.replacedInputSamples));
    if (lo.nonFinite())
        std::fprintf(out, "warning        : the output holds %llu NaN or infinite samples\n",
                     static_cast<unsigned long long>(lo.nonFinite()));
    std::fprintf(out, "time           : %.3f s, %.1f x real time\n", r.seconds, r.realTimeFactor);
}
