// The shape of a WAV file's audio: sample encoding, channel count, rate and length.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

enum class SampleEncoding {
    Pcm16,   // signed 16-bit integer
    Pcm24,   // signed 24-bit integer, packed in 3 bytes
    Pcm32,   // signed 32-bit integer
    Float32, // IEEE single precision
    Float64, // IEEE double precision
};

// Bytes one sample of `encoding` takes in the file.
inline int bytesPerSample(SampleEncoding encoding) {
    switch (encoding) {
    case SampleEncoding::Pcm16:
        return 2;
    case SampleEncoding::Pcm24:
        return 3;
    case SampleEncoding::Pcm32:
        return 4;
    case SampleEncoding::Float32:
        return 4;
    case SampleEncoding::Float64:
        return 8;
    }
    return 0;
}

inline bool isFloatEncoding(SampleEncoding encoding) {
    return encoding == SampleEncoding::Float32 || encoding == SampleEncoding::Float64;
}

// Short description for summaries, e.g. "24-bit PCM".
inline const char* encodingName(SampleEncoding encoding) {
    switch (encoding) {
    case SampleEncoding::Pcm16:
        return "16-bit PCM";
    case SampleEncoding::Pcm24:
        return "24-bit PCM";
    case SampleEncoding::Pcm32:
        return "32-bit PCM";
    case SampleEncoding::Float32:
        return "32-bit float";
    case SampleEncoding::Float64:
        return "64-bit float";
    }
    return "?";
}

// Sample rates we accept in files and on the command line (Hz). Outside this range a rate is
// taken for a corrupt header rather than for audio.
constexpr std::uint32_t kMinSampleRateHz = 1000;
constexpr std::uint32_t kMaxSampleRateHz = 768000;

struct WavFormat {
    SampleEncoding encoding = SampleEncoding::Float32;
    int channels = 2;                 // 1 (mono) or 2 (stereo)
    std::uint32_t sampleRate = 44100; // Hz
    std::uint64_t frames = 0;         // sample frames in the data chunk

    int frameBytes() const { return channels * bytesPerSample(encoding); }
    double seconds() const { return sampleRate ? static_cast<double>(frames) / sampleRate : 0.0; }
};

} // namespace qv
