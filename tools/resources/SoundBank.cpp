#include "SoundBank.h"

#include "Synth.h"

namespace pw::tool {

namespace {

// Bell-like partials: a strong fundamental and a little octave and twelfth for brightness.
const std::vector<double> kBell{1.0, 0.35, 0.18, 0.06};
const std::vector<double> kSoft{1.0, 0.15};

// Start-up: a rising major arpeggio that rings out.
PcmSound StartJingle() {
    Synth synth(11025, 8, 0.85);
    const double notes[] = {523.25, 659.25, 783.99, 1046.5};
    for (int i = 0; i < 4; ++i) {
        const double start = 0.02 + 0.11 * i;
        synth.AddTone(start, 0.85 - start, notes[i], notes[i], i == 3 ? 1.0 : 0.8, 0.006, i == 3 ? 4.0 : 7.0,
                      kBell);
    }
    return synth.Finish(0.55, 0.02);
}

// Title to game: a soft upward sweep with a breath of noise.
PcmSound SoftSwitch() {
    Synth synth(22050, 16, 0.32);
    synth.AddTone(0.0, 0.32, 330, 660, 1.0, 0.08, 9.0, kSoft);
    synth.AddNoise(0.0, 0.32, 0.35, 1500, 0.1, 10.0, 7);
    return synth.Finish(0.35, 0.03);
}

// Buttons: a short, bright tick.
PcmSound CrispClick() {
    Synth synth(11025, 16, 0.05);
    synth.AddTone(0.0, 0.05, 2600, 1800, 1.0, 0.0015, 110.0, {1.0, 0.3});
    synth.AddNoise(0.0, 0.05, 0.5, 4000, 0.0005, 160.0, 3);
    return synth.Finish(0.5, 0.003);
}

// A weight leaves the tray or a pan: a quick rising blip.
PcmSound PickUp() {
    Synth synth(8000, 8, 0.13);
    synth.AddTone(0.0, 0.13, 320, 760, 1.0, 0.01, 14.0, {1.0, 0.25, 0.1});
    return synth.Finish(0.5, 0.01);
}

// A weight is set down: a low, dull knock.
PcmSound Drop() {
    Synth synth(11025, 8, 0.2);
    synth.AddTone(0.0, 0.2, 210, 95, 1.0, 0.003, 22.0, {1.0, 0.4, 0.15});
    synth.AddNoise(0.0, 0.06, 0.45, 900, 0.001, 60.0, 11);
    return synth.Finish(0.55, 0.006);
}

// The scale comes level: two high bell notes, the second ringing longer.
PcmSound LevelChime() {
    Synth synth(11025, 8, 0.9);
    synth.AddTone(0.0, 0.9, 1318.5, 1318.5, 0.8, 0.004, 6.0, {1.0, 0.25, 0.1});
    synth.AddTone(0.12, 0.78, 1975.5, 1975.5, 0.9, 0.004, 4.5, {1.0, 0.2});
    return synth.Finish(0.55, 0.02);
}

}  // namespace

std::vector<NumberedSound> MakeSounds() {
    return {{20003, StartJingle()}, {20004, SoftSwitch()}, {20005, CrispClick()},
            {20007, PickUp()},      {20008, Drop()},       {20009, LevelChime()}};
}

}  // namespace pw::tool
