// Peak and RMS of a stereo signal over a whole file, and how many samples were not finite.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qv {

class LevelMeter {
public:
    // Adds frames; non-finite samples are counted and left out of peak and RMS.
    void add(const float* left, const float* right, std::size_t frames);
    void clear() { *this = LevelMeter(); }

    double peak(int channel) const { return peaks_[channel]; } // linear, 0..
    double peakDb(int channel) const;                          // dBFS, -inf for silence
    // A level in dB as the summaries print it: two decimals, "-inf" for silence.
    static std::string text(double db);
    double rmsDb(int channel) const; // dBFS, -inf for silence
    std::uint64_t nonFinite() const { return badSamples_; }
    std::uint64_t frames() const { return count_; }

private:
    double peaks_[2] = {0.0, 0.0};   // largest |sample| per channel
    double squares_[2] = {0.0, 0.0}; // sum of squared samples per channel
    std::uint64_t count_ = 0;        // frames added
    std::uint64_t badSamples_ = 0;   // NaN or infinite samples seen
};

} // namespace qv
