// The capture sound: a camera shutter, synthesised. Each of its two clicks
// (the blades opening, then closing) is a burst of band-passed noise for the
// metallic snap, a damped tone for the tick and a low damped tone for the
// body of the mechanism, all with a fast exponential decay.
#include "tools/assets/assets.h"
#include "tools/assets/encode.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace vorn::assets {

namespace {

constexpr std::uint32_t kRate = 22050;
constexpr std::size_t kSamples = 3375;
// Loud enough to be heard, far enough from full scale that the 8-bit
// samples never clip.
constexpr double kPeak = 0.6;
// Milliseconds of ramp at both ends, so that the sound neither starts nor
// stops with a pop.
constexpr double kFadeInMs = 0.6;
constexpr double kFadeOutMs = 12;

// xorshift32: the same noise on every machine and every run.
class Noise {
  public:
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return double(state_) / 2147483648.0 - 1.0;
    }

  private:
    std::uint32_t state_ = 0x2545F491u;
};

// A two-pole band-pass filter (unit gain at its centre frequency).
class BandPass {
  public:
    BandPass(double centre_hz, double q) {
        const double w = 2 * std::numbers::pi * centre_hz / kRate;
        const double alpha = std::sin(w) / (2 * q);
        const double a0 = 1 + alpha;
        b0_ = alpha / a0;
        a1_ = -2 * std::cos(w) / a0;
        a2_ = (1 - alpha) / a0;
    }
    double operator()(double x) {
        const double y = b0_ * (x - x2_) - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

  private:
    double b0_, a1_, a2_;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

struct Click {
    double start_ms;
    double gain;
    double snap_hz;  // centre of the noise band
    double tick_hz;  // the damped tone
    double decay_ms; // time for the noise to fall to 1/e
};

void add_click(std::vector<double>& out, const Click& click, Noise& noise) {
    BandPass band(click.snap_hz, 1.4);
    const std::size_t first = std::size_t(click.start_ms * kRate / 1000);
    for (std::size_t i = first; i < out.size(); ++i) {
        const double t = double(i - first) / kRate * 1000; // ms since the click
        const double attack = std::min(1.0, t / kFadeInMs);
        const double snap = band(noise.next()) * 2.5 * std::exp(-t / click.decay_ms);
        const double tick =
            0.5 * std::sin(2 * std::numbers::pi * click.tick_hz * t / 1000) * std::exp(-t / 3);
        const double body = 0.35 * std::sin(2 * std::numbers::pi * 190 * t / 1000) * std::exp(-t / 14);
        out[i] += click.gain * attack * (snap + tick + body);
    }
}

} // namespace

Bytes capture_sound() {
    std::vector<double> wave(kSamples, 0.0);
    Noise noise;
    add_click(wave, {.start_ms = 3, .gain = 1.0, .snap_hz = 3600, .tick_hz = 1700, .decay_ms = 5}, noise);
    add_click(wave, {.start_ms = 68, .gain = 0.75, .snap_hz = 2800, .tick_hz = 1300, .decay_ms = 7}, noise);

    double peak = 0;
    for (double v : wave)
        peak = std::max(peak, std::abs(v));
    const double scale = peak > 0 ? kPeak / peak : 0;
    const std::size_t fade = std::size_t(kFadeOutMs * kRate / 1000);

    Bytes samples(kSamples);
    for (std::size_t i = 0; i < kSamples; ++i) {
        const std::size_t left = kSamples - 1 - i;
        const double tail =
            left < fade ? 0.5 - 0.5 * std::cos(std::numbers::pi * double(left) / double(fade)) : 1;
        const long level = 128 + std::lround(wave[i] * scale * tail * 127);
        samples[i] = std::uint8_t(std::clamp(level, 0L, 255L));
    }
    return wave_file(samples, kRate);
}

} // namespace vorn::assets
