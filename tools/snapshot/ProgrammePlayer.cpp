#include "tools/snapshot/ProgrammePlayer.h"

#include <algorithm>

namespace qv {

namespace {
constexpr double kProgrammeSeconds = 20.0;
constexpr double kChorusSeconds = 8.0; // where the programme is loud
} // namespace

ProgrammePlayer::ProgrammePlayer()
    : programme_(kSampleRate, kProgrammeSeconds), inL_(kBlock), inR_(kBlock), outL_(kBlock),
      outR_(kBlock) {}

void ProgrammePlayer::toChorus() {
    programme_.restart();
    auto skip = static_cast<std::size_t>(kChorusSeconds * kSampleRate);
    while (skip > 0)
        skip -= programme_.generate(inL_.data(), inR_.data(), std::min<std::size_t>(skip, kBlock));
}

bool ProgrammePlayer::prepare(AEffect* effect, std::string& error) {
    if (!processor_.prepare(effect, kBlock, error)) return false;
    toChorus();
    return true;
}

void ProgrammePlayer::play(int milliseconds) {
    auto frames = static_cast<std::size_t>(milliseconds * kSampleRate / 1000.0);
    while (frames > 0) {
        const std::size_t n =
            programme_.generate(inL_.data(), inR_.data(), std::min<std::size_t>(frames, kBlock));
        if (n == 0) {
            toChorus();
            continue;
        }
        processor_.process(inL_.data(), inR_.data(), outL_.data(), outR_.data(),
                           static_cast<int>(n));
        frames -= n;
    }
}

} // namespace qv
