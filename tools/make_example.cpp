// Generates the bundled example: a 400 MHz proton FID of ethyl acetate in CDCl3 (an acetyl
// singlet, an OCH2 quartet and a CH3 triplet, with TMS and residual CHCl3), recorded as a
// digital-filter instrument stores it, with a little noise. Deterministic: the same files every
// run on every machine.
//
//   make-example OUTPUT_DIR
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "bruker_writer.h"

namespace {

struct Line {
    double ppm;
    double amplitude;  ///< relative number of protons in this line
};

constexpr double kBf1 = 400.13;        // MHz
constexpr double kSw = 6009.6154;      // Hz, 15.02 ppm
constexpr int kTd = 16384;             // doubles: 8192 complex points
constexpr double kOffsetPpm = 12.5;    // ppm of the left-most point
constexpr int kDecim = 32;
constexpr int kDspfvs = 10;
constexpr double kGroupDelay = 70.0156;  // points, the filter delay of DECIM 32 / DSPFVS 10
constexpr double kJ = 7.13;            // Hz, CH2-CH3 coupling
constexpr double kT2 = 0.32;           // s: lines about 1 Hz wide
constexpr double kScale = 2.0e6;       // integer units per proton at t = 0
constexpr double kNoise = 1500.0;      // standard deviation of the noise, integer units

/// The ppm of the spectrum point nearest to `ppm`: the largest line sits exactly on a point, so
/// that the spectrum's largest real value is pure absorption and one-point phasing finds it.
double onPoint(double ppm) {
    const double offsetHz = kOffsetPpm * kBf1 - kSw;
    const double points = kTd / 2.0;
    const double k = std::round(points * (1.0 - (ppm * kBf1 - offsetHz) / kSw));
    return (offsetHz + kSw * (1.0 - k / points)) / kBf1;
}

std::vector<Line> lines() {
    std::vector<Line> out;
    const double d = kJ / kBf1;  // J in ppm
    out.push_back({onPoint(2.045), 3.0});  // acetyl CH3 singlet: the largest line
    for (int k = 0; k < 4; ++k) {  // OCH2 quartet 1:3:3:1
        static const double weights[4] = {1, 3, 3, 1};
        out.push_back({4.120 + (k - 1.5) * d, 2.0 * weights[k] / 8.0});
    }
    for (int k = 0; k < 3; ++k) {  // CH3 triplet 1:2:1
        static const double weights[3] = {1, 2, 1};
        out.push_back({1.258 + (k - 1) * d, 3.0 * weights[k] / 4.0});
    }
    out.push_back({0.0, 0.15});   // TMS
    out.push_back({7.26, 0.05});  // residual CHCl3
    return out;
}

/// Uniform deviate in (0, 1) from the raw 32-bit output, the same on every platform.
double uniform(std::mt19937& rng) { return (static_cast<double>(rng()) + 0.5) / 4294967296.0; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-example OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    // The spectrum's centre (the carrier) in ppm; offsets are measured from it.
    const double centrePpm = kOffsetPpm - kSw / kBf1 / 2.0;

    std::mt19937 rng(20261206u);
    pelvaron::testing::BrukerFidSpec spec;
    spec.values.resize(kTd);
    const auto all = lines();
    for (int k = 0; k < kTd / 2; ++k) {
        // The digital filter delays the signal: point k was sampled at (k - delay) / SW.
        const double t = (k - kGroupDelay) / kSw;
        std::complex<double> value = 0.0;
        if (t >= 0.0) {
            for (const Line& line : all) {
                const double hz = (line.ppm - centrePpm) * kBf1;
                value += line.amplitude * std::polar(1.0, 2.0 * std::numbers::pi * hz * t);
            }
            value *= kScale * std::exp(-t / kT2);
        }
        // Box-Muller from the portable uniform deviates.
        const double r = std::sqrt(-2.0 * std::log(uniform(rng)));
        const double phi = 2.0 * std::numbers::pi * uniform(rng);
        spec.values[2 * k] = std::round(value.real() + kNoise * r * std::cos(phi));
        spec.values[2 * k + 1] = std::round(value.imag() + kNoise * r * std::sin(phi));
    }
    spec.sw = kSw;
    spec.bf1 = kBf1;
    spec.aqMode = 3;  // DQD
    spec.decim = kDecim;
    spec.dspfvs = kDspfvs;
    spec.bigEndian = false;
    spec.procOffset = kOffsetPpm;
    // The carrier, from BF1: the centre of the acquired width.
    spec.o1 = centrePpm * kBf1;
    // How the spectrometer software would have processed it: 0.3 Hz exponential broadening, zero
    // fill to twice the points, referenced to the whole acquired width. The lines are simulated
    // in phase, but with the receiver's sign opposite to the spectrometer software's (our
    // transform shows them negative until a half turn); its filter correction leaves a further 180
    // degrees times the delay's fraction of zero-order phase (it turns nothing at the left edge,
    // not at the carrier). PHC0 takes off both.
    char swText[32], sfText[32], offsetText[32], phc0Text[32];
    std::snprintf(phc0Text, sizeof phc0Text, "%.4f", 180.0 - 180.0 * (kGroupDelay - std::floor(kGroupDelay)));
    std::snprintf(swText, sizeof swText, "%.4f", kSw);
    std::snprintf(sfText, sizeof sfText, "%.2f", kBf1);
    std::snprintf(offsetText, sizeof offsetText, "%.4f", kOffsetPpm);
    spec.procsText = pelvaron::testing::parameterFile({{"OFFSET", offsetText},
                                                       {"SW_p", swText},
                                                       {"SF", sfText},
                                                       {"SI", std::to_string(kTd)},
                                                       {"TDeff", std::to_string(kTd)},
                                                       {"WDW", "1"},
                                                       {"LB", "0.3"},
                                                       {"GB", "0"},
                                                       {"SSB", "0"},
                                                       {"PHC0", phc0Text},
                                                       {"PHC1", "0"},
                                                       {"FCOR", "0.5"}});
    spec.title = "ethyl acetate in CDCl3, 1H";
    pelvaron::testing::writeBrukerFid(dir, spec);
    std::printf("wrote %s: acqus, fid, pdata/1/proc, pdata/1/procs (largest line at %.4f ppm)\n", dir.c_str(), all[0].ppm);
    return 0;
}
