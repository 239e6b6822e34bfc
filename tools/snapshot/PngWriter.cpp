#include "tools/snapshot/PngWriter.h"

#include <cstdio>

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kMaxStoredBlock = 65535; // bytes in one stored deflate block
constexpr std::uint32_t kAdlerModulus = 65521;
constexpr std::uint8_t kColourTypeRgb = 2;
constexpr std::uint8_t kFilterNone = 0;

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void chunk(std::vector<std::uint8_t>& out, const char* type,
           const std::vector<std::uint8_t>& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, PngWriter::crc32(out.data() + start, out.size() - start));
}

} // namespace

std::uint32_t PngWriter::crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::uint32_t PngWriter::adler32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t a = 1, b = 0;
    for (std::size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % kAdlerModulus;
        b = (b + a) % kAdlerModulus;
    }
    return (b << 16) | a;
}

std::vector<std::uint8_t> PngWriter::encode(int width, int height,
                                            const std::vector<std::uint8_t>& rgb) {
    std::vector<std::uint8_t> out(kSignature, kSignature + sizeof(kSignature));
    std::vector<std::uint8_t> header;
    put32(header, static_cast<std::uint32_t>(width));
    put32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, kColourTypeRgb, 0, 0, 0}); // depth, colour, methods
    chunk(out, "IHDR", header);

    // Every row starts with its filter type.
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(kFilterNone);
        const auto row = rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes * y);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }
    std::vector<std::uint8_t> zlib = {0x78, 0x01}; // deflate, 32 KiB window, no dictionary
    std::size_t pos = 0;
    do {
        const std::size_t n =
            raw.size() - pos < kMaxStoredBlock ? raw.size() - pos : kMaxStoredBlock;
        const bool last = pos + n == raw.size();
        zlib.push_back(last ? 1 : 0); // BFINAL, BTYPE 00 (stored)
        zlib.push_back(static_cast<std::uint8_t>(n & 0xFF));
        zlib.push_back(static_cast<std::uint8_t>(n >> 8));
        zlib.push_back(static_cast<std::uint8_t>(~n & 0xFF));
        zlib.push_back(static_cast<std::uint8_t>((~n >> 8) & 0xFF));
        zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                    raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
    } while (pos < raw.size());
    put32(zlib, adler32(raw.data(), raw.size()));
    chunk(out, "IDAT", zlib);
    chunk(out, "IEND", {});
    return out;
}

bool PngWriter::write(const std::string& path, int width, int height,
                      const std::vector<std::uint8_t>& rgb, std::string& error) {
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<std::size_t>(width) * height * 3) {
        error = "no picture to write";
        return false;
    }
    const std::vector<std::uint8_t> file = encode(width, height, rgb);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        error = "cannot create " + path;
        return false;
    }
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    if (std::fclose(f) != 0 || !ok) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
