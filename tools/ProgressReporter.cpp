#include "tools/ProgressReporter.h"

namespace qv {

namespace {
constexpr double kFirstReportSeconds = 1.0; // short jobs print nothing
constexpr double kReportIntervalSeconds = 1.0;
} // namespace

ProgressReporter::ProgressReporter(std::FILE* out, std::uint64_t totalFrames, double rate,
                                   bool enabled)
    : stream_(enabled ? out : nullptr), total_(totalFrames), sampleRate_(rate > 0 ? rate : 1.0),
      nextReport_(kFirstReportSeconds) {}

void ProgressReporter::update(std::uint64_t framesDone) {
    if (!stream_ || total_ == 0) return;
    const double now = clock_.seconds();
    if (now < nextReport_) return;
    nextReport_ = now + kReportIntervalSeconds;
    const double percent = 100.0 * static_cast<double>(framesDone) / static_cast<double>(total_);
    std::fprintf(stream_, "qvhost: rendering %3.0f%% (%.1f of %.1f s of audio)\n", percent,
                 static_cast<double>(framesDone) / sampleRate_,
                 static_cast<double>(total_) / sampleRate_);
    std::fflush(stream_);
    ++lines_;
}

} // namespace qv
