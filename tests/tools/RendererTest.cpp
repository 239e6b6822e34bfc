// Rendering files through the real plug-in DLLs with the tool's own job (the code behind
// "qvhost render"): output lengths with and without latency trimming, alignment when the plug-in
// passes audio through, level changes of known settings, mono and odd-rate input, bad samples,
// block-size independence, both DLLs agreeing, a mono plug-in, and failures leaving no file.
#include "tests/tools/TestFiles.h"
#include "tests/wine/DllPaths.h"
#include "tools/ProgrammeGenerator.h"
#include "tools/RenderJob.h"
#include "tools/RenderPlot.h"
#include "tools/WavReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <iterator>
#include <limits>

namespace qv {

namespace {

constexpr VstInt32 kOurLatency = 838;

// Every band's compressor bypassed and the limiter off: with unity levels, Wet 1 and Dry 0 the
// plug-in then only delays (the five bands add back up to the input).
const std::initializer_list<const char*> kTransparent = {
    "--set", "cp1_CompSW=1", "--set", "cp2_CompSW=1", "--set", "cp3_CompSW=1",
    "--set", "cp4_CompSW=1", "--set", "cp5_CompSW=1", "--set", "lt_LimSW=1"};

struct Audio {
    WavFormat format;
    std::vector<float> left, right;
};

Audio readWav(const std::string& path) {
    Audio a;
    WavReader reader;
    std::string error;
    EXPECT_TRUE(reader.open(path, error)) << error;
    a.format = reader.format();
    a.left.resize(a.format.frames);
    a.right.resize(a.format.frames);
    std::size_t n = 0;
    EXPECT_TRUE(reader.read(a.left.data(), a.right.data(), a.left.size(), n, error)) << error;
    return a;
}

// The test programme, `seconds` long at `rate`.
Audio programme(unsigned rate, double seconds) {
    ProgrammeGenerator g(rate, seconds);
    Audio a;
    a.format.sampleRate = rate;
    a.format.frames = g.totalFrames();
    a.left.resize(g.totalFrames());
    a.right.resize(g.totalFrames());
    g.generate(a.left.data(), a.right.data(), a.left.size());
    return a;
}

double maxDifference(const std::vector<float>& a, const std::vector<float>& b, float gain = 1) {
    EXPECT_EQ(a.size(), b.size());
    double d = 0.0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        d = std::fmax(d, std::fabs(static_cast<double>(a[i]) * gain - b[i]));
    return d;
}

class RendererTest : public ::testing::Test {
protected:
    // Renders `in` through `dll` into out.wav with extra command-line options.
    bool render(const char* dll, const std::string& in, std::vector<const char*> options,
                std::string& error) {
        const std::string plugin = pluginPath(dll);
        output = dir.file("out.wav");
        std::vector<const char*> argv = {"qvhost", "render", plugin.c_str(), in.c_str(),
                                         output.c_str()};
        argv.insert(argv.end(), options.begin(), options.end());
        CommandLine cmd;
        if (!CommandLine::parse(static_cast<int>(argv.size()), argv.data(), cmd, error))
            return false;
        return RenderJob::run(cmd, nullptr, report, error);
    }
    Audio renderOk(const char* dll, const std::string& in, std::vector<const char*> options) {
        std::string error;
        EXPECT_TRUE(render(dll, in, options, error)) << error;
        return readWav(output);
    }
    std::string writeProgramme(unsigned rate = 44100, double seconds = 2.0) {
        source = programme(rate, seconds);
        const std::string path = dir.file("in.wav");
        EXPECT_EQ(writeWav(path, SampleEncoding::Float32, 2, rate, source.left, source.right), "");
        return path;
    }
    static std::vector<const char*> with(std::initializer_list<const char*> a,
                                         std::initializer_list<const char*> b = {}) {
        std::vector<const char*> v(a);
        v.insert(v.end(), b.begin(), b.end());
        return v;
    }

