#include "tools/picture/PngWriter.h"

#include "tools/picture/Deflate.h"

#include <cstdio>
#include <unordered_map>

namespace qv {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kColourTypeRgb = 2;
constexpr std::uint8_t kColourTypePalette = 3;
constexpr std::uint8_t kFilterNone = 0;
constexpr std::size_t kMaxPalette = 256;

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

// The picture's colours in order of first appearance, and each pixel's index; false when there
// are more than a palette holds.
bool palettise(const std::vector<std::uint8_t>& rgb, std::vector<std::uint8_t>& palette,
               std::vector<std::uint8_t>& indices) {
    std::unordered_map<std::uint32_t, std::uint8_t> index;
    indices.resize(rgb.size() / 3);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const std::uint32_t colour = rgb[3 * i] << 16 | rgb[3 * i + 1] << 8 | rgb[3 * i + 2];
        auto found = index.find(colour);
        if (found == index.end()) {
            if (index.size() == kMaxPalette) return false;
            found = index.emplace(colour, static_cast<std::uint8_t>(index.size())).first;
            palette.insert(palette.end(), rgb.begin() + 3 * i, rgb.begin() + 3 * i + 3);
        }
        indices[i] = found->second;
    }
    return true;
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

std::vector<std::uint8_t> PngWriter::encode(int width, int height,
                                            const std::vector<std::uint8_t>& rgb) {
    std::vector<std::uint8_t> palette, indices;
    const bool indexed = palettise(rgb, palette, indices);
    const std::vector<std::uint8_t>& pixels = indexed ? indices : rgb;
    const std::size_t bytesPerPixel = indexed ? 1 : 3;

    std::vector<std::uint8_t> out(kSignature, kSignature + sizeof(kSignature));
    std::vector<std::uint8_t> header;
    put32(header, static_cast<std::uint32_t>(width));
    put32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, indexed ? kColourTypePalette : kColourTypeRgb, 0, 0, 0});
    chunk(out, "IHDR", header);
    if (indexed) chunk(out, "PLTE", palette);

    // Every row starts with its filter type.
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(kFilterNone);
        const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(rowBytes * y);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }
    chunk(out, "IDAT", Deflate::zlib(raw.data(), raw.size()));
    chunk(out, "IEND", {});
    return out;
}

bool PngWriter::write(const std::string& path, int width, int height,
                      const std::vector<std::uint8_t>& rgb, std::string& error) {
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<std::size_t>(width) * height * 3) {
        error = "no picture to write to " + path;
        return false;
    }
    const std::vector<std::uint8_t> file = encode(width, height, rgb);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        error = "cannot create " + path + " (check that its folder exists and is writable)";
        return false;
    }
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    if (std::fclose(f) != 0 || !ok) {
        error = "cannot write " + path + " (is the disk full?)";
        return false;
    }
    return true;
}

} // namespace qv
