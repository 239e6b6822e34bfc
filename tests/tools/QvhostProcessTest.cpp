// The qvhost program itself, started as its own process: exit status, what it prints on stdout
// and stderr, and which files it leaves, for a good render and for each way a job can fail
// (including a plug-in that crashes the process).
#include "tests/tools/TestFiles.h"
#include "tests/wine/DllPaths.h"

#include <cstdlib>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qv {

namespace {

struct Result {
    DWORD exitCode = 0xFFFFFFFF;
    std::string out, err;
    int errorLines() const { return static_cast<int>(std::count(err.begin(), err.end(), '\n')); }
};

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs qvhost.exe with `arguments`, its stdout and stderr going to files in `dir`.
Result runQvhost(const ScratchDir& dir, const std::string& arguments) {
    Result r;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    // Files of their own for each run: Wine may close an exited child's handles a moment after
    // the wait for it returns.
    static int runs = 0;
    const std::string run = std::to_string(++runs);
    const std::string outPath = dir.file("stdout-" + run + ".txt"),
                      errPath = dir.file("stderr-" + run + ".txt");
    HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE err = CreateFileA(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(out, INVALID_HANDLE_VALUE) << "cannot create " << outPath << ": " << GetLastError();
    EXPECT_NE(err, INVALID_HANDLE_VALUE) << "cannot create " << errPath << ": " << GetLastError();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process = {};
    std::string command = "\"" + pluginPath("qvhost.exe") + "\" " + arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    const BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    EXPECT_TRUE(started) << "cannot start " << command;
    if (started) {
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 120000), WAIT_OBJECT_0);
        GetExitCodeProcess(process.hProcess, &r.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    r.out = slurp(outPath);
    r.err = slurp(errPath);
    return r;
}

std::string inQuotes(const std::string& s) {
    return "\"" + s + "\"";
}

class QvhostProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        input = dir.file("in.wav");
        output = dir.file("out.wav");
        const Result g = runQvhost(dir, "generate " + inQuotes(input) + " --seconds 1");
        ASSERT_EQ(g.exitCode, 0u) << g.err;
    }
    // `dll`: a DLL of the build folder, or a full path.
    Result render(const std::string& dll, const std::string& in, const std::string& options) {
        const std::string plugin =
            dll.find(':') != std::string::npos ? dll : pluginPath(dll.c_str());
        return runQvhost(dir, "render " + inQuotes(plugin) + " " + inQuotes(in) + " " +
                                  inQuotes(output) + " " + options);
    }
    bool outputLeft() const { return fileExists(output) || fileExists(output + ".partial"); }

    ScratchDir dir;
    std::string input, output;
};

TEST_F(QvhostProcessTest, RenderWritesTheFileAndPrintsASummary) {
    const Result r = render("Quorvanelle.dll", input,
                            "--program \"(ex2\" --set cp2_Thresh=0.75 "
                            "--set 55=0.25 --trim-latency");
    EXPECT_EQ(r.exitCode, 0u) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(fileExists(output));
    EXPECT_FALSE(fileExists(output + ".partial"));
    for (const char* expected : {"program        : 3 \"(ex2\"", "20 cp2_Thresh = 0.75",
                                 "55 MasterOut = 0.25", "44100 frames (1.00 s), latency trimmed",
                                 "input level", "output level", "band reduction", "x real time"})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
}

// The numbers after "band reduction :" (band 1 to 5), or none when the line says otherwise.
std::vector<double> bandReductions(const std::string& summary) {
    std::vector<double> db;
    const std::size_t line = summary.find("band reduction :");
    if (line == std::string::npos) return db;
    for (int b = 1; b <= 5; ++b) {
        const std::size_t at = summary.find(" " + std::to_string(b) + ": ", line);
        if (at == std::string::npos) return {};
        db.push_back(std::atof(summary.c_str() + at + 4));
    }
    return db;
}

// The options of the main job's demo setting (scripts/demo-setting.txt), quoted for a command line.
std::string demoSetting() {
    std::ifstream in(std::string(QV_SOURCE_DIR) + "/scripts/demo-setting.txt");
    std::string line, options;
    while (std::getline(in, line)) {
        if (line.rfind("--", 0) != 0) continue;
        const std::size_t blank = line.find(' ');
        options += " " + line.substr(0, blank) + " " + inQuotes(line.substr(blank + 1));
    }
    return options;
}

// The band meters are read from our own plug-in only: the main job's demo setting on the main
// job's 20 s programme compresses every band by more than 3 dB and meets its -1 dB ceiling; the
// "Default" program (thresholds at 0 dB) shows no reduction; a foreign plug-in none at all.
TEST_F(QvhostProcessTest, SummaryShowsTheLargestReductionPerBand) {
    const std::string programme = dir.file("programme.wav");
    ASSERT_EQ(runQvhost(dir, "generate " + inQuotes(programme)).exitCode, 0u);
    const std::string demo = demoSetting();
    ASSERT_NE(demo.find("--program"), std::string::npos) << demo;
    const Result r = render("Quorvanelle.dll", programme, demo + " --trim-latency");
    ASSERT_EQ(r.exitCode, 0u) << r.err;
    const std::vector<double> compressed = bandReductions(r.out);
    ASSERT_EQ(compressed.size(), 5u) << r.out;
    for (double db : compressed)
        EXPECT_GT(db, 3.0) << r.out;
    EXPECT_NE(r.out.find("output level   : peak -1.00 / -1.00 dBFS"), std::string::npos) << r.out;

    const std::vector<double> plain =
        bandReductions(render("Quorvanelle.dll", programme, "--program Default").out);
    ASSERT_EQ(plain.size(), 5u);
    for (double db : plain)
        EXPECT_EQ(db, 0.0) << "thresholds at 0 dB";

    const Result foreign = render("qv_test_ToyPlugin.dll", input, "");
    EXPECT_NE(foreign.out.find("band reduction : not available"), std::string::npos) << foreign.out;
}

