// qvsnapshot: opens a plug-in's editor in our host under a (virtual) display and writes what the
// window shows to a PNG file.
//   qvsnapshot <plugin.dll> <out.png> [--page A..G] [--band-view amplitude|envelope] [--play]
//              [--program P] [--set NAME=VALUE]... [--wait MS]
#include "params/ParameterIndex.h"
#include "tools/PluginHost.h"
#include "tools/PluginSettings.h"
#include "tools/picture/PngWriter.h"
#include "tools/snapshot/EditorCapture.h"
#include "tools/snapshot/ProgrammePlayer.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace qv {

namespace {

constexpr int kPageCount = 7;
constexpr int kDefaultWaitMs = 300;
constexpr int kMaxWaitMs = 60000;

// Prints the usage; false, what the parsers return for a bad command line.
bool usage() {
    std::fprintf(stderr,
                 "usage: qvsnapshot <plugin.dll> <out.png> [--page A..G]\n"
                 "                  [--band-view amplitude|envelope] [--play] [--program P]\n"
                 "                  [--set NAME=VALUE]... [--wait MS]\n");
    return false;
}

bool parseNumber(const char* text, double low, double high, double& out) {
    char* end = nullptr;
    out = std::strtod(text, &end);
    return end && end != text && !*end && out >= low && out <= high;
}

// What the command line asks for.
struct SnapshotOptions {
    std::string plugin;                     // the DLL
    std::string output;                     // the PNG to write
    int page = -1;                          // --page: 0..6 (A..G), -1 as the plug-in starts
    int waitMs = kDefaultWaitMs;            // --wait: time for the editor to draw
    std::string program;                    // --program: index or name
    bool hasProgram = false;                // whether --program was given
    std::vector<ParameterSetting> settings; // --set, in command-line order
    float bandView = -1.0f;                 // --band-view: 1 amplitude, 0 envelope, -1 as is
    bool play = false;                      // --play: the test programme runs while waiting
};

// --page A..G, either case.
bool parsePage(const std::string& arg, int& page) {
    if (arg.size() != 1) return false;
    if (arg[0] >= 'A' && arg[0] < 'A' + kPageCount)
        page = arg[0] - 'A';
    else if (arg[0] >= 'a' && arg[0] < 'a' + kPageCount)
        page = arg[0] - 'a';
    else
        return false;
    return true;
}

// One option and its value; false (with the usage or a message printed) for a bad one.
bool parseOption(const std::string& opt, const std::string& arg, SnapshotOptions& options) {
    double number = 0;
    if (opt == "--page") {
        if (!parsePage(arg, options.page)) return usage();
    } else if (opt == "--band-view" && (arg == "amplitude" || arg == "envelope")) {
        options.bandView = arg == "amplitude" ? 1.0f : 0.0f;
    } else if (opt == "--wait" && parseNumber(arg.c_str(), 0, kMaxWaitMs, number)) {
        options.waitMs = static_cast<int>(number);
    } else if (opt == "--program") {
        options.program = arg;
        options.hasProgram = true;
    } else if (opt == "--set") {
        const size_t eq = arg.rfind('=');
        if (eq == std::string::npos || eq == 0 || eq + 1 == arg.size()) {
            std::fprintf(stderr, "qvsnapshot: --set wants NAME=VALUE, VALUE normalised (0..1) "
                                 "or as the plug-in shows it\n");
            return false;
        }
        options.settings.push_back({arg.substr(0, eq), arg.substr(eq + 1)});
    } else {
        return usage();
    }
    return true;
}

// The whole command line; false (with the usage or a message printed) for a bad one.
bool parseOptions(int argc, char** argv, SnapshotOptions& options) {
    if (argc < 3) return usage();
    options.plugin = argv[1];
    options.output = argv[2];
    for (int i = 3; i < argc; ++i) {
        const std::string opt = argv[i];
        if (opt == "--play") {
            options.play = true;
            continue;
        }
        if (i + 1 >= argc) return usage();
        if (!parseOption(opt, argv[++i], options)) return false;
    }
    return true;
}

// Loads the plug-in, starts it and sets the program, the settings, the page and the band view.
bool prepare(PluginHost& host, const SnapshotOptions& options, std::string& error) {
    if (!host.load(options.plugin, error)) return false;
    host.start(static_cast<float>(ProgrammePlayer::kSampleRate), ProgrammePlayer::kBlock);
    PluginSettings names(host);
    if (!names.apply(options.hasProgram ? &options.program : nullptr, options.settings, error))
        return false;
    AEffect* effect = host.effect();
    // The page parameter set to what the page selector writes for its k-th button (the tool
    // presses no button).
    if (options.page >= 0)
        effect->setParameter(effect, param::kPanelPage,
                             static_cast<float>(options.page) / (kPageCount - 1));
    if (options.bandView >= 0.0f) effect->setParameter(effect, param::kBandView, options.bandView);
    return true;
}

// Opens the editor, waits (playing the programme if asked) and writes its picture.
bool snapshot(PluginHost& host, const SnapshotOptions& options, EditorCapture::Picture& picture,
              std::string& error) {
    ProgrammePlayer player;
    if (options.play && !player.prepare(host.effect(), error)) return false;
    EditorCapture::Tick tick = nullptr;
    if (options.play) tick = [&](int ms) { player.play(ms); };
    return EditorCapture::capture(host, options.waitMs, picture, error, tick) &&
           PngWriter::write(options.output, picture.width, picture.height, picture.rgb, error);
}

} // namespace

} // namespace qv

int main(int argc, char** argv) {
    using namespace qv;
    SnapshotOptions options;
    if (!parseOptions(argc, argv, options)) return 2;
    PluginHost host;
    EditorCapture::Picture picture;
    std::string error;
    if (!prepare(host, options, error) || !snapshot(host, options, picture, error)) {
        std::fprintf(stderr, "qvsnapshot: %s\n", error.c_str());
        return 1;
    }
    host.stop();
    host.unload();
    std::printf("%s: %d x %d editor of %s\n", options.output.c_str(), picture.width, picture.height,
                options.plugin.c_str());
    return 0;
}