    ScratchDir dir;
    std::string output;
    RenderReport report;
    Audio source;
};

TEST_F(RendererTest, OutputLengthWithAndWithoutTrimming) {
    const std::string in = writeProgramme();
    const Audio full = renderOk("Quorvanelle.dll", in, {});
    EXPECT_EQ(report.result.latency, kOurLatency);
    EXPECT_EQ(full.format.frames, source.left.size() + kOurLatency);
    EXPECT_EQ(full.format.encoding, SampleEncoding::Float32);
    EXPECT_EQ(full.format.channels, 2);
    EXPECT_EQ(full.format.sampleRate, 44100u);

    const Audio trimmed = renderOk("Quorvanelle.dll", in, {"--trim-latency"});
    EXPECT_EQ(trimmed.format.frames, source.left.size());
    EXPECT_EQ(report.result.outputFrames, source.left.size());
    // Trimming drops exactly the first `latency` frames of the untrimmed render.
    const std::vector<float> tail(full.left.begin() + kOurLatency, full.left.end());
    EXPECT_EQ(trimmed.left, tail);
}

TEST_F(RendererTest, TrimmedOutputLinesUpWithTheInputWhenThePluginPassesAudioThrough) {
    const std::string in = writeProgramme();
    struct Case {
        const char* name;
        std::vector<const char*> options;
        double tolerance;
    };
    const Case cases[] = {
        {"Monitor on", {"--set", "Monitor=1"}, 0.0},
        {"bands bypassed, limiter off", with(kTransparent), 1e-6},
        {"dry only", with(kTransparent, {"--set", "Wet out=0", "--set", "Dry out=1"}), 0.0},
        {"half wet, half dry", with(kTransparent, {"--set", "Wet out=0.5", "--set", "Dry out=0.5"}),
         1e-6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<const char*> options = c.options;
        options.push_back("--trim-latency");
        const Audio out = renderOk("Quorvanelle.dll", in, options);
        EXPECT_LE(maxDifference(source.left, out.left), c.tolerance);
        EXPECT_LE(maxDifference(source.right, out.right), c.tolerance);
    }
}

TEST_F(RendererTest, KnownSettingsChangeTheLevelByTheirAmount) {
    const std::string in = writeProgramme();
    struct Case {
        const char* name;
        std::vector<const char*> options;
        double gainDb;
    };
    const Case cases[] = {
        {"MasterOut 0.25", with(kTransparent, {"--set", "MasterOut=0.25"}), -12.0},
        {"MasterOut 0.625", with(kTransparent, {"--set", "55=0.625"}), 6.0},
        {"Wet 0.5, Dry 0", with(kTransparent, {"--set", "Wet out=0.5"}), 20 * std::log10(0.5)},
        {"Wet 0, Dry 0.25", with(kTransparent, {"--set", "Wet out=0", "--set", "Dry out=0.25"}),
         20 * std::log10(0.25)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<const char*> options = c.options;
        options.push_back("--trim-latency");
        const Audio out = renderOk("Quorvanelle.dll", in, options);
        const auto gain = static_cast<float>(std::pow(10.0, c.gainDb / 20.0));
        EXPECT_LE(maxDifference(source.left, out.left, gain), 1e-6);
        EXPECT_LE(maxDifference(source.right, out.right, gain), 1e-6);
        EXPECT_NEAR(report.result.outputLevels.rmsDb(0) - report.result.inputLevels.rmsDb(0),
                    c.gainDb, 0.01);
    }
}

TEST_F(RendererTest, MonoAndOddRateFilesFeedBothInputs) {
    struct Case {
        SampleEncoding encoding;
        unsigned rate;
    };
    const Case cases[] = {{SampleEncoding::Pcm16, 44100},
                          {SampleEncoding::Pcm24, 32000},
                          {SampleEncoding::Float32, 11025}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(encodingName(c.encoding)) + " " + std::to_string(c.rate));
        const Audio mono = programme(c.rate, 1.0);
        const std::string in = dir.file("mono.wav");
        ASSERT_EQ(writeWav(in, c.encoding, 1, c.rate, mono.left, {}), "");
        const Audio stored = readWav(in); // as quantised in the file
        const Audio out = renderOk("Quorvanelle.dll", in, {"--set", "Monitor=1", "--trim-latency"});
        EXPECT_EQ(out.format.sampleRate, c.rate);
        EXPECT_EQ(out.format.channels, 2);
        EXPECT_EQ(out.left, stored.left);
        EXPECT_EQ(out.right, stored.left);
    }
}

TEST_F(RendererTest, AnEmptyFileGivesTheLatencyTailOrNothing) {
    const std::string in = dir.file("empty.wav");
    ASSERT_EQ(writeWav(in, SampleEncoding::Pcm16, 2, 44100, {}, {}), "");
    EXPECT_EQ(renderOk("Quorvanelle.dll", in, {}).format.frames,
              static_cast<unsigned>(kOurLatency));
    EXPECT_EQ(renderOk("Quorvanelle.dll", in, {"--trim-latency"}).format.frames, 0u);
    EXPECT_TRUE(fileExists(output));
}

TEST_F(RendererTest, NonFiniteInputSamplesAreSentAsSilence) {
    Audio a = programme(44100, 1.0);
    a.left[1000] = std::numeric_limits<float>::quiet_NaN();
    a.right[2000] = std::numeric_limits<float>::infinity();
    a.left[3000] = -std::numeric_limits<float>::infinity();
    const std::string in = dir.file("bad.wav");
    ASSERT_EQ(writeWav(in, SampleEncoding::Float32, 2, 44100, a.left, a.right), "");
    const Audio out = renderOk("Quorvanelle.dll", in, {"--trim-latency"});
    EXPECT_EQ(report.result.replacedInputSamples, 3u);
    EXPECT_EQ(report.result.outputLevels.nonFinite(), 0u);
    EXPECT_EQ(report.result.inputLevels.nonFinite(), 3u);
    for (float v : out.left)
        ASSERT_TRUE(std::isfinite(v));
    // The plug-in is still alive after the bad samples: the end of the output is not silent.
    EXPECT_GT(std::fabs(out.left[out.left.size() - 5000]), 0.0f);
}

TEST_F(RendererTest, BlockSizeDoesNotChangeTheResult) {
    const std::string in = writeProgramme(44100, 0.5);
    const Audio reference = renderOk("Quorvanelle.dll", in, {"--program", "(ex2"});
    for (const char* block : {"1", "100", "839", "4097"}) {
        SCOPED_TRACE(block);
        const Audio out = renderOk("Quorvanelle.dll", in, {"--program", "(ex2", "--block", block});
        EXPECT_EQ(out.left, reference.left);
        EXPECT_EQ(out.right, reference.right);
    }
}

// The DLLs a program of this width can load (both 32-bit ones, or the 64-bit one alone) agree,
// and process the programme. The 64-bit DLL is compared with the 32-bit ones and the native build
// by tests/builds.
TEST_F(RendererTest, BothDllsAgreeOnTheSameInput) {
    const std::string in = writeProgramme(44100, 4.0);
    for (const char* program : {"0", "(ex2", "(ex6", "(ex14"}) {
        SCOPED_TRACE(program);
        const Audio sse = renderOk(kPluginDlls[0], in, {"--program", program});
        for (std::size_t d = 1; d < std::size(kPluginDlls); ++d) {
            const Audio other = renderOk(kPluginDlls[d], in, {"--program", program});
            EXPECT_LE(maxDifference(sse.left, other.left), 1e-4) << kPluginDlls[d];
            EXPECT_LE(maxDifference(sse.right, other.right), 1e-4) << kPluginDlls[d];
        }
        // And the programme is really processed, not passed through.
        if (std::string(program) != "0") {
            const std::vector<float> aligned(sse.left.begin() + kOurLatency, sse.left.end());
            EXPECT_GT(maxDifference(aligned, source.left), 1e-3);
        }
    }
}

TEST_F(RendererTest, AMonoPluginWithOnlyTheAccumulatingProcess) {
    const std::string in = writeProgramme(48000, 0.5);
    const Audio out =
        renderOk("qv_test_ToyPlugin.dll", in, {"--program", "Half", "--trim-latency"});
    EXPECT_EQ(report.result.latency, 5);
    ASSERT_EQ(out.format.frames, source.left.size());
    for (std::size_t i = 0; i < source.left.size(); ++i) {
        const float mid = 0.5f * (source.left[i] + source.right[i]);
        ASSERT_FLOAT_EQ(out.left[i], 0.5f * mid) << "frame " << i;
        ASSERT_EQ(out.right[i], out.left[i]);
    }
    const Audio untrimmed = renderOk("qv_test_ToyPlugin.dll", in, {"--set", "Gain=1"});
    ASSERT_EQ(untrimmed.format.frames, source.left.size() + 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(untrimmed.left[i], 0.0f);
}

// Width and height from a PNG file's header.
std::pair<int, int> pngSize(const std::vector<unsigned char>& file) {
    if (file.size() < 24) return {0, 0};
    auto be32 = [&](std::size_t at) {
        return file[at] << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3];
    };
    return {be32(16), be32(20)};
}

int pixelsOf(const Canvas& c, Rgb colour) {
    int n = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const Rgb p = c.at(x, y);
            n += p.r == colour.r && p.g == colour.g && p.b == colour.b;
        }
    return n;
}

// The plot of a compressing render shows band 1's reduction curve below the 0 dB line; the one of
// a neutral render only its legend swatch. Both are written as PNG files of the canvas's size.
TEST_F(RendererTest, ThePlotShowsTheBandReductions) {
    const std::string in = writeProgramme(44100, 6.0);
    const std::string plot = dir.file("render.png");
    const Rgb band1 = {210, 40, 40};
    struct Shot {
        Canvas canvas;
        std::vector<unsigned char> file;
    };
    auto shoot = [&](std::vector<const char*> options) {
        options.insert(options.end(), {"--plot", plot.c_str()});
        std::string error;
        EXPECT_TRUE(render("Quorvanelle.dll", in, options, error)) << error;
        return Shot{RenderPlot::draw(report), readBytes(plot)};
    };
    const Shot neutral = shoot({"--program", "Default"});
    const Shot compressing = shoot({"--set", "cp1_Thresh=-40dB", "--set", "cp1_Ratio=50"});
    for (const Shot* s : {&neutral, &compressing}) {
        EXPECT_EQ(s->canvas.width(), RenderPlot::kWidth);
        EXPECT_GT(s->canvas.height(), 600);
        EXPECT_EQ(pngSize(s->file), std::make_pair(s->canvas.width(), s->canvas.height()));
        EXPECT_EQ(s->file[25], 3) << "a palette picture";
    }
    EXPECT_NE(neutral.file, compressing.file);
    EXPECT_LT(pixelsOf(neutral.canvas, band1), 100);
    EXPECT_GT(pixelsOf(compressing.canvas, band1), pixelsOf(neutral.canvas, band1) + 300);
}

TEST_F(RendererTest, FailuresLeaveNoOutputBehind) {
    const std::string in = writeProgramme(44100, 0.2);
    writeBytes(dir.file("not-a-dll.dll"), {'M', 'Z', 0, 0});
    struct Case {
        const char* name;
        std::string input;
        const char* dll;
        std::vector<const char*> options;
        const char* reason;
    };
    const std::string missing = dir.file("missing.wav");
    const Case cases[] = {
        {"missing input", missing, "Quorvanelle.dll", {}, "missing.wav"},
        {"missing DLL", in, "no-such-plugin.dll", {}, "cannot load"},
        {"null from main", in, "qv_test_NullPlugin.dll", {}, "returned null"},
        {"unknown parameter", in, "Quorvanelle.dll", {"--set", "cp6_Thresh=0.5"}, "cp6_Thresh"},
        {"parameter index out of range", in, "Quorvanelle.dll", {"--set", "86=0.5"}, "86"},
        {"unknown program", in, "Quorvanelle.dll", {"--program", "(ex99"}, "(ex99"},
        {"program out of range", in, "Quorvanelle.dll", {"--program", "20"}, "out of range"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(render(c.dll, c.input, c.options, error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_FALSE(fileExists(output));
        EXPECT_FALSE(fileExists(WavWriter::temporaryPathFor(output)));
    }
    // A file that is not a DLL at all.
    std::string error;
    const std::string fake = dir.file("not-a-dll.dll");
    std::vector<const char*> argv = {"qvhost", "render", fake.c_str(), in.c_str(), output.c_str()};
    CommandLine cmd;
    ASSERT_TRUE(CommandLine::parse(static_cast<int>(argv.size()), argv.data(), cmd, error));
    EXPECT_FALSE(RenderJob::run(cmd, nullptr, report, error));
    EXPECT_NE(error.find("cannot load"), std::string::npos) << error;
    EXPECT_FALSE(fileExists(output));
}

} // namespace

} // namespace qv
