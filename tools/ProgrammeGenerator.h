// A deterministic, music-like stereo test programme: drums (kick, snare, hats), a bass line,
// pads and a noise bed at 120 beats per minute, arranged in quiet and loud sections (quiet
// intro, verse, loud chorus, very quiet breakdown, louder final chorus, fade-out). The same
// rate and length always give the same samples.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

class ProgrammeGenerator {
public:
    // `sampleRate` in Hz, `seconds` of programme; a length of 0 or less gives no frames.
    ProgrammeGenerator(double sampleRate, double seconds);

    std::uint64_t totalFrames() const { return total_; }
    std::uint64_t framesLeft() const { return total_ - position_; }
    // Writes up to `maxFrames` frames and returns how many (0 once the programme has ended).
    std::size_t generate(float* left, float* right, std::size_t maxFrames);
    // Starts again from the first frame.
    void restart();

private:
    enum Voice { kKick, kSnare, kHats, kBass, kPads, kBed, kVoices };
    struct Mix {
        double gain[kVoices]; // linear gain of each voice
    };
    // Exponential decay from 1 after each trigger, one multiplication per sample.
    struct Decay {
        double value = 0.0;  // current level
        double factor = 0.0; // per-sample multiplier for the time constant
        double next() { return value *= factor; }
    };

    void frame(double& left, double& right);
    // The triggers at the start of sixteenth note `step`.
    void trigger(std::int64_t step);
    // The voices' next samples, with their section gains; `white` is this frame's noise.
    double kickVoice();
    double snareVoice(double white);
    double hatVoice(double white);
    double bassVoice(int bar);
    void padVoices(int bar, double (&pad)[2]); // adds the left and right pads
    double noise();                            // white noise in -1..1
    Decay decay(double tauSeconds) const;
    std::uint32_t phaseStep(double hz) const; // phase increment per sample at `hz`
    static Mix sectionMix(double fraction);

    double rate_;                            // Hz
    std::uint64_t total_;                    // frames in the programme
    double sectionGlide_;                    // per-sample smoothing of section level changes
    double bassSmoothing_;                   // per-sample coefficient of the bass low-pass
    double cycle_;                           // phase units per Hz per sample (2^32 / rate)
    std::uint32_t bassStep_[4];              // bass phase increment per chord
    std::uint32_t padStep_[4][2][3][2];      // pad phase increments: [chord][channel][note][detune]
    std::uint64_t position_ = 0;             // next frame to generate
    std::int64_t lastStep_ = -1;             // sixteenth note of the previous frame
    std::uint32_t noiseState_ = 1;           // xorshift state of the noise source
    Decay kickPitch_, kickBody_, kickClick_; // kick envelopes (pitch sweep, body, click)
    Decay snareNoise_, snareBody_;           // snare envelopes
    Decay hat_;                              // hat envelope
    Decay bassAttack_, bassBody_, bassStop_; // bass envelopes: attack, sustain, note-off
    Decay padSwell_;                         // pad envelope (1 - it swells in)
    std::uint32_t kickPhase_ = 0;            // phase of the kick sine (2^32 = one cycle)
    std::uint32_t snarePhase_ = 0;           // phase of the snare body
    bool bassOn_ = false;                    // whether the current eighth plays a bass note
    std::uint32_t bassPhase_ = 0;            // phase of the bass saw
    double bassLow_ = 0.0;                   // one-pole low-pass state of the bass
    double hatLow_ = 0.0;                   // low-pass state whose difference makes the hats bright
    double bedLeft_ = 0.0, bedRight_ = 0.0; // low-passed noise of the bed, per channel
    std::uint32_t padPhase_[2][3][2] = {};  // phases of pad voices: [channel][chord note][detune]
    Mix mix_ = {};                          // voice gains, gliding towards the section's levels
};

} // namespace qv
