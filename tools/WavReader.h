// Reads 16/24/32-bit PCM and 32/64-bit float WAV files (mono or stereo) as 32-bit float frames.
// The header is checked completely on open: every chunk must fit in the file and the format must
// be one we can read, so a file that opens is read to its end without surprises.
#pragma once

#include "tools/WavFormat.h"

#include <cstdio>
#include <string>
#include <vector>

namespace qv {

class WavReader {
public:
    WavReader() = default;
    WavReader(const WavReader&) = delete;
    WavReader& operator=(const WavReader&) = delete;
    ~WavReader() { close(); }

    // Opens and checks the file. On failure returns false, sets `error` to one line and leaves
    // the reader closed.
    bool open(const std::string& path, std::string& error);
    void close();
    bool isOpen() const { return file_ != nullptr; }

    const WavFormat& format() const { return fmt_; }
    std::uint64_t framesLeft() const { return fmt_.frames - framesDone_; }

    // Reads up to `maxFrames` frames into `left` and `right` (scaled to -1..1 for PCM; a mono file
    // fills both). Sets `framesRead` (0 at the end of the data). Returns false and sets `error`
    // when the file cannot be read any more.
    bool read(float* left, float* right, std::size_t maxFrames, std::size_t& framesRead,
              std::string& error);

private:
    // The header and the chunks up to the audio data; sets fmt_ and dataOffset_.
    bool parse(std::uint64_t fileSize, std::string& error);
    // The RIFF header: `end`, where the RIFF data ends within the file.
    bool parseRiffHeader(std::uint64_t fileSize, std::uint64_t& end, std::string& error);
    // A "fmt " chunk of `size` bytes, the file positioned at its body.
    bool parseFormat(std::uint32_t size, std::string& error);
    // The "data" chunk of `size` bytes whose body starts at file offset `body`.
    bool parseData(std::uint32_t size, std::uint64_t body, std::string& error);
    bool parseFormatChunk(const unsigned char* bytes, std::uint32_t size, std::string& error);

    std::FILE* file_ = nullptr;      // open input, positioned in the data chunk
    std::string name_;               // path as given, for messages
    WavFormat fmt_;                  // what the header says
    std::uint64_t dataOffset_ = 0;   // file offset of the first sample byte
    std::uint64_t framesDone_ = 0;   // frames handed out so far
    std::vector<unsigned char> raw_; // file bytes of one read
};

} // namespace qv
