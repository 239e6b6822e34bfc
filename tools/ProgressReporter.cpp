#include "tools/ProgressReporter.h"

namespace qv {

namespace {
constexpr double kFirstReportSeconds = 1.0; // short jobs print nothing
constexpr double kReportIntervalSeconds = 1.0;
} // namespace

ProgressReporter::ProgressReporter(std::FILE* out, std::uint64_t totalFrames, double rate,
                                   bool enabled)
    : stream(enabled ? out : nullptr), total(totalFrames), sampleRate(rate > 0 ? rate : 1.0),
      nextReport(kFirstReportSeconds) {}

void ProgressReporter::update(std::uint64_t framesDone) {
    if (!stream || total == 0) return;
    const double now = clock.seconds();
    if (now < nextReport) return;
    nextReport = now + kReportIntervalSeconds;
    const double percent = 100.0 * static_cast<double>(framesDone) / static_cast<double>(total);
    std::fprintf(stream, "qvhost: rendering %3.0f%% (%.1f of %.1f s of audio)\n", percent,
                 static_cast<double>(framesDone) / sampleRate,
                 static_cast<double>(total) / sampleRate);
    std::fflush(stream);
    ++lines;
}

} // namespace qv
