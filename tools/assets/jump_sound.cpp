// The boing is a tone that drops from a high twang to its resting pitch while
// it wobbles like a plucked spring, the wobble dying away faster than the tone.
// Under its start sits a short puff of low-passed noise and a low thump, which
// give the jump its punch. Everything is summed in double, then scaled so that
// the loudest sample sits at 70 % of full scale.
#include "tools/assets/jump_sound.h"

#include <cmath>

#include "tools/assets/det_math.h"
#include "tools/assets/noise.h"

namespace assets {

namespace {

constexpr double kSeconds = 0.75;
constexpr double kPeak = 0.7 * 32767.0;

}  // namespace

std::vector<int16_t> synthesizeJumpSound() {
  const int count = int(kSeconds * kSampleRate);
  const double dt = 1.0 / kSampleRate;
  std::vector<double> mixed(static_cast<size_t>(count), 0.0);

  double boingPhase = 0.0;
  double thumpPhase = 0.0;
  double puff = 0.0;   // one-pole low-pass state
  double puff2 = 0.0;  // second pole, for a softer hiss
  for (int i = 0; i < count; ++i) {
    double t = i * dt;

    double pitch = 196.0 * (1.0 + 0.6 * detExp(-t / 0.05));
    double wobble = 0.22 * detExp(-t / 0.22) * detSin(2.0 * kPi * 13.0 * t);
    boingPhase += 2.0 * kPi * pitch * (1.0 + wobble) * dt;
    double tone = detSin(boingPhase) + 0.35 * detSin(2.0 * boingPhase + 0.4) +
                  0.12 * detSin(3.0 * boingPhase + 1.1);
    double attack = clamp01(t / 0.004);
    double boing = tone * attack * detExp(-t / 0.2);

    double thumpPitch = 55.0 + 70.0 * detExp(-t / 0.03);
    thumpPhase += 2.0 * kPi * thumpPitch * dt;
    double thump = detSin(thumpPhase) * clamp01(t / 0.002) * detExp(-t / 0.05);

    double white = 2.0 * hashUnit(uint32_t(i), 17, 23) - 1.0;
    puff += 0.18 * (white - puff);
    puff2 += 0.35 * (puff - puff2);
    double burst = puff2 * 3.0 * clamp01(t / 0.003) * detExp(-t / 0.035);

    mixed[size_t(i)] = 0.55 * boing + 0.6 * thump + 0.45 * burst;
  }

  // Fade the tail out so the last sample is silence, not a click.
  const int fade = int(0.08 * kSampleRate);
  for (int i = count - fade; i < count; ++i) {
    double k = double(count - 1 - i) / fade;
    mixed[size_t(i)] *= k * k;
  }

  double loudest = 0.0;
  for (double v : mixed) loudest = std::fmax(loudest, std::fabs(v));
  const double gain = kPeak / loudest;
  std::vector<int16_t> samples(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    samples[size_t(i)] = int16_t(roundHalfAway(mixed[size_t(i)] * gain));
  return samples;
}

}  // namespace assets
