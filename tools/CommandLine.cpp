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
    const CommandInfo* info = nullptr;
    for (const CommandInfo& c : kCommands)
        if (name == c.name) info = &c;
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
        const std::string value = argv[++i];
        long integer = 0;
        double number = 0.0;
        if (arg == "--program") {
            if (value.empty()) {
                error = "--program needs a program number or name";
                return false;
            }
            out.program = value;
            out.hasProgram = true;
        } else if (arg == "--set") {
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
        } else if (arg == "--plot") {
            if (value.empty()) {
                error = "--plot needs the name of a PNG file to write";
                return false;
            }
            out.plot = value;
        } else if (arg == "--block") {
            if (!parseInteger(value, 1, kMaxBlockFrames, integer)) {
                error = "--block needs a whole number of frames from 1 to " +
                        std::to_string(kMaxBlockFrames) + ", not \"" + value + "\"";
                return false;
            }
            out.block = static_cast<int>(integer);
        } else if (arg == "--runs") {
            if (!parseInteger(value, 1, kMaxRuns, integer)) {
                error = "--runs needs a whole number from 1 to " + std::to_string(kMaxRuns) +
                        ", not \"" + value + "\"";
                return false;
            }
            out.runs = static_cast<int>(integer);
        } else if (arg == "--rate") {
            if (!parseInteger(value, kMinSampleRateHz, kMaxSampleRateHz, integer)) {
                error = "--rate needs a whole number of Hz from " +
                        std::to_string(kMinSampleRateHz) + " to " +
                        std::to_string(kMaxSampleRateHz) + ", not \"" + value + "\"";
                return false;
            }
            out.rate = static_cast<unsigned>(integer);
        } else if (arg == "--seconds") {
            const double limit = out.command == Command::Generate ? kMaxGenerateSeconds
                                 : out.command == Command::Bench  ? kMaxBenchSeconds
                                                                  : kMaxRunSeconds;
            if (!parseNumber(value, number) || number <= 0.0 || number > limit) {
                error = "--seconds needs a number above 0 and up to " +
                        std::to_string(static_cast<int>(limit)) + ", not \"" + value + "\"";
                return false;
            }
            out.seconds = number;
        }
    }
    if (static_cast<int>(files.size()) != info->positionals) {
        error = "\"" + name + "\" takes " + std::to_string(info->positionals) + " file argument" +
                (info->positionals == 1 ? "" : "s") + ", got " + std::to_string(files.size());
        return false;
    }
    for (const std::string& f : files) {
        if (f.empty()) {
            error = "empty file name";
            return false;
        }
    }
    if (out.command == Command::Generate) {
        out.output = files[0];
    } else {
        out.plugin = files[0];
        if (out.command == Command::Render) {
            out.input = files[1];
            out.output = files[2];
        }
    }
    return true;
}

} // namespace qv
