// Plays the test programme through a started plug-in while its editor is open, so that meters
// and analyser have something to show: each call processes as much audio as the time since the
// last one, starting in the loud chorus. The caller's thread is the plug-in's audio thread.
#pragma once

#include "tools/PluginProcessor.h"
#include "tools/ProgrammeGenerator.h"

#include <string>
#include <vector>

namespace qv {

class ProgrammePlayer {
public:
    static constexpr double kSampleRate = 44100.0;
    static constexpr int kBlock = 512;

    ProgrammePlayer();
    // The plug-in must be started at kSampleRate with blocks of kBlock frames.
    bool prepare(AEffect* effect, std::string& error);
    // Processes `milliseconds` of audio.
    void play(int milliseconds);

private:
    void toChorus(); // the programme from its loud part

    ProgrammeGenerator programme_;               // the music, looped from the chorus
    PluginProcessor processor_;                  // feeds the plug-in
    std::vector<float> inL_, inR_, outL_, outR_; // one block
};

} // namespace qv
