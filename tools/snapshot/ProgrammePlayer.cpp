#include "tools/snapshot/ProgrammePlayer.h"

#include <algorithm>

namespace qv {

namespace {
constexpr double kProgrammeSeconds = 20.0;
constexpr double kChorusSeconds = 8.0; // where the programme is loud
} // namespace

ProgrammePlayer::ProgrammePlayer()
    : programme(kSampleRate, kProgrammeSeconds), inL(kBlock), inR(kBlock), outL(kBlock),
      outR(kBlock) {}

void ProgrammePlayer::toChorus() {
    programme.restart();
    auto skip = static_cast<std::size_t>(kChorusSeconds * kSampleRate);
    while (skip > 0)
        skip -= programme.generate(inL.data(), inR.data(), std::min<std::size_t>(skip, kBlock));
}

bool ProgrammePlayer::prepare(AEffect* effect, std::string& error) {
    if (!processor.prepare(effect, kBlock, error)) return false;
    toChorus();
    return true;
}

void ProgrammePlayer::play(int milliseconds) {
    auto frames = static_cast<std::size_t>(milliseconds * kSampleRate / 1000.0);
    while (frames > 0) {
        const std::size_t n =
            programme.generate(inL.data(), inR.data(), std::min<std::size_t>(frames, kBlock));
        if (n == 0) {
            toChorus();
            continue;
        }
        processor.process(inL.data(), inR.data(), outL.data(), outR.data(), static_cast<int>(n));
        frames -= n;
    }
}

} // namespace qv
