#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace pw::tool {

namespace {
constexpr double kTwoPi = 6.283185307179586;

double Envelope(double t, double attack, double decayPerSecond) {
    const double rise = attack > 0 ? std::min(1.0, t / attack) : 1.0;
    return rise * std::exp(-decayPerSecond * std::max(0.0, t - attack));
}
}  // namespace

Synth::Synth(int sampleRate, int bitsPerSample, double seconds)
    : sampleRate_(sampleRate), bitsPerSample_(bitsPerSample) {
    size_t count = static_cast<size_t>(std::lround(seconds * sampleRate));
    count += count % 2;  // an even byte count needs no RIFF padding, even at 8 bits
    mix_.assign(count, 0.0);
}

void Synth::AddTone(double start, double duration, double startHz, double endHz, double amplitude,
                    double attack, double decayPerSecond, const std::vector<double>& partials) {
    const size_t first = static_cast<size_t>(start * sampleRate_);
    const size_t count = static_cast<size_t>(duration * sampleRate_);
    const double nyquist = sampleRate_ / 2.0;
    double phase = 0;
    for (size_t i = 0; i < count && first + i < mix_.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate_;
        const double hz = startHz * std::pow(endHz / startHz, t / duration);
        phase += kTwoPi * hz / sampleRate_;
        double value = 0;
        for (size_t k = 0; k < partials.size(); ++k)
            if (hz * static_cast<double>(k + 1) < nyquist * 0.9)  // keep every partial below aliasing
                value += partials[k] * std::sin(phase * static_cast<double>(k + 1));
        mix_[first + i] += amplitude * Envelope(t, attack, decayPerSecond) * value;
    }
}

void Synth::AddNoise(double start, double duration, double amplitude, double cutoffHz, double attack,
                     double decayPerSecond, unsigned seed) {
    const size_t first = static_cast<size_t>(start * sampleRate_);
    const size_t count = static_cast<size_t>(duration * sampleRate_);
    const double alpha = 1.0 - std::exp(-kTwoPi * cutoffHz / sampleRate_);
    unsigned state = seed ? seed : 1u;
    double filtered = 0;
    for (size_t i = 0; i < count && first + i < mix_.size(); ++i) {
        state = state * 1664525u + 1013904223u;  // a fixed generator: the files come out the same
        const double white = static_cast<double>(state >> 8) / 8388608.0 - 1.0;
        filtered += alpha * (white - filtered);
        const double t = static_cast<double>(i) / sampleRate_;
        mix_[first + i] += amplitude * Envelope(t, attack, decayPerSecond) * filtered;
    }
}

PcmSound Synth::Finish(double peak, double fadeSeconds) const {
    PcmSound sound;
    sound.sampleRate = sampleRate_;
    sound.bitsPerSample = bitsPerSample_;
    sound.samples = mix_;
    double loudest = 0;
    for (double s : sound.samples) loudest = std::max(loudest, std::fabs(s));
    const double gain = loudest > 0 ? peak / loudest : 0;
    const size_t n = sound.samples.size();
    const size_t fade = std::max<size_t>(1, static_cast<size_t>(fadeSeconds * sampleRate_));
    for (size_t i = 0; i < n; ++i) {
        // Raised-cosine ramps that reach exactly zero at the first and the last sample.
        double shape = 1.0;
        const size_t fromEnd = n - 1 - i;
        if (i < fade) shape = 0.5 - 0.5 * std::cos(M_PI * static_cast<double>(i) / static_cast<double>(fade));
        if (fromEnd < fade)
            shape = std::min(shape, 0.5 - 0.5 * std::cos(M_PI * static_cast<double>(fromEnd) / fade));
        sound.samples[i] *= gain * shape;
    }
    return sound;
}

}  // namespace pw::tool
