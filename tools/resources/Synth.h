#pragma once
// A small additive synthesiser for the game's short sound effects. Voices are summed into a buffer;
// Finish() shapes the ends so that the sound starts and stops at the zero level without a click.
#include <vector>

#include "WavEncoder.h"

namespace pw::tool {

class Synth {
public:
    Synth(int sampleRate, int bitsPerSample, double seconds);

    // A sine voice gliding exponentially from startHz to endHz, with the given partials (amplitude of
    // harmonic k+1 relative to the fundamental), an attack ramp and an exponential decay.
    void AddTone(double start, double duration, double startHz, double endHz, double amplitude, double attack,
                 double decayPerSecond, const std::vector<double>& partials = {1.0});
    // Seeded white noise, low-passed by a one-pole filter with the given cut-off, exponential decay.
    void AddNoise(double start, double duration, double amplitude, double cutoffHz, double attack,
                  double decayPerSecond, unsigned seed);

    // Scales the mix so that its peak is `peak`, fades both ends over fadeSeconds and returns the sound.
    PcmSound Finish(double peak, double fadeSeconds) const;

private:
    int sampleRate_;
    int bitsPerSample_;
    std::vector<double> mix_;
};

}  // namespace pw::tool
