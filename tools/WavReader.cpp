#include "tools/WavReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace qv {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::uint32_t kRiffHeaderBytes = 12; // "RIFF", size, "WAVE"
constexpr std::uint32_t kChunkHeaderBytes = 8; // id, size
constexpr std::uint32_t kMinFormatBytes = 16;
constexpr std::uint32_t kExtensibleFormatBytes = 40;

// Bytes 2..15 of the sub-format GUID of WAVE_FORMAT_EXTENSIBLE files; bytes 0..1 hold the tag.
constexpr unsigned char kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                              0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::uint16_t u16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t u32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::string chunkName(const unsigned char* id) {
    std::string s;
    for (int i = 0; i < 4; ++i)
        s += (id[i] >= 32 && id[i] < 127) ? static_cast<char>(id[i]) : '?';
    return s;
}

bool seekTo(std::FILE* f, std::uint64_t offset) {
    return _fseeki64(f, static_cast<long long>(offset), SEEK_SET) == 0;
}

// One sample at `p` to float: PCM full scale is 2^(bits-1), so -1.0 is the most negative code.
float decode(const unsigned char* p, SampleEncoding encoding) {
    switch (encoding) {
    case SampleEncoding::Pcm16:
        return static_cast<float>(static_cast<std::int16_t>(u16(p))) * (1.0f / 32768.0f);
    case SampleEncoding::Pcm24: {
        // Sign-extend by placing the three bytes at the top of a 32-bit word.
        const std::int32_t v = static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) << 8 |
                                                         static_cast<std::uint32_t>(p[1]) << 16 |
                                                         static_cast<std::uint32_t>(p[2]) << 24);
        return static_cast<float>(v / 256) * (1.0f / 8388608.0f);
    }
    case SampleEncoding::Pcm32:
        return static_cast<float>(static_cast<std::int32_t>(u32(p)) * (1.0 / 2147483648.0));
    case SampleEncoding::Float32: {
        const std::uint32_t bits = u32(p);
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    case SampleEncoding::Float64: {
        const std::uint64_t bits =
            static_cast<std::uint64_t>(u32(p)) | static_cast<std::uint64_t>(u32(p + 4)) << 32;
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return static_cast<float>(v);
    }
    }
    return 0.0f;
}

} // namespace

bool WavReader::open(const std::string& path, std::string& error) {
    close();
    name_ = path;
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        error = "cannot open " + path + ": " + std::strerror(errno) +
                (errno == ENOENT ? " (check the path and name of the WAV file)"
                                 : " (check that the file can be read)");
        return false;
    }
    std::uint64_t fileSize = 0;
    if (_fseeki64(file_, 0, SEEK_END) == 0) {
        const long long end = _ftelli64(file_);
        if (end >= 0) fileSize = static_cast<std::uint64_t>(end);
    }
    if (!parse(fileSize, error) || !seekTo(file_, dataOffset_)) {
        if (error.empty()) error = path + ": cannot seek to the audio data";
        error += "; qvhost reads RIFF/WAVE files of 16-, 24- or 32-bit PCM or 32- or 64-bit float "
                 "samples, mono or stereo, " +
                 std::to_string(kMinSampleRateHz) + " to " + std::to_string(kMaxSampleRateHz) +
                 " Hz: export or convert the audio to one of these";
        close();
        return false;
    }
    framesDone_ = 0;
    return true;
}

void WavReader::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

bool WavReader::parse(std::uint64_t fileSize, std::string& error) {
    std::uint64_t end = 0;
    if (!parseRiffHeader(fileSize, end, error)) return false;
    const std::string where = name_ + ": ";
    bool haveFormat = false;
    std::uint64_t pos = kRiffHeaderBytes;
    while (pos + kChunkHeaderBytes <= end) {
        unsigned char chunk[kChunkHeaderBytes];
        if (!seekTo(file_, pos) || std::fread(chunk, 1, sizeof chunk, file_) != sizeof chunk) {
            error = where + "cannot read the chunk at offset " + std::to_string(pos);
            return false;
        }
        const std::uint32_t size = u32(chunk + 4);
        const std::uint64_t body = pos + kChunkHeaderBytes;
        if (body + size > end) {
            error = where + "chunk \"" + chunkName(chunk) + "\" at offset " + std::to_string(pos) +
                    " claims " + std::to_string(size) + " bytes but only " +
                    std::to_string(end - body) + " are left";
            return false;
        }
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (haveFormat) {
                error = where + "more than one \"fmt \" chunk";
                return false;
            }
            if (!parseFormat(size, error)) return false;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) {
                error = where + "\"data\" chunk comes before any \"fmt \" chunk";
                return false;
            }
            return parseData(size, body, error); // whatever follows the audio is of no interest
        }
        pos = body + size + (size & 1); // chunks are padded to even length
    }
    error = where + (haveFormat ? "no \"data\" chunk" : "no \"fmt \" chunk");
    return false;
}

