// Documents and FIDs with chosen data for the processing tests.
#pragma once

#include <cmath>
#include <complex>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/document.h"
#include "io/load.h"
#include "recording_ui.h"
#include "temp_dir.h"

namespace pelvaron::testing {

/// A set-up-like document holding `values` (nData = TD = their count) with the given spectral
/// width; AQ follows as TD/(2*SW).
inline std::unique_ptr<Document> documentWith(const std::vector<double>& values, double sw = 1000.0) {
    auto doc = std::make_unique<Document>();
    for (std::size_t i = 0; i < values.size(); ++i)
        doc->spectrum.specData[static_cast<std::ptrdiff_t>(i)] = values[i];
    doc->spectrum.nData = doc->spectrum.acqPars.TD = static_cast<int>(values.size());
    doc->spectrum.acqPars.SW = sw;
    doc->spectrum.acqPars.SF = 400.0;
    doc->spectrum.acqPars.AQ = doc->spectrum.nData / (2.0 * sw);
    doc->spectrum.acqPars.DECIM = 1;
    doc->spectrum.acqPars.DSPFVS = 10;
    doc->spectrum.ftReal = doc->spectrum.ftInverse = 0;
    doc->spectrum.ftDriftCorr = doc->spectrum.ftQuadrature = 1;
    doc->spectrum.peakValue = findPeak(doc->spectrum);
    return doc;
}

/// `doc` with 777 in the eight doubles beyond its data, which no operation may touch.
inline std::unique_ptr<Document> withSentinelBeyond(std::unique_ptr<Document> doc) {
    for (int i = doc->spectrum.nData; i < doc->spectrum.nData + 8; ++i) doc->spectrum.specData[i] = 777.0;
    return doc;
}
inline void expectUntouchedBeyond(const Document& doc) {
    for (int i = doc.spectrum.nData; i < doc.spectrum.nData + 8; ++i)
        EXPECT_EQ(doc.spectrum.specData[i], 777.0) << i;
}

/// One set of the aspirin experiment in tests/data ("fid-set" or "processed-set"), read as the
/// window reads it, without a message.
inline std::unique_ptr<Document> aspirin(const std::string& set) {
    auto doc = std::make_unique<Document>();
    RecordingUserInterface ui;
    EXPECT_TRUE(io::loadFile(*doc, ui, sourcePath("tests/data/aspirin-1h/" + set), FileFormat::Bruker));
    EXPECT_TRUE(ui.messages.empty()) << set;
    return doc;
}

/// A complex FID of `points` points sampled at `sw`: lines of amplitude 1000 at `hz`, decaying
/// with 0.2 s, that start `delay` points late behind the smooth onset of a digital filter.
inline std::vector<double> fidOf(int points, double sw, const std::vector<double>& hz, double delay = 0.0) {
    std::vector<double> v(2 * static_cast<std::size_t>(points));
    for (int j = 0; j < points; ++j) {
        const double t = (j - delay) / sw;
        const double onset = t < 0 ? std::exp(t * sw * 2.0) : 1.0;
        std::complex<double> z;
        for (double f : hz)
            z += onset * std::exp(-std::fabs(t) / 0.2) * std::polar(1000.0, 2.0 * std::numbers::pi * f * t);
        v[2 * j] = z.real();
        v[2 * j + 1] = z.imag();
    }
    return v;
}

/// Phase (degrees) of the complex point nearest `hz` in a centred spectrum at 1 Hz a point (point 0
/// is the highest frequency).
inline double phaseAt(const Document& doc, double hz) {
    const int k = doc.spectrum.nData / 4 - static_cast<int>(std::lround(hz));
    return std::atan2(doc.spectrum.specData[2 * k + 1], doc.spectrum.specData[2 * k]) * 180.0 /
           std::numbers::pi;
}

/// The first `count` doubles of a buffer (of nData of specData by default).
template <typename Buffer>
std::vector<double> head(const Buffer& buffer, int count) {
    return std::vector<double>(buffer.begin(), buffer.begin() + count);
}
inline std::vector<double> dataOf(const Document& doc) {
    return head(doc.spectrum.specData, doc.spectrum.nData);
}

/// A dialog model as it stands after opening on `args`.
template <typename Dialog, typename... Args>
Dialog opened(Args&... args) {
    Dialog dialog(args...);
    dialog.open();
    return dialog;
}

}  // namespace pelvaron::testing

namespace pelvaron::processing {
using testing::dataOf;
using testing::documentWith;
using testing::expectUntouchedBeyond;
using testing::fidOf;
using testing::head;
using testing::opened;
using testing::phaseAt;
using Ints = std::vector<int>;
}  // namespace pelvaron::processing
