#include "tools/CommandLine.h"

#include "tools/WavFormat.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace qv {

namespace {

constexpr int kMaxBlockFrames = 65536;
constexpr double kMaxGenerateSeconds = 3600.0;
constexpr double kMaxBenchSeconds = 600.0;
constexpr double kMaxRunSeconds = 600.0;
constexpr int kMaxRuns = 1000;

struct CommandInfo {
    const char* name;
    CommandLine::Command command;
    int positionals;     // number of file arguments
    const char* options; // options it takes, space-separated
};

const CommandInfo kCommands[] = {
    {"info", CommandLine::Command::Info, 1, ""},
    {"run", CommandLine::Command::Run, 1, "--seconds --rate --block"},
    {"render", CommandLine::Command::Render, 3,
     "--program --set --trim-latency --block --quiet --plot"},
    {"generate", CommandLine::Command::Generate, 1, "--seconds --rate"},
    {"bench", CommandLine::Command::Bench, 1, "--program --set --block --seconds --runs"},
};

bool takes(const CommandInfo& info, const std::string& option) {
    const std::string list = std::string(" ") + info.options + " ";
    return list.find(" " + option + " ") != std::string::npos;
}

bool parseNumber(const std::string& text, double& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return end && *end == 0 && errno == 0 && std::isfinite(value);
}

bool parseInteger(const std::string& text, long lo, long hi, long& value) {
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-'))
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return end && *end == 0 && errno == 0 && value >= lo && value <= hi;
}

// The command named argv[1], or null.
const CommandInfo* findCommand(const std::string& name) {
    for (const CommandInfo& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

// --set NAME=VALUE or INDEX=VALUE: the last '=' separates the value.
bool parseSetting(const std::string& value, CommandLine& out, std::string& error) {
    const std::size_t eq = value.rfind('=');
    if (eq == std::string::npos || eq == 0) {
        error = "--set needs NAME=VALUE or INDEX=VALUE, not \"" + value + "\"";
        return false;
    }
    const std::string text = value.substr(eq + 1);
    if (text.find_first_not_of(" \t") == std::string::npos) {
        error = "--set " + value.substr(0, eq) +
                " needs a value after \"=\": a normalised value 0..1 or a value as the "
                "plug-in shows it (\"-10dB\", \"soft\")";
        return false;
    }
    out.settings.push_back({value.substr(0, eq), text});
    return true;
}

// --program and --plot: any text but the empty one.
bool parseName(const std::string& option, const std::string& value, CommandLine& out,
               std::string& error) {
    const bool program = option == "--program";
    if (value.empty()) {
        error = program ? "--program needs a program number or name"
                        : "--plot needs the name of a PNG file to write";
        return false;
    }
    if (program) {
        out.program = value;
        out.hasProgram = true;
    } else {
        out.plot = value;
    }
    return true;
}

// --seconds, limited by the command: an hour of generated programme, ten minutes otherwise.
bool parseSeconds(const std::string& value, CommandLine& out, std::string& error) {
    using Command = CommandLine::Command;
    const double limit = out.command == Command::Generate ? kMaxGenerateSeconds
                         : out.command == Command::Bench  ? kMaxBenchSeconds
                                                          : kMaxRunSeconds;
    double number = 0.0;
    if (!parseNumber(value, number) || number <= 0.0 || number > limit) {
        error = "--seconds needs a number above 0 and up to " +
                std::to_string(static_cast<int>(limit)) + ", not \"" + value + "\"";
        return false;
    }
    out.seconds = number;
    return true;
}

// The options whose value is a whole number: --block, --runs, --rate.
bool parseIntegerOption(const std::string& option, const std::string& value, CommandLine& out,
                        std::string& error) {
    long integer = 0;
    if (option == "--block") {
        if (!parseInteger(value, 1, kMaxBlockFrames, integer)) {
            error = "--block needs a whole number of frames from 1 to " +
                    std::to_string(kMaxBlockFrames) + ", not \"" + value + "\"";
            return false;
        }
        out.block = static_cast<int>(integer);
    } else if (option == "--runs") {
        if (!parseInteger(value, 1, kMaxRuns, integer)) {
            error = "--runs needs a whole number from 1 to " + std::to_string(kMaxRuns) +
                    ", not \"" + value + "\"";
            return false;
        }
        out.runs = static_cast<int>(integer);
    } else if (option == "--rate") {
        if (!parseInteger(value, kMinSampleRateHz, kMaxSampleRateHz, integer)) {
            error = "--rate needs a whole number of Hz from " + std::to_string(kMinSampleRateHz) +
                    " to " + std::to_string(kMaxSampleRateHz) + ", not \"" + value + "\"";
            return false;
        }
        out.rate = static_cast<unsigned>(integer);
    }
    return true;
}

// An option followed by its value.
bool parseValueOption(const std::string& option, const std::string& value, CommandLine& out,
                      std::string& error) {
    if (option == "--set") return parseSetting(value, out, error);
    if (option == "--program" || option == "--plot") return parseName(option, value, out, error);
    if (option == "--seconds") return parseSeconds(value, out, error);
    return parseIntegerOption(option, value, out, error);
}

// The file arguments, as many as the command takes, none empty.
bool assignFiles(const CommandInfo& info, const std::vector<std::string>& files, CommandLine& out,
                 std::string& error) {
    if (static_cast<int>(files.size()) != info.positionals) {
        error = "\"" + std::string(info.name) + "\" takes " + std::to_string(info.positionals) +
                " file argument" + (info.positionals == 1 ? "" : "s") + ", got " +
                std::to_string(files.size());
        return false;
    }
    for (const std::string& f : files) {
        if (f.empty()) {
            error = "empty file name";
            return false;
        }
    }
    if (out.command == CommandLine::Command::Generate) {
        out.output = files[0];
    } else {
        out.plugin = files[0];
        if (out.command == CommandLine::Command::Render) {
            out.input = files[1];
            out.output = files[2];
        }
    }
    return true;
}

} // namespace

const char* CommandLine::usage() {
    return "usage: qvhost info <plugin.dll>\n"
           "       qvhost run <plugin.dll> [--seconds S] [--rate HZ] [--block N]\n"
           "       qvhost render <plugin.dll> <in.wav> <out.wav> [--program N|NAME]\n"
           "              [--set NAME=VALUE|INDEX=VALUE]... [--trim-latency] [--block N] "
           "[--quiet]\n"
           "              [--plot out.png]\n"
           "              VALUE: normalised 0..1 (\"0.75\"), or as the plug-in shows it, with or\n"
           "              without its unit (\"-10\", \"-10dB\", \"8000Hz\", \"soft\")\n"
           "       qvhost generate <out.wav> [--seconds S] [--rate HZ]\n"
           "       qvhost bench <plugin.dll> [--program N|NAME] [--set NAME=VALUE]... [--block N]\n"
           "              [--seconds S] [--runs N]\n";
}

bool CommandLine::parse(int argc, const char* const* argv, CommandLine& out, std::string& error) {
    out = CommandLine();
    if (argc < 2 || !argv || !argv[1]) {
        error = "no command given";
        return false;
    }
    const std::string name = argv[1];
    const CommandInfo* info = findCommand(name);
    if (!info) {
        error = "unknown command \"" + name + "\"";
        return false;
    }
    out.command = info->command;

    std::vector<std::string> files;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i] ? argv[i] : "";
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            files.push_back(arg);
            continue;
        }
        if (!takes(*info, arg)) {
            error = "option " + arg + " is not known to \"" + name + "\"";
            return false;
        }
        if (arg == "--trim-latency") {
            out.trimLatency = true;
            continue;
        }
        if (arg == "--quiet") {
            out.quiet = true;
            continue;
        }
        if (i + 1 >= argc || !argv[i + 1]) {
            error = "option " + arg + " needs a value";
            return false;
        }
        if (!parseValueOption(arg, argv[++i], out, error)) return false;
    }
    return assignFiles(*info, files, out, error);
}

} // namespace qv
