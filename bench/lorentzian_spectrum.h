// The benchmark spectrum of the drawing and page figures: 65536 complex points at 400 MHz,
// Lorentzian lines over a little noise, set up as after a load.
#pragma once

#include <iostream>
#include <memory>
#include <random>
#include <vector>

#include "cli/console_ui.h"
#include "document/document.h"

namespace pelvaron::bench {

/// The size these figures have always been measured at (131072 doubles, 65536 points).
inline constexpr int kBenchValues = 131072;

struct BenchLine {
    double centre;  ///< complex point
    double height;
    double halfWidth;  ///< points
};

/// A document for a view of `width` x `height` client pixels (bench::benchView) holding the lines
/// over noise of sigma 0.05 (the same noise for every figure: the generator seeded with 7, real
/// then imaginary part).
inline std::unique_ptr<Document> lorentzianSpectrum(const std::vector<BenchLine>& lines, int width,
                                                    int height) {
    auto doc = std::make_unique<Document>();
    (void)height;  // the view (bench::benchView) holds the integral curves' row
    (void)width;
    doc->spectrum.acqPars.aqMode = 3;
    doc->spectrum.acqPars.complexData = 1;
    doc->spectrum.acqPars.TD = kBenchValues;
    doc->spectrum.acqPars.SW = 6009.6;
    doc->spectrum.acqPars.SF = 400.13;
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 0.05);
    for (int k = 0; k < kBenchValues / 2; ++k) {
        double value = noise(random);
        for (const BenchLine& l : lines) {
            const double d = (k - l.centre) / l.halfWidth;
            value += l.height / (1.0 + d * d);
        }
        doc->spectrum.specData[2 * k] = value;
        doc->spectrum.specData[2 * k + 1] = noise(random);
    }
    cli::ConsoleUserInterface ui(std::cerr);
    setupDocument(*doc);
    return doc;
}

}  // namespace pelvaron::bench
