#include "tools/validate/StereoSignal.h"

#include "tools/ProgrammeGenerator.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace qv {

StereoSignal StereoSignal::programme(double sampleRate, std::size_t frames) {
    StereoSignal s(frames);
    // Long enough for the requested frames; the programme's quiet intro is skipped so that the
    // plug-in has something to compress from the start.
    const double introSeconds = 2.0;
    ProgrammeGenerator generator(sampleRate,
                                 introSeconds + static_cast<double>(frames) / sampleRate + 1.0);
    std::vector<float> skip(static_cast<std::size_t>(introSeconds * sampleRate));
    std::vector<float> skipRight(skip.size());
    generator.generate(skip.data(), skipRight.data(), skip.size());
    std::size_t done = 0;
    while (done < frames) {
        const std::size_t n =
            generator.generate(s.left.data() + done, s.right.data() + done, frames - done);
        if (n == 0) break;
        done += n;
    }
    return s;
}

std::string SignalDifference::describe() const {
    char text[160];
    std::snprintf(text, sizeof text,
                  "%zu frames differ, first at frame %zu, largest difference %.3g", frames, first,
                  largest);
    return text;
}

SignalDifference compareSignals(const StereoSignal& a, const StereoSignal& b) {
    SignalDifference d;
    const std::size_t n = std::min(a.frames(), b.frames());
    for (std::size_t i = 0; i < n; ++i) {
        const float pairs[2][2] = {{a.left[i], b.left[i]}, {a.right[i], b.right[i]}};
        bool differs = false;
        for (const auto& p : pairs) {
            if (std::memcmp(&p[0], &p[1], sizeof(float)) == 0) continue;
            differs = true;
            const double diff = std::fabs(static_cast<double>(p[0]) - static_cast<double>(p[1]));
            d.largest = std::isnan(diff) ? INFINITY : std::max(d.largest, diff);
        }
        if (!differs) continue;
        if (d.frames == 0) d.first = i;
        ++d.frames;
    }
    if (a.frames() != b.frames()) {
        if (d.frames == 0) d.first = n;
        d.frames += std::max(a.frames(), b.frames()) - n;
    }
    return d;
}

std::string findBadSample(const StereoSignal& s, double bound) {
    for (std::size_t i = 0; i < s.frames(); ++i) {
        const float values[2] = {s.left[i], s.right[i]};
        for (int c = 0; c < 2; ++c) {
            const float v = values[c];
            const char* what = nullptr;
            char text[128];
            if (std::isnan(v)) {
                what = "NaN";
            } else if (std::isinf(v)) {
                what = "infinity";
            } else if (v != 0.0f && std::fabs(v) < FLT_MIN) {
                what = "subnormal";
            } else if (std::fabs(static_cast<double>(v)) > bound) {
                std::snprintf(text, sizeof text, "%.9g above the ceiling %.9g at frame %zu (%s)",
                              static_cast<double>(v), bound, i, c ? "right" : "left");
                return text;
            }
            if (what) {
                std::snprintf(text, sizeof text, "%s at frame %zu (%s)", what, i,
                              c ? "right" : "left");
                return text;
            }
        }
    }
    return "";
}

} // namespace qv
