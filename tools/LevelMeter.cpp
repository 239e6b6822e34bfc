#include "tools/LevelMeter.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace qv {

void LevelMeter::add(const float* left, const float* right, std::size_t frames) {
    const float* channels[2] = {left, right};
    for (int c = 0; c < 2; ++c) {
        double peak = peaks_[c];
        double sum = 0.0; // per call, then added, to keep long files accurate
        for (std::size_t i = 0; i < frames; ++i) {
            const double v = channels[c][i];
            if (!std::isfinite(v)) {
                ++badSamples_;
                continue;
            }
            peak = std::fmax(peak, std::fabs(v));
            sum += v * v;
        }
        peaks_[c] = peak;
        squares_[c] += sum;
    }
    count_ += frames;
}

double LevelMeter::peakDb(int channel) const {
    const double p = peaks_[channel];
    return p > 0.0 ? 20.0 * std::log10(p) : -std::numeric_limits<double>::infinity();
}

double LevelMeter::rmsDb(int channel) const {
    if (count_ == 0 || squares_[channel] <= 0.0) return -std::numeric_limits<double>::infinity();
    return 10.0 * std::log10(squares_[channel] / static_cast<double>(count_));
}

std::string LevelMeter::text(double db) {
    if (!std::isfinite(db)) return "-inf";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", db);
    return text;
}

} // namespace qv