TEST_F(QvhostProcessTest, EachFailureIsOneLineANonZeroStatusAndNoFile) {
    writeBytes(dir.file("corrupt.wav"), {'R', 'I', 'F', 'F', 40, 0, 0, 0, 'W', 'A', 'V', 'E'});
    // 8-bit PCM, mono, 8000 Hz: a format qvhost does not read.
    writeBytes(dir.file("8bit.wav"),
               {'R', 'I', 'F', 'F', 40,  0,   0,   0,   'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                16,  0,   0,   0,   1,   0,   1,   0,   64,  31,  0,   0,   64,  31,  0,   0,
                1,   0,   8,   0,   'd', 'a', 't', 'a', 4,   0,   0,   0,   128, 128, 128, 128});
    // The headers of a DLL of the other width than this host's: "MZ", the PE header's offset,
    // "PE\0\0" and the machine (x64 for the 32-bit host, x86 for the 64-bit one).
    std::vector<unsigned char> otherWidth(0x48, 0);
    otherWidth[0] = 'M';
    otherWidth[1] = 'Z';
    otherWidth[0x3C] = 0x40;
    otherWidth[0x40] = 'P';
    otherWidth[0x41] = 'E';
#if defined(_WIN64)
    otherWidth[0x44] = 0x4C; // IMAGE_FILE_MACHINE_I386
    otherWidth[0x45] = 0x01;
    const char* otherWidthReason =
        "is a 32-bit (x86) DLL but this host is 64-bit (x64): use the plug-in's 64-bit";
#else
    otherWidth[0x44] = 0x64; // IMAGE_FILE_MACHINE_AMD64
    otherWidth[0x45] = 0x86;
    const char* otherWidthReason =
        "is a 64-bit (x64) DLL but this host is 32-bit (x86): use the plug-in's 32-bit";
#endif
    writeBytes(dir.file("plugin64.dll"), otherWidth);
    writeBytes(dir.file("text.dll"), {'h', 'e', 'l', 'l', 'o'});
    struct Case {
        const char* name;
        std::string arguments; // empty: a render of `input` through `dll`
        std::string dll, in, options;
        DWORD exitCode;
        const char* reason;
    };
    const Case cases[] = {
        {"missing input", "", "Quorvanelle.dll", dir.file("missing.wav"), "", 1, "missing.wav"},
        {"corrupt input", "", "Quorvanelle.dll", dir.file("corrupt.wav"), "", 1, "RIFF size"},
        {"missing DLL", "", "absent.dll", input, "", 1, "no such file"},
        {"unsupported WAV format", "", "Quorvanelle.dll", dir.file("8bit.wav"), "", 1,
         "8-bit PCM is not supported (16, 24 or 32 bits); qvhost reads RIFF/WAVE files of"},
        {"DLL of the other width", "", dir.file("plugin64.dll"), input, "", 1, otherWidthReason},
        {"not a DLL", "", dir.file("text.dll"), input, "", 1, "not a Windows DLL"},
        {"main returns null", "", "qv_test_NullPlugin.dll", input, "", 1, "returned null"},
        {"unknown parameter", "", "Quorvanelle.dll", input, "--set Thresh=0.5", 1,
         "no parameter named \"Thresh\""},
        {"value no setting shows", "", "Quorvanelle.dll", input, "--set cp2_Thresh=high", 1,
         "it shows -40.0 at 0 and 0.0 at 1"},
        {"value with the wrong unit", "", "Quorvanelle.dll", input, "--set Freq1-2=8000ms", 1,
         "shown in Hz, not in ms"},
        {"program out of range", "", "Quorvanelle.dll", input, "--program 25", 1, "out of range"},
        {"unknown option", "", "Quorvanelle.dll", input, "--loud", 2, "--loud"},
        {"plug-in crashes", "", "qv_test_ToyPlugin.dll", input, "--set Crash=1", 3, "crashed"},
        {"missing arguments", "render x.dll", "", "", "", 2, "takes 3 file arguments"},
        {"unknown command", "play", "", "", "", 2, "unknown command"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Result r =
            c.arguments.empty() ? render(c.dll, c.in, c.options) : runQvhost(dir, c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        EXPECT_EQ(r.errorLines(), 1) << r.err;
        EXPECT_EQ(r.err.rfind("qvhost: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_FALSE(outputLeft());
    }
}

TEST_F(QvhostProcessTest, AFailedRenderKeepsAnOlderOutputFile) {
    ASSERT_EQ(writeWav(output, SampleEncoding::Pcm16, 1, 8000, std::vector<float>(10, 0.5f), {}),
              "");
    const std::vector<unsigned char> before = readBytes(output);
    const Result r = render("qv_test_ToyPlugin.dll", input, "--set Crash=1");
    EXPECT_EQ(r.exitCode, 3u);
    EXPECT_EQ(readBytes(output), before);
    EXPECT_FALSE(fileExists(output + ".partial"));
}

TEST_F(QvhostProcessTest, BenchPrintsTheMedianOfItsRuns) {
    const Result r = runQvhost(dir, "bench " + inQuotes(pluginPath("Quorvanelle.dll")) +
                                        " --seconds 0.5 --runs 3 --program 3");
    EXPECT_EQ(r.exitCode, 0u) << r.err;
    for (const char* expected : {"run 1 ", "run 3 ", "median         :", "ns per stereo frame"})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
    EXPECT_EQ(r.out.find("run 4 "), std::string::npos);
}

} // namespace

} // namespace qv
