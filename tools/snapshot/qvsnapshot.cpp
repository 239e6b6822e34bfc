// qvsnapshot: opens a plug-in's editor in our host under a (virtual) display and writes what the
// window shows to a PNG file.
//   qvsnapshot <plugin.dll> <out.png> [--page A..G] [--band-view amplitude|envelope] [--play]
//              [--program P] [--set NAME=VALUE]... [--wait MS]
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

constexpr int kPanelPageParameter = 87; // the editor's page selector
constexpr int kBandViewParameter = 90;  // page B: 1 amplitude view, 0 envelope view
constexpr int kPageCount = 7;
constexpr int kDefaultWaitMs = 300;
constexpr int kMaxWaitMs = 60000;

int usage() {
    std::fprintf(stderr,
                 "usage: qvsnapshot <plugin.dll> <out.png> [--page A..G]\n"
                 "                  [--band-view amplitude|envelope] [--play] [--program P]\n"
                 "                  [--set NAME=VALUE]... [--wait MS]\n");
    return 2;
}

bool parseNumber(const char* text, double low, double high, double& out) {
    char* end = nullptr;
    out = std::strtod(text, &end);
    return end && end != text && !*end && out >= low && out <= high;
}

} // namespace

} // namespace qv

int main(int argc, char** argv) {
    using namespace qv;
    if (argc < 3) return usage();
    const std::string plugin = argv[1];
    const std::string output = argv[2];
    int page = -1;
    int waitMs = kDefaultWaitMs;
    std::string program;
    bool hasProgram = false;
    std::vector<ParameterSetting> settings;
    float bandView = -1.0f;
    bool play = false;
    for (int i = 3; i < argc; ++i) {
        const std::string opt = argv[i];
        if (opt == "--play") {
            play = true;
            continue;
        }
        if (i + 1 >= argc) return usage();
        const std::string arg = argv[++i];
        double number = 0;
        if (opt == "--page") {
            if (arg.size() == 1 && arg[0] >= 'A' && arg[0] < 'A' + kPageCount)
                page = arg[0] - 'A';
            else if (arg.size() == 1 && arg[0] >= 'a' && arg[0] < 'a' + kPageCount)
                page = arg[0] - 'a';
            else
                return usage();
        } else if (opt == "--band-view" && (arg == "amplitude" || arg == "envelope")) {
            bandView = arg == "amplitude" ? 1.0f : 0.0f;
        } else if (opt == "--wait" && parseNumber(arg.c_str(), 0, kMaxWaitMs, number)) {
            waitMs = static_cast<int>(number);
        } else if (opt == "--program") {
            program = arg;
            hasProgram = true;
        } else if (opt == "--set") {
            const size_t eq = arg.rfind('=');
            if (eq == std::string::npos || eq == 0 || eq + 1 == arg.size()) {
                std::fprintf(stderr, "qvsnapshot: --set wants NAME=VALUE, VALUE normalised (0..1) "
                                     "or as the plug-in shows it\n");
                return 2;
            }
            settings.push_back({arg.substr(0, eq), arg.substr(eq + 1)});
        } else {
            return usage();
        }
    }

    PluginHost host;
    std::string error;
    if (!host.load(plugin, error)) {
        std::fprintf(stderr, "qvsnapshot: %s\n", error.c_str());
        return 1;
    }
    host.start(static_cast<float>(ProgrammePlayer::kSampleRate), ProgrammePlayer::kBlock);
    PluginSettings names(host);
    if (!names.apply(hasProgram ? &program : nullptr, settings, error)) {
        std::fprintf(stderr, "qvsnapshot: %s\n", error.c_str());
        return 1;
    }
    // The page parameter set to what the page selector writes for its k-th button (the tool
    // presses no button).
    if (page >= 0)
        host.effect()->setParameter(host.effect(), kPanelPageParameter,
                                    static_cast<float>(page) / (kPageCount - 1));

    if (bandView >= 0.0f) host.effect()->setParameter(host.effect(), kBandViewParameter, bandView);
    ProgrammePlayer player;
    if (play && !player.prepare(host.effect(), error)) {
        std::fprintf(stderr, "qvsnapshot: %s\n", error.c_str());
        return 1;
    }
    EditorCapture::Picture picture;
    EditorCapture::Tick tick = nullptr;
    if (play) tick = [&](int ms) { player.play(ms); };
    if (!EditorCapture::capture(host, waitMs, picture, error, tick) ||
        !PngWriter::write(output, picture.width, picture.height, picture.rgb, error)) {
        std::fprintf(stderr, "qvsnapshot: %s\n", error.c_str());
        return 1;
    }
    host.stop();
    host.unload();
    std::printf("%s: %d x %d editor of %s\n", output.c_str(), picture.width, picture.height,
                plugin.c_str());
    return 0;
}
