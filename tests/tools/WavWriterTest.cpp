// The WAV writer: round trips through the reader for every encoding, channel count and some odd
// rates; PCM saturation; and the temporary-name protocol that keeps unfinished files from
// looking finished.
#include "tools/WavWriter.h"
#include "tests/tools/TestFiles.h"
#include "tools/WavReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qv {

namespace {

struct ReadBack {
    WavFormat format;
    std::vector<float> left, right;
};

ReadBack readWav(const std::string& path) {
    ReadBack r;
    WavReader reader;
    std::string error;
    EXPECT_TRUE(reader.open(path, error)) << error;
    r.format = reader.format();
    r.left.resize(r.format.frames);
    r.right.resize(r.format.frames);
    std::size_t n = 0;
    EXPECT_TRUE(reader.read(r.left.data(), r.right.data(), r.left.size(), n, error)) << error;
    EXPECT_EQ(n, r.format.frames);
    return r;
}

// Values every encoding holds exactly: multiples of 2^-15 within -1..1-2^-15, full-scale ends
// included. Float encodings additionally get values PCM could not hold.
std::vector<float> exactSignal(std::size_t frames, int channel, bool isFloat) {
    std::vector<float> x(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const long code = static_cast<long>((i * 7919 + channel * 104729) % 65536) - 32768;
        x[i] = static_cast<float>(code) / 32768.0f;
    }
    x[0] = -1.0f;
    x[1] = 32767.0f / 32768.0f;
    if (isFloat) {
        x[2] = 1.75f;
        x[3] = 1e-30f;
        x[4] = -std::numeric_limits<float>::denorm_min();
    }
    return x;
}

TEST(WavWriterTest, RoundTripsEveryEncodingChannelCountAndRate) {
    struct Case {
        SampleEncoding encoding;
        int channels;
        unsigned rate;
        float tolerance; // 0: bit-exact
    };
    const Case cases[] = {
        {SampleEncoding::Pcm16, 1, 8000, 0.0f},     {SampleEncoding::Pcm16, 2, 44100, 0.0f},
        {SampleEncoding::Pcm24, 1, 11025, 0.0f},    {SampleEncoding::Pcm24, 2, 96000, 0.0f},
        {SampleEncoding::Pcm32, 2, 48000, 0.0f},    {SampleEncoding::Float32, 1, 22050, 0.0f},
        {SampleEncoding::Float32, 2, 7919, 0.0f},   {SampleEncoding::Float64, 2, 192000, 0.0f},
        {SampleEncoding::Float32, 2, 768000, 0.0f}, {SampleEncoding::Pcm24, 2, 1000, 0.0f},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(encodingName(c.encoding)) + ", " + std::to_string(c.channels) +
                     " ch, " + std::to_string(c.rate) + " Hz");
        const std::size_t frames = 1001; // odd, so the data chunk of 24-bit mono needs a pad
        const bool isFloat = isFloatEncoding(c.encoding);
        const std::vector<float> left = exactSignal(frames, 0, isFloat);
        const std::vector<float> right = exactSignal(frames, 1, isFloat);
        const std::string path = dir.file("rt.wav");
        ASSERT_EQ(writeWav(path, c.encoding, c.channels, c.rate, left, right), "");

        const ReadBack r = readWav(path);
        EXPECT_EQ(r.format.encoding, c.encoding);
        EXPECT_EQ(r.format.channels, c.channels);
        EXPECT_EQ(r.format.sampleRate, c.rate);
        ASSERT_EQ(r.format.frames, frames);
        for (std::size_t i = 0; i < frames; ++i) {
            ASSERT_EQ(r.left[i], left[i]) << "frame " << i;
            ASSERT_EQ(r.right[i], c.channels == 2 ? right[i] : left[i]) << "frame " << i;
        }
        // The RIFF size matches the file, so other programs read it too.
        const std::vector<unsigned char> bytes = readBytes(path);
        const std::uint32_t riff =
            bytes[4] | bytes[5] << 8 | bytes[6] << 16 | static_cast<std::uint32_t>(bytes[7]) << 24;
        EXPECT_EQ(riff + 8u, bytes.size());
    }
}

