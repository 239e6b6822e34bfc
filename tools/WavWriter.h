// Writes a WAV file (16/24/32-bit PCM or 32/64-bit float, mono or stereo) under a temporary name
// and renames it to its real name only when `commit` succeeds, so a failed or interrupted run
// never leaves a file that looks finished.
#pragma once

#include "tools/WavFormat.h"

#include <cstdio>
#include <string>
#include <vector>

namespace qv {

class WavWriter {
public:
    WavWriter() = default;
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;
    ~WavWriter() { abandon(); }

    // Creates "<path>.partial" and writes a header for `format` (its frame count is ignored).
    bool open(const std::string& path, const WavFormat& format, std::string& error);
    // Appends frames; a mono file takes `left` only. Samples are clamped to -1..1 and NaN is
    // written as 0 for PCM; float files get the values as they are.
    bool write(const float* left, const float* right, std::size_t frames, std::string& error);
    // Completes the header, closes the file and gives it its real name (replacing an older one).
    bool commit(std::string& error);
    // Closes and deletes the temporary file, if any. Safe to call at any time.
    void abandon();

    bool isOpen() const { return file_ != nullptr; }
    std::uint64_t framesWritten() const { return frames_; }
    const std::string& temporaryPath() const { return tempPath_; }
    static std::string temporaryPathFor(const std::string& path) { return path + ".partial"; }

private:
    std::FILE* file_ = nullptr;      // the temporary file while open
    std::string finalPath_;          // the name the file gets on commit
    std::string tempPath_;           // the name it has until then
    WavFormat fmt_;                  // encoding, channels, rate of the file
    std::uint64_t frames_ = 0;       // frames written so far
    std::uint32_t headerBytes_ = 0;  // bytes before the first sample
    std::vector<unsigned char> raw_; // encoded bytes of one write
};

} // namespace qv
