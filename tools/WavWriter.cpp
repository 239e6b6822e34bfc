#include "tools/WavWriter.h"

#include "tools/WindowsError.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace qv {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
// A RIFF file's sizes are 32-bit: everything after the first 8 bytes must stay below 4 GiB.
constexpr std::uint64_t kMaxRiffBytes = 0xFFFFFFFFull;

void put16(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putId(std::vector<unsigned char>& out, const char* id) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(id[i]));
}

// Scales a sample to a signed integer of `bits` bits, rounding to nearest; out-of-range values
// saturate and NaN becomes silence.
std::int32_t toPcm(float x, int bits) {
    const double fullScale = std::ldexp(1.0, bits - 1);
    if (std::isnan(x)) return 0;
    const double v = std::nearbyint(static_cast<double>(x) * fullScale);
    return static_cast<std::int32_t>(std::clamp(v, -fullScale, fullScale - 1.0));
}

void encode(float x, SampleEncoding encoding, unsigned char* p) {
    std::uint32_t bits = 0;
    switch (encoding) {
    case SampleEncoding::Pcm16:
        bits = static_cast<std::uint32_t>(toPcm(x, 16));
        p[0] = static_cast<unsigned char>(bits);
        p[1] = static_cast<unsigned char>(bits >> 8);
        return;
    case SampleEncoding::Pcm24:
        bits = static_cast<std::uint32_t>(toPcm(x, 24));
        p[0] = static_cast<unsigned char>(bits);
        p[1] = static_cast<unsigned char>(bits >> 8);
        p[2] = static_cast<unsigned char>(bits >> 16);
        return;
    case SampleEncoding::Pcm32:
        bits = static_cast<std::uint32_t>(toPcm(x, 32));
        break;
    case SampleEncoding::Float32:
        std::memcpy(&bits, &x, sizeof bits);
        break;
    case SampleEncoding::Float64: {
        const double d = x;
        std::uint64_t b64;
        std::memcpy(&b64, &d, sizeof b64);
        for (int i = 0; i < 8; ++i)
            p[i] = static_cast<unsigned char>(b64 >> (8 * i));
        return;
    }
    }
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(bits >> (8 * i));
}

// The header for `frames` frames: RIFF, "fmt " (with cbSize and a "fact" chunk for float, as
// the format asks of non-PCM files), "data".
std::vector<unsigned char> makeHeader(const WavFormat& f, std::uint64_t frames) {
    const bool isFloat = isFloatEncoding(f.encoding);
    const auto frameBytes = static_cast<std::uint32_t>(f.frameBytes());
    const auto dataBytes = static_cast<std::uint32_t>(frames * frameBytes);
    const std::uint32_t formatBytes = isFloat ? 18 : 16;
    const std::uint32_t factBytes = isFloat ? 12 : 0;
    const std::uint32_t padBytes = dataBytes & 1; // chunks are padded to even length
    std::vector<unsigned char> h;
    putId(h, "RIFF");
    put32(h, 4 + (8 + formatBytes) + factBytes + 8 + dataBytes + padBytes);
    putId(h, "WAVE");
    putId(h, "fmt ");
    put32(h, formatBytes);
    put16(h, isFloat ? kFormatFloat : kFormatPcm);
    put16(h, static_cast<std::uint32_t>(f.channels));
    put32(h, f.sampleRate);
    put32(h, f.sampleRate * frameBytes);
    put16(h, frameBytes);
    put16(h, static_cast<std::uint32_t>(bytesPerSample(f.encoding) * 8));
    if (isFloat) {
        put16(h, 0); // cbSize: no extension
        putId(h, "fact");
        put32(h, 4);
        put32(h, static_cast<std::uint32_t>(frames));
    }
    putId(h, "data");
    put32(h, dataBytes);
    return h;
}

// Creates the file so that it can be deleted while we still hold it open: a crash handler can
// then remove it although no one closes it first.
std::FILE* createShared(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                           nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY | _O_WRONLY);
    if (fd < 0) {
        CloseHandle(h);
        return nullptr;
    }
    std::FILE* f = _fdopen(fd, "wb");
    if (!f) _close(fd);
    return f;
}

} // namespace

bool WavWriter::open(const std::string& path, const WavFormat& format, std::string& error) {
    abandon();
    if (format.channels < 1 || format.channels > 2 || format.sampleRate < kMinSampleRateHz ||
        format.sampleRate > kMaxSampleRateHz) {
        error = "cannot write " + path + ": unsupported channel count or sample rate";
        return false;
    }
    fmt_ = format;
    frames_ = 0;
    finalPath_ = path;
    tempPath_ = temporaryPathFor(path);
    file_ = createShared(tempPath_);
    if (!file_) {
        error = "cannot create " + tempPath_ + ": " + windowsErrorText(GetLastError()) +
                " (check that its folder exists and is writable)";
        tempPath_.clear();
        return false;
    }
    const std::vector<unsigned char> header = makeHeader(fmt_, 0);
    headerBytes_ = static_cast<std::uint32_t>(header.size());
    if (std::fwrite(header.data(), 1, header.size(), file_) != header.size()) {
        error = "cannot write " + tempPath_ + ": " + std::strerror(errno);
        abandon();
        return false;
    }
    return true;
}

bool WavWriter::write(const float* left, const float* right, std::size_t count,
                      std::string& error) {
    if (!file_) {
        error = "write to a WAV file that is not open";
        return false;
    }
    if (count == 0) return true;
    const auto frameBytes = static_cast<std::size_t>(fmt_.frameBytes());
    const std::uint64_t limitFrames = (kMaxRiffBytes - headerBytes_ - 1) / frameBytes;
    if (count > limitFrames - frames_) {
        error = "cannot write " + finalPath_ + ": the audio exceeds the 4 GiB limit of WAV files";
        return false;
    }
    raw_.resize(count * frameBytes);
    const int sampleBytes = bytesPerSample(fmt_.encoding);
    unsigned char* p = raw_.data();
    for (std::size_t i = 0; i < count; ++i, p += frameBytes) {
        encode(left[i], fmt_.encoding, p);
        if (fmt_.channels == 2) encode(right[i], fmt_.encoding, p + sampleBytes);
    }
    if (std::fwrite(raw_.data(), 1, raw_.size(), file_) != raw_.size()) {
        error = "cannot write " + tempPath_ + ": " + std::strerror(errno);
        return false;
    }
    frames_ += count;
    return true;
}

bool WavWriter::commit(std::string& error) {
    if (!file_) {
        error = "commit of a WAV file that is not open";
        return false;
    }
    const std::vector<unsigned char> header = makeHeader(fmt_, frames_);
    const bool oddData = (frames_ * static_cast<std::uint64_t>(fmt_.frameBytes())) & 1;
    bool ok = (!oddData || std::fputc(0, file_) != EOF) && std::fseek(file_, 0, SEEK_SET) == 0 &&
              std::fwrite(header.data(), 1, header.size(), file_) == header.size();
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (!ok) {
        error = "cannot finish " + tempPath_ + ": " + std::strerror(errno);
        abandon();
        return false;
    }
    if (!MoveFileExA(tempPath_.c_str(), finalPath_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        error = "cannot rename " + tempPath_ + " to " + finalPath_ + ": " +
                windowsErrorText(GetLastError());
        abandon();
        return false;
    }
    tempPath_.clear();
    return true;
}

void WavWriter::abandon() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!tempPath_.empty()) DeleteFileA(tempPath_.c_str());
    tempPath_.clear();
}

} // namespace qv