TEST(WavWriterTest, PcmSaturatesOutOfRangeSamplesAndWritesNanAsSilence) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> in = {1.5f, -2.0f, nan, inf, -inf, 0.99999994f};
    struct Case {
        SampleEncoding encoding;
        float top; // the largest positive code as a float
    };
    const Case cases[] = {{SampleEncoding::Pcm16, 32767.0f / 32768.0f},
                          {SampleEncoding::Pcm24, 8388607.0f / 8388608.0f}};
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(encodingName(c.encoding));
        ASSERT_EQ(writeWav(dir.file("clip.wav"), c.encoding, 1, 44100, in, in), "");
        const ReadBack r = readWav(dir.file("clip.wav"));
        ASSERT_EQ(r.left.size(), in.size());
        EXPECT_EQ(r.left[0], c.top);
        EXPECT_EQ(r.left[1], -1.0f);
        EXPECT_EQ(r.left[2], 0.0f);
        EXPECT_EQ(r.left[3], c.top);
        EXPECT_EQ(r.left[4], -1.0f);
        EXPECT_EQ(r.left[5], c.top); // rounds up to full scale, saturates
    }
}

TEST(WavWriterTest, UnfinishedFilesKeepTheirTemporaryName) {
    ScratchDir dir;
    const std::string path = dir.file("out.wav");
    WavFormat f;
    std::string error;
    const std::vector<float> x(100, 0.25f);
    {
        WavWriter w;
        ASSERT_TRUE(w.open(path, f, error)) << error;
        ASSERT_TRUE(w.write(x.data(), x.data(), x.size(), error)) << error;
        EXPECT_TRUE(fileExists(WavWriter::temporaryPathFor(path)));
        EXPECT_FALSE(fileExists(path));
        // Destroyed without commit, as when a render fails half way.
    }
    EXPECT_EQ(dir.list().size(), 0u);

    WavWriter w;
    ASSERT_TRUE(w.open(path, f, error)) << error;
    ASSERT_TRUE(w.write(x.data(), x.data(), x.size(), error));
    w.abandon();
    EXPECT_EQ(dir.list().size(), 0u);
}

TEST(WavWriterTest, CommitReplacesAnOlderFileAtTheEnd) {
    ScratchDir dir;
    const std::string path = dir.file("out.wav");
    ASSERT_EQ(writeWav(path, SampleEncoding::Pcm16, 1, 44100, std::vector<float>(50, 0.5f), {}),
              "");
    WavFormat f;
    WavWriter w;
    std::string error;
    ASSERT_TRUE(w.open(path, f, error)) << error;
    const std::vector<float> x(20, -0.25f);
    ASSERT_TRUE(w.write(x.data(), x.data(), x.size(), error));
    EXPECT_EQ(readWav(path).format.frames, 50u); // the old file is intact until commit
    ASSERT_TRUE(w.commit(error)) << error;
    const ReadBack r = readWav(path);
    EXPECT_EQ(r.format.encoding, SampleEncoding::Float32);
    ASSERT_EQ(r.format.frames, 20u);
    EXPECT_EQ(r.left[19], -0.25f);
    EXPECT_EQ(dir.list(), std::vector<std::string>{"out.wav"});
}

TEST(WavWriterTest, RefusesImpossibleTargetsAndFormats) {
    ScratchDir dir;
    WavWriter w;
    WavFormat f;
    std::string error;
    EXPECT_FALSE(w.open(dir.file("no-such-folder/out.wav"), f, error));
    EXPECT_NE(error.find("out.wav"), std::string::npos) << error;
    f.channels = 3;
    EXPECT_FALSE(w.open(dir.file("out.wav"), f, error));
    f.channels = 2;
    f.sampleRate = 0;
    EXPECT_FALSE(w.open(dir.file("out.wav"), f, error));
    EXPECT_EQ(dir.list().size(), 0u);
    const float x = 0.0f;
    EXPECT_FALSE(w.write(&x, &x, 1, error));
    EXPECT_FALSE(w.commit(error));
}

} // namespace

} // namespace qv
