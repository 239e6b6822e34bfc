// Compresses bytes into a zlib stream (RFC 1950 around RFC 1951 deflate) with our own LZ77 match
// finder and the fixed Huffman codes: no compression library needed, and pictures with long runs
// of one colour (editor screenshots, plots) shrink to a fraction of their size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

class Deflate {
public:
    // The whole zlib stream: header, one fixed-Huffman block, Adler-32 of `data`.
    static std::vector<std::uint8_t> zlib(const std::uint8_t* data, std::size_t size);

    static std::uint32_t adler32(const std::uint8_t* data, std::size_t size);
};

} // namespace qv
