// The qvhost command line: which command, its files and its options, checked for form and range.
// Names of parameters and programs are resolved later against the plug-in (PluginSettings).
#pragma once

#include <string>
#include <vector>

namespace qv {

struct ParameterSetting {
    std::string key;   // parameter name, or its index in decimal
    std::string value; // a normalised value 0..1 or a displayed value (see DisplayValueFinder)
};

struct CommandLine {
    enum class Command { Info, Run, Render, Generate, Bench };

    Command command = Command::Info;
    std::string plugin;                     // plug-in DLL (info, run, render, bench)
    std::string input;                      // WAV to render
    std::string output;                     // WAV to write (render, generate)
    std::string plot;                       // --plot: PNG picture of the render (empty: none)
    std::string program;                    // --program: index or name
    bool hasProgram = false;                // whether --program was given
    std::vector<ParameterSetting> settings; // --set, in command-line order
    bool trimLatency = false;               // --trim-latency
    bool quiet = false;                     // --quiet: no progress lines
    int block = 512;                        // --block: frames per process call
    double seconds = 0.0;                   // --seconds (0: the command's default)
    unsigned rate = 44100;                  // --rate: Hz
    int runs = 5;                           // --runs (bench)

    // Parses argv[1..argc-1]. On failure returns false with a one-line reason in `error`.
    static bool parse(int argc, const char* const* argv, CommandLine& out, std::string& error);
    static const char* usage();
};

} // namespace qv
