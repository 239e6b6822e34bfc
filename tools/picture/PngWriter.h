// Writes 8-bit pictures as PNG files, compressed with our own deflate (tools/picture/Deflate): a
// picture of at most 256 colours as a palette image (one byte per pixel), any other as RGB.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class PngWriter {
public:
    // rgb: width * height * 3 bytes, rows top to bottom. Returns false with a reason in error.
    static bool write(const std::string& path, int width, int height,
                      const std::vector<std::uint8_t>& rgb, std::string& error);
    // The whole file in memory (also for tests).
    static std::vector<std::uint8_t> encode(int width, int height,
                                            const std::vector<std::uint8_t>& rgb);

    static std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
};

} // namespace qv
