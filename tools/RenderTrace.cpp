#include "tools/RenderTrace.h"

#include <algorithm>
#include <cmath>

namespace qv {

void RenderTrace::start(std::uint64_t totalFrames, unsigned sampleRate) {
    *this = RenderTrace();
    total_ = totalFrames;
    rate_ = sampleRate > 0 ? sampleRate : 44100;
    sliceFrames_ = std::max<std::uint64_t>(1, (totalFrames + kMaxSlices - 1) / kMaxSlices);
    const auto count = static_cast<std::size_t>((totalFrames + sliceFrames_ - 1) / sliceFrames_);
    input_.assign(count, Slice());
    output_.assign(count, Slice());
    reduction_.assign(count, Reductions{});
}

void RenderTrace::add(std::vector<Slice>& into, std::uint64_t& position, const float* left,
                      const float* right, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i, ++position) {
        const auto slice = static_cast<std::size_t>(position / sliceFrames_);
        if (slice >= into.size()) return;
        Slice& s = into[slice];
        const float samples[2] = {left[i], right[i]};
        for (int c = 0; c < 2; ++c) {
            if (!std::isfinite(samples[c])) continue;
            s.peak[c] = std::max(s.peak[c], std::fabs(samples[c]));
            s.squares[c] += static_cast<double>(samples[c]) * samples[c];
        }
        ++s.frames;
    }
}

void RenderTrace::addInput(const float* left, const float* right, std::size_t frames) {
    add(input_, inputPosition_, left, right, frames);
}

void RenderTrace::addOutput(const float* left, const float* right, std::size_t frames) {
    add(output_, outputPosition_, left, right, frames);
}

void RenderTrace::addReductions(std::uint64_t framesFed, const Reductions& db) {
    if (framesFed == 0 || reduction_.empty()) return;
    const auto slice =
        std::min(static_cast<std::size_t>((framesFed - 1) / sliceFrames_), reduction_.size() - 1);
    for (std::size_t b = 0; b < db.size(); ++b)
        reduction_[slice][b] = std::max(reduction_[slice][b], db[b]);
    reductionsSeen_ = true;
}

double RenderTrace::peakDb(const Slice& s, int channel, double floor) {
    const double p = s.peak[channel];
    return p > 0.0 ? std::max(20.0 * std::log10(p), floor) : floor;
}

double RenderTrace::rmsDb(const Slice& s, int channel, double floor) {
    if (s.frames == 0 || s.squares[channel] <= 0.0) return floor;
    return std::max(10.0 * std::log10(s.squares[channel] / s.frames), floor);
}

} // namespace qv
