// The WAV reader: sample decoding of every encoding, the layouts real files have (extensible
// format, extra and odd-sized chunks, trailing bytes) and a table of malformed headers, each of
// which must be refused with a reason instead of being read as audio.
#include "tools/WavReader.h"
#include "tests/tools/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace qv {

namespace {

using Bytes = std::vector<unsigned char>;

void put16(Bytes& b, std::size_t at, unsigned v) {
    b[at] = static_cast<unsigned char>(v);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}
void append(Bytes& b, const char* id, std::uint32_t size) {
    b.insert(b.end(), id, id + 4);
    const std::size_t at = b.size();
    b.resize(b.size() + 4);
    put32(b, at, size);
}

// Byte offsets in the canonical files built below.
constexpr std::size_t kRiffSize = 4, kFormatTag = 20, kChannels = 22, kRate = 24, kBlockAlign = 32,
                      kBits = 34, kDataId = 36, kDataSize = 40;

// A canonical file: "fmt " of 16 bytes, then "data" with `data` as the samples.
Bytes canonical(unsigned tag, unsigned channels, std::uint32_t rate, unsigned bits,
                const Bytes& data) {
    Bytes b;
    append(b, "RIFF", 0);
    b.insert(b.end(), {'W', 'A', 'V', 'E'});
    append(b, "fmt ", 16);
    b.resize(b.size() + 16);
    put16(b, kFormatTag, tag);
    put16(b, kChannels, channels);
    put32(b, kRate, rate);
    put32(b, 28, rate * channels * bits / 8);
    put16(b, kBlockAlign, channels * bits / 8);
    put16(b, kBits, bits);
    append(b, "data", static_cast<std::uint32_t>(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    put32(b, kRiffSize, static_cast<std::uint32_t>(b.size() - 8));
    return b;
}

// Four stereo 16-bit frames.
Bytes validPcm16() {
    return canonical(1, 2, 44100, 16, Bytes(16, 0));
}

struct Opened {
    bool ok;
    std::string error;
    WavFormat format;
    std::vector<float> left, right;
};

Opened openBytes(const ScratchDir& dir, const Bytes& bytes) {
    const std::string path = dir.file("in.wav");
    writeBytes(path, bytes);
    Opened o;
    WavReader reader;
    o.ok = reader.open(path, o.error);
    if (!o.ok) return o;
    o.format = reader.format();
    o.left.resize(o.format.frames + 1);
    o.right.resize(o.format.frames + 1);
    std::size_t n = 0;
    EXPECT_TRUE(reader.read(o.left.data(), o.right.data(), o.left.size(), n, o.error));
    EXPECT_EQ(n, o.format.frames);
    o.left.resize(n);
    o.right.resize(n);
    return o;
}

TEST(WavReaderTest, DecodesEachEncodingToFullScaleFloats) {
    struct Case {
        const char* name;
        unsigned tag, bits;
        Bytes sample;
        float expected;
    };
    Bytes float32(4), float64(8);
    const float f = -0.375f;
    const double d = 0.8125;
    std::memcpy(float32.data(), &f, 4);
    std::memcpy(float64.data(), &d, 8);
    const Case cases[] = {
        {"16-bit most negative", 1, 16, {0x00, 0x80}, -1.0f},
        {"16-bit most positive", 1, 16, {0xFF, 0x7F}, 32767.0f / 32768.0f},
        {"16-bit -1 LSB", 1, 16, {0xFF, 0xFF}, -1.0f / 32768.0f},
        {"24-bit most negative", 1, 24, {0x00, 0x00, 0x80}, -1.0f},
        {"24-bit -1 LSB (sign extension)", 1, 24, {0xFF, 0xFF, 0xFF}, -1.0f / 8388608.0f},
        {"24-bit +1 LSB", 1, 24, {0x01, 0x00, 0x00}, 1.0f / 8388608.0f},
        {"24-bit half scale", 1, 24, {0x00, 0x00, 0x40}, 0.5f},
        {"32-bit PCM most negative", 1, 32, {0x00, 0x00, 0x00, 0x80}, -1.0f},
        {"32-bit float", 3, 32, float32, f},
        {"64-bit float", 3, 64, float64, static_cast<float>(d)},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Mono: the one channel is delivered on both sides.
        const Opened o = openBytes(dir, canonical(c.tag, 1, 48000, c.bits, c.sample));
        ASSERT_TRUE(o.ok) << o.error;
        ASSERT_EQ(o.format.frames, 1u);
        EXPECT_EQ(o.left[0], c.expected);
        EXPECT_EQ(o.right[0], c.expected);
    }
}

TEST(WavReaderTest, StereoFramesAreSplitInOrder) {
    // 16-bit frames (L, R): (1, -1), (2, -2), (3, -3) in LSBs.
    Bytes data;
    for (int i = 1; i <= 3; ++i) {
        data.insert(data.end(), {static_cast<unsigned char>(i), 0x00});
        const unsigned neg = static_cast<unsigned>(0x10000 - i);
        data.insert(data.end(),
                    {static_cast<unsigned char>(neg), static_cast<unsigned char>(neg >> 8)});
    }
    ScratchDir dir;
    const Opened o = openBytes(dir, canonical(1, 2, 44100, 16, data));
    ASSERT_TRUE(o.ok) << o.error;
    ASSERT_EQ(o.left.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(o.left[i], (i + 1) / 32768.0f);
        EXPECT_EQ(o.right[i], -(i + 1) / 32768.0f);
    }
}

TEST(WavReaderTest, ReadsInPiecesUntilTheDataEnds) {
    ScratchDir dir;
    Bytes data;
    for (int i = 0; i < 10; ++i)
        data.insert(data.end(), {static_cast<unsigned char>(i), 0});
    writeBytes(dir.file("in.wav"), canonical(1, 1, 22050, 16, data));
    WavReader reader;
    std::string error;
    ASSERT_TRUE(reader.open(dir.file("in.wav"), error)) << error;
    float l[4], r[4];
    std::vector<float> all;
    std::size_t n = 0;
    do {
        ASSERT_TRUE(reader.read(l, r, 4, n, error)) << error;
        all.insert(all.end(), l, l + n);
    } while (n > 0);
    ASSERT_EQ(all.size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(all[i], i / 32768.0f);
    EXPECT_EQ(reader.framesLeft(), 0u);
}

TEST(WavReaderTest, AcceptsExtensibleFormatExtraChunksAndTrailingBytes) {
    // 24-bit stereo in WAVE_FORMAT_EXTENSIBLE, a "LIST" chunk of odd size (so a pad byte)
    // before the data and some bytes after the RIFF form.
    Bytes b;
    append(b, "RIFF", 0);
    b.insert(b.end(), {'W', 'A', 'V', 'E'});
    append(b, "fmt ", 40);
    const std::size_t f = b.size();
    b.resize(b.size() + 40);
    put16(b, f, 0xFFFE);
    put16(b, f + 2, 2);
    put32(b, f + 4, 96000);
    put32(b, f + 8, 96000 * 6);
    put16(b, f + 12, 6);
    put16(b, f + 14, 24);
    put16(b, f + 16, 22); // cbSize
    put16(b, f + 18, 24); // valid bits
    put32(b, f + 20, 3);  // channel mask
    const unsigned char pcmGuid[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                       0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    std::memcpy(&b[f + 24], pcmGuid, 16);
    append(b, "LIST", 3);
    b.insert(b.end(), {'a', 'b', 'c', 0 /* pad */});
    append(b, "data", 6);
    b.insert(b.end(), {0x00, 0x00, 0x40, 0x00, 0x00, 0xC0}); // +0.5, -0.5
    put32(b, kRiffSize, static_cast<std::uint32_t>(b.size() - 8));
    b.insert(b.end(), {'j', 'u', 'n', 'k'});
    ScratchDir dir;
    const Opened o = openBytes(dir, b);
    ASSERT_TRUE(o.ok) << o.error;
    EXPECT_EQ(o.format.encoding, SampleEncoding::Pcm24);
    EXPECT_EQ(o.format.sampleRate, 96000u);
    ASSERT_EQ(o.left.size(), 1u);
    EXPECT_EQ(o.left[0], 0.5f);
    EXPECT_EQ(o.right[0], -0.5f);
}

TEST(WavReaderTest, RefusesMalformedFiles) {
    struct Case {
        const char* name;
        std::function<void(Bytes&)> corrupt;
        const char* reason; // part of the error text
    };
    const Case cases[] = {
        {"empty file", [](Bytes& b) { b.clear(); }, "truncated header"},
        {"cut inside the RIFF header", [](Bytes& b) { b.resize(10); }, "truncated header"},
        {"not RIFF", [](Bytes& b) { b[3] = 'X'; }, "not a RIFF/WAVE"},
        {"RIFF but not WAVE", [](Bytes& b) { std::memcpy(&b[8], "AVI ", 4); }, "not a RIFF/WAVE"},
        {"file cut in the data", [](Bytes& b) { b.resize(b.size() - 6); }, "RIFF size"},
        {"RIFF size beyond the file", [](Bytes& b) { put32(b, kRiffSize, 1000); }, "RIFF size"},
        {"data size beyond the RIFF form", [](Bytes& b) { put32(b, kDataSize, 17); }, "claims"},
        {"data size of a streaming writer", [](Bytes& b) { put32(b, kDataSize, 0xFFFFFFFF); },
         "claims"},
        {"fmt size beyond the file", [](Bytes& b) { put32(b, 16, 5000); }, "claims"},
        {"fmt chunk too short", [](Bytes& b) { put32(b, 16, 14); }, "too short"},
        {"0 channels", [](Bytes& b) { put16(b, kChannels, 0); }, "0 channels"},
        {"3 channels",
         [](Bytes& b) {
             put16(b, kChannels, 3);
             put16(b, kBlockAlign, 6);
         },
         "3 channels"},
        {"8-bit PCM",
         [](Bytes& b) {
             put16(b, kBits, 8);
             put16(b, kBlockAlign, 2);
         },
         "8-bit PCM is not supported"},
        {"12-bit PCM", [](Bytes& b) { put16(b, kBits, 12); }, "12-bit PCM is not supported"},
        {"16-bit float", [](Bytes& b) { put16(b, kFormatTag, 3); }, "16-bit float"},
        {"ADPCM", [](Bytes& b) { put16(b, kFormatTag, 2); }, "unsupported format tag 2"},
        {"extensible without extension", [](Bytes& b) { put16(b, kFormatTag, 0xFFFE); },
         "extensible"},
        {"rate 0", [](Bytes& b) { put32(b, kRate, 0); }, "absurd sample rate 0"},
        {"rate below 1 kHz", [](Bytes& b) { put32(b, kRate, 999); }, "absurd sample rate"},
        {"rate of 4 GHz", [](Bytes& b) { put32(b, kRate, 4000000000u); }, "absurd sample rate"},
        {"block align wrong", [](Bytes& b) { put16(b, kBlockAlign, 3); }, "block align"},
        {"data not whole frames", [](Bytes& b) { put32(b, kDataSize, 14); }, "not a whole number"},
        {"no data chunk", [](Bytes& b) { std::memcpy(&b[kDataId], "junk", 4); },
         "no \"data\" chunk"},
        {"data before fmt", [](Bytes& b) { std::memcpy(&b[12], "fmtx", 4); },
         "before any \"fmt \""},
        {"no fmt chunk",
         [](Bytes& b) {
             std::memcpy(&b[12], "fmtx", 4);
             std::memcpy(&b[kDataId], "junk", 4);
         },
         "no \"fmt \" chunk"},
        {"two fmt chunks",
         [](Bytes& b) {
             Bytes fmt(b.begin() + 12, b.begin() + kDataId);
             b.insert(b.begin() + kDataId, fmt.begin(), fmt.end());
             put32(b, kRiffSize, static_cast<std::uint32_t>(b.size() - 8));
         },
         "more than one"},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes b = validPcm16();
        c.corrupt(b);
        const Opened o = openBytes(dir, b);
        EXPECT_FALSE(o.ok);
        EXPECT_NE(o.error.find(c.reason), std::string::npos) << o.error;
        EXPECT_EQ(o.error.find('\n'), std::string::npos) << "one line: " << o.error;
    }
}

TEST(WavReaderTest, MissingFileAndClosedReaderFailCleanly) {
    ScratchDir dir;
    WavReader reader;
    std::string error;
    EXPECT_FALSE(reader.open(dir.file("absent.wav"), error));
    EXPECT_NE(error.find("absent.wav"), std::string::npos) << error;
    EXPECT_FALSE(reader.isOpen());
    float l[1], r[1];
    std::size_t n = 7;
    EXPECT_FALSE(reader.read(l, r, 1, n, error));
    EXPECT_EQ(n, 0u);
}

} // namespace

} // namespace qv
