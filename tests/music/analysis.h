// Listening by numbers: filters, energy envelopes and onset finding used by the
// tests of the track.
#pragma once

#include <string>
#include <vector>

#include "render.h"

namespace music_test {

// Average of the two channels.
std::vector<double> mono(const music::Stereo& audio);

// Second-order Butterworth low-pass (or high-pass) run forward then backward, so
// the result has no delay: onsets stay where they are.
void zero_phase_lowpass(std::vector<double>& x, double hz);
void zero_phase_highpass(std::vector<double>& x, double hz);

// Mean of x squared over a window of `window` samples centred on each sample.
std::vector<double> energy_envelope(const std::vector<double>& x, size_t window);

// Energy envelope of the kick's band: below 1 kHz, over centred 6 ms windows.
std::vector<double> kick_envelope(const std::vector<double>& mono_signal);

// The onset near an expected time, found on an energy envelope: the first moment
// from 25 ms before on at which the energy has risen halfway from its level over
// [-50, -10] ms to its level over [2, 20] ms after the expected time.
struct Onset {
  double error_ms = 0.0;  // onset minus expected time
  double rise_db = 0.0;   // level after over level before
};
Onset find_onset(const std::vector<double>& envelope, double seconds);

// Energy over [0, 50] ms after a time against the energy over [-200, -20] ms
// before it, in dB.
double transient_db(const std::vector<double>& x, double seconds);

// Decodes an Ogg Vorbis file; false with a reason when it cannot.
bool decode_file(const std::string& path, music::Stereo& audio, long& rate, int& channels,
                 std::string& error);

}  // namespace music_test
