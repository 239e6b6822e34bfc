// qvhost's command line: what each command accepts, and a table of the mistakes a user makes,
// each refused with a reason that names the culprit.
#include "tools/CommandLine.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace qv {

namespace {

struct Parsed {
    bool ok;
    CommandLine cmd;
    std::string error;
};

Parsed parse(std::initializer_list<const char*> args) {
    std::vector<const char*> argv = {"qvhost"};
    argv.insert(argv.end(), args.begin(), args.end());
    Parsed p;
    p.ok = CommandLine::parse(static_cast<int>(argv.size()), argv.data(), p.cmd, p.error);
    return p;
}

TEST(CommandLineTest, RenderTakesFilesProgramSettingsAndSwitches) {
    const Parsed p = parse({"render", "q.dll", "in.wav", "out.wav", "--program", "(ex2", "--set",
                            "cp2_Thresh=0.75", "--set", "20=1", "--set", "Dry out=0.5",
                            "--trim-latency", "--block", "333", "--quiet", "--plot", "r.png"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.cmd.command, CommandLine::Command::Render);
    EXPECT_EQ(p.cmd.plugin, "q.dll");
    EXPECT_EQ(p.cmd.input, "in.wav");
    EXPECT_EQ(p.cmd.output, "out.wav");
    EXPECT_TRUE(p.cmd.hasProgram);
    EXPECT_EQ(p.cmd.program, "(ex2");
    ASSERT_EQ(p.cmd.settings.size(), 3u);
    EXPECT_EQ(p.cmd.settings[0].key, "cp2_Thresh");
    EXPECT_EQ(p.cmd.settings[0].value, "0.75");
    EXPECT_EQ(p.cmd.settings[1].key, "20");
    EXPECT_EQ(p.cmd.settings[1].value, "1");
    EXPECT_EQ(p.cmd.settings[2].key, "Dry out");
    EXPECT_TRUE(p.cmd.trimLatency);
    EXPECT_TRUE(p.cmd.quiet);
    EXPECT_EQ(p.cmd.block, 333);
    EXPECT_EQ(p.cmd.plot, "r.png");
}

TEST(CommandLineTest, DefaultsAndTheOtherCommands) {
    Parsed p = parse({"render", "q.dll", "in.wav", "out.wav"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_FALSE(p.cmd.hasProgram);
    EXPECT_FALSE(p.cmd.trimLatency);
    EXPECT_EQ(p.cmd.block, 512);

    p = parse({"generate", "prog.wav", "--seconds", "2.5", "--rate", "48000"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.cmd.output, "prog.wav");
    EXPECT_EQ(p.cmd.seconds, 2.5);
    EXPECT_EQ(p.cmd.rate, 48000u);

    p = parse({"bench", "q.dll", "--runs", "3", "--seconds", "1", "--program", "0"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.cmd.runs, 3);
    EXPECT_EQ(p.cmd.plugin, "q.dll");

    // A program name that looks like an option is still the option's value.
    p = parse({"render", "q.dll", "in.wav", "out.wav", "--program", "---"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.cmd.program, "---");
}

TEST(CommandLineTest, RefusesMistakesWithAReason) {
    struct Case {
        std::initializer_list<const char*> args;
        const char* reason;
    };
    const Case cases[] = {
        {{}, "no command"},
        {{"play", "q.dll"}, "unknown command \"play\""},
        {{"render", "q.dll", "in.wav"}, "takes 3 file arguments, got 2"},
        {{"render", "q.dll", "in.wav", "out.wav", "extra.wav"}, "got 4"},
        {{"generate"}, "takes 1 file argument, got 0"},
        {{"render", "q.dll", "in.wav", "out.wav", "--speed", "2"}, "--speed"},
        {{"generate", "p.wav", "--trim-latency"}, "--trim-latency is not known to \"generate\""},
        {{"render", "q.dll", "in.wav", "out.wav", "--set"}, "--set needs a value"},
        {{"render", "q.dll", "in.wav", "out.wav", "--set", "Thresh"}, "NAME=VALUE"},
        {{"render", "q.dll", "in.wav", "out.wav", "--set", "=0.5"}, "NAME=VALUE"},
        {{"render", "q.dll", "in.wav", "out.wav", "--set", "Thresh="}, "needs a value"},
        {{"render", "q.dll", "in.wav", "out.wav", "--set", "Thresh= "}, "needs a value"},
        {{"render", "q.dll", "in.wav", "out.wav", "--plot", ""}, "--plot needs"},
        {{"bench", "q.dll", "--plot", "x.png"}, "--plot is not known"},
        {{"render", "q.dll", "in.wav", "out.wav", "--program", ""}, "--program needs"},
        {{"render", "q.dll", "in.wav", "out.wav", "--block", "0"}, "--block"},
        {{"render", "q.dll", "in.wav", "out.wav", "--block", "1e3"}, "--block"},
        {{"render", "q.dll", "in.wav", "out.wav", "--block", "99999999999"}, "--block"},
        {{"generate", "p.wav", "--rate", "10"}, "--rate"},
        {{"generate", "p.wav", "--rate", "44100.5"}, "--rate"},
        {{"generate", "p.wav", "--seconds", "0"}, "--seconds"},
        {{"generate", "p.wav", "--seconds", "-3"}, "--seconds"},
        {{"generate", "p.wav", "--seconds", "1e9"}, "--seconds"},
        {{"bench", "q.dll", "--runs", "0"}, "--runs"},
        {{"render", "", "in.wav", "out.wav"}, "empty file name"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const char* a : c.args)
            line += std::string(a) + " ";
        SCOPED_TRACE(line);
        const Parsed p = parse(c.args);
        EXPECT_FALSE(p.ok);
        EXPECT_NE(p.error.find(c.reason), std::string::npos) << p.error;
    }
}

} // namespace

} // namespace qv