bool WavReader::parseRiffHeader(std::uint64_t fileSize, std::uint64_t& end, std::string& error) {
    const std::string where = name_ + ": ";
    unsigned char header[kRiffHeaderBytes];
    if (fileSize < kRiffHeaderBytes || !seekTo(file_, 0) ||
        std::fread(header, 1, sizeof header, file_) != sizeof header) {
        error = where + "truncated header (" + std::to_string(fileSize) + " bytes), not a WAV file";
        return false;
    }
    if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0) {
        error = where + "not a RIFF/WAVE file";
        return false;
    }
    // The RIFF size counts everything after its own field. Tolerate a missing final pad byte.
    const std::uint64_t riffEnd = std::uint64_t{8} + u32(header + 4);
    if (riffEnd > fileSize + (riffEnd & 1)) {
        error = where + "RIFF size says " + std::to_string(riffEnd) + " bytes but the file has " +
                std::to_string(fileSize) + " (truncated?)";
        return false;
    }
    end = std::min(riffEnd, fileSize);
    return true;
}

bool WavReader::parseFormat(std::uint32_t size, std::string& error) {
    const std::string where = name_ + ": ";
    if (size < kMinFormatBytes) {
        error =
            where + "\"fmt \" chunk of " + std::to_string(size) + " bytes is too short (16 needed)";
        return false;
    }
    unsigned char bytes[kExtensibleFormatBytes] = {};
    const std::uint32_t n = std::min(size, kExtensibleFormatBytes);
    if (std::fread(bytes, 1, n, file_) != n) {
        error = where + "cannot read the \"fmt \" chunk";
        return false;
    }
    if (!parseFormatChunk(bytes, size, error)) {
        error = where + error;
        return false;
    }
    return true;
}

bool WavReader::parseData(std::uint32_t size, std::uint64_t body, std::string& error) {
    const auto frameBytes = static_cast<std::uint32_t>(fmt_.frameBytes());
    if (size % frameBytes != 0) {
        error = name_ + ": \"data\" chunk of " + std::to_string(size) +
                " bytes is not a whole number of " + std::to_string(frameBytes) + "-byte frames";
        return false;
    }
    fmt_.frames = size / frameBytes;
    dataOffset_ = body;
    return true;
}

bool WavReader::parseFormatChunk(const unsigned char* b, std::uint32_t size, std::string& error) {
    std::uint16_t tag = u16(b);
    const std::uint16_t channels = u16(b + 2);
    const std::uint32_t rate = u32(b + 4);
    const std::uint16_t blockAlign = u16(b + 12);
    const std::uint16_t bits = u16(b + 14);
    if (tag == kFormatExtensible) {
        if (size < kExtensibleFormatBytes || u16(b + 16) < 22) {
            error = "extensible \"fmt \" chunk too short";
            return false;
        }
        if (std::memcmp(b + 26, kSubFormatTail, sizeof kSubFormatTail) != 0) {
            error = "unknown extensible sub-format";
            return false;
        }
        tag = u16(b + 24);
    }
    if (channels == 0) {
        error = "the header says 0 channels";
        return false;
    }
    if (channels > 2) {
        error = std::to_string(channels) + " channels (only mono and stereo are supported)";
        return false;
    }
    if (rate < kMinSampleRateHz || rate > kMaxSampleRateHz) {
        error = "absurd sample rate " + std::to_string(rate) +
                " Hz (accepted: " + std::to_string(kMinSampleRateHz) + " to " +
                std::to_string(kMaxSampleRateHz) + ")";
        return false;
    }
    if (tag == kFormatPcm && bits == 16)
        fmt_.encoding = SampleEncoding::Pcm16;
    else if (tag == kFormatPcm && bits == 24)
        fmt_.encoding = SampleEncoding::Pcm24;
    else if (tag == kFormatPcm && bits == 32)
        fmt_.encoding = SampleEncoding::Pcm32;
    else if (tag == kFormatFloat && bits == 32)
        fmt_.encoding = SampleEncoding::Float32;
    else if (tag == kFormatFloat && bits == 64)
        fmt_.encoding = SampleEncoding::Float64;
    else if (tag == kFormatPcm) {
        error = std::to_string(bits) + "-bit PCM is not supported (16, 24 or 32 bits)";
        return false;
    } else if (tag == kFormatFloat) {
        error = std::to_string(bits) + "-bit float is not supported (32 or 64 bits)";
        return false;
    } else {
        error = "unsupported format tag " + std::to_string(tag) + " (PCM or float only)";
        return false;
    }
    fmt_.channels = channels;
    fmt_.sampleRate = rate;
    if (blockAlign != fmt_.frameBytes()) {
        error = "block align " + std::to_string(blockAlign) + " does not match " +
                std::to_string(channels) + " channels of " + std::to_string(bits) + " bits";
        return false;
    }
    return true;
}

bool WavReader::read(float* left, float* right, std::size_t maxFrames, std::size_t& framesRead,
                     std::string& error) {
    framesRead = 0;
    if (!file_) {
        error = "read from a closed WAV file";
        return false;
    }
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(maxFrames, framesLeft()));
    if (n == 0) return true;
    const auto frameBytes = static_cast<std::size_t>(fmt_.frameBytes());
    raw_.resize(n * frameBytes);
    if (std::fread(raw_.data(), frameBytes, n, file_) != n) {
        error = name_ + ": the file ended early or cannot be read";
        return false;
    }
    const int sampleBytes = bytesPerSample(fmt_.encoding);
    const unsigned char* p = raw_.data();
    for (std::size_t i = 0; i < n; ++i, p += frameBytes) {
        left[i] = decode(p, fmt_.encoding);
        right[i] = fmt_.channels == 2 ? decode(p + sampleBytes, fmt_.encoding) : left[i];
    }
    framesDone_ += n;
    framesRead = n;
    return true;
}

} // namespace qv
