#include "tools/picture/Deflate.h"

#include <algorithm>

namespace qv {

namespace {

constexpr std::size_t kWindow = 32768; // farthest a match may reach back
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 258;
constexpr int kHashBits = 15;
constexpr int kMaxChain = 48; // candidates tried per position: speed against size
constexpr std::uint32_t kAdlerModulus = 65521;
constexpr std::uint16_t kEndOfBlock = 256;

// Length symbols 257..285: the shortest length of each and its extra bits.
constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                           15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                           67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
// Distance symbols 0..29: the shortest distance of each and its extra bits.
constexpr std::uint16_t kDistanceBase[30] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Writes bits least significant first, as deflate packs them.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : bytes_(out) {}
    void bits(std::uint32_t value, int count) {
        buffer_ |= value << used_;
        used_ += count;
        while (used_ >= 8) {
            bytes_.push_back(static_cast<std::uint8_t>(buffer_));
            buffer_ >>= 8;
            used_ -= 8;
        }
    }
    // Huffman codes go most significant bit first.
    void code(std::uint32_t value, int length) {
        std::uint32_t reversed = 0;
        for (int i = 0; i < length; ++i)
            reversed |= ((value >> i) & 1u) << (length - 1 - i);
        bits(reversed, length);
    }
    void flush() {
        if (used_ > 0) bytes_.push_back(static_cast<std::uint8_t>(buffer_));
        buffer_ = 0;
        used_ = 0;
    }

private:
    std::vector<std::uint8_t>& bytes_;
    std::uint32_t buffer_ = 0; // bits not yet written
    int used_ = 0;             // how many
};

// The fixed literal/length code of deflate.
void literal(BitWriter& w, unsigned symbol) {
    if (symbol < 144)
        w.code(0x30 + symbol, 8);
    else if (symbol < 256)
        w.code(0x190 + (symbol - 144), 9);
    else if (symbol < 280)
        w.code(symbol - 256, 7);
    else
        w.code(0xC0 + (symbol - 280), 8);
}

void match(BitWriter& w, std::size_t length, std::size_t distance) {
    int l = 28;
    while (kLengthBase[l] > length)
        --l;
    literal(w, 257 + static_cast<unsigned>(l));
    w.bits(static_cast<std::uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
    int d = 29;
    while (kDistanceBase[d] > distance)
        --d;
    w.code(static_cast<std::uint32_t>(d), 5);
    w.bits(static_cast<std::uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

std::uint32_t hash3(const std::uint8_t* p) {
    const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
    return (v * 2654435761u) >> (32 - kHashBits);
}

} // namespace

std::uint32_t Deflate::adler32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t a = 1, b = 0;
    for (std::size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % kAdlerModulus;
        b = (b + a) % kAdlerModulus;
    }
    return (b << 16) | a;
}

std::vector<std::uint8_t> Deflate::zlib(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out = {0x78, 0x01}; // deflate, 32 KiB window, no dictionary
    BitWriter w(out);
    w.bits(1, 1); // BFINAL: the only block
    w.bits(1, 2); // BTYPE 01: fixed Huffman codes
    std::vector<std::int32_t> head(std::size_t(1) << kHashBits, -1); // last position per hash
    std::vector<std::int32_t> previous(kWindow, -1); // earlier position with the same hash
    auto insert = [&](std::size_t pos) {
        if (pos + kMinMatch > size) return;
        const std::uint32_t h = hash3(data + pos);
        previous[pos % kWindow] = head[h];
        head[h] = static_cast<std::int32_t>(pos);
    };
    std::size_t pos = 0;
    while (pos < size) {
        std::size_t bestLength = 0, bestDistance = 0;
        if (pos + kMinMatch <= size) {
            const std::size_t limit = std::min(kMaxMatch, size - pos);
            std::int32_t candidate = head[hash3(data + pos)];
            for (int chain = 0; candidate >= 0 && chain < kMaxChain; ++chain) {
                const auto c = static_cast<std::size_t>(candidate);
                if (pos - c > kWindow - 1) break;
                std::size_t n = 0;
                while (n < limit && data[c + n] == data[pos + n])
                    ++n;
                if (n > bestLength) {
                    bestLength = n;
                    bestDistance = pos - c;
                    if (n == limit) break;
                }
                const std::int32_t next = previous[c % kWindow];
                if (next >= candidate) break; // the slot was reused by a newer position
                candidate = next;
            }
        }
        if (bestLength >= kMinMatch) {
            match(w, bestLength, bestDistance);
            for (std::size_t i = 0; i < bestLength; ++i)
                insert(pos + i);
            pos += bestLength;
        } else {
            literal(w, data[pos]);
            insert(pos);
            ++pos;
        }
    }
    literal(w, kEndOfBlock);
    w.flush();
    const std::uint32_t adler = adler32(data, size);
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(adler >> shift));
    return out;
}

} // namespace qv
