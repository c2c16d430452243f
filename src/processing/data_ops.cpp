// Invert, the straight-line baseline, Reference, Shift Data, Supress Peaks and S/N.
#include "processing/data_ops.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/format.h"
#include "base/numeric.h"
#include "processing/noise_block.h"

namespace pelvaron::processing {

namespace {

int valuesInUse(const Document& doc) { return std::clamp(doc.spectrum.nData, 0, kCapacity); }

/// The noise block the last FFT noted, as doubles from ... from+length-1 of the present data.
struct NoiseRegion {
    int from = 0;
    int length = 0;
};

NoiseRegion noiseRegionOf(const Document& doc) {
    const int n = valuesInUse(doc);
    const long long start = static_cast<long long>(kNoiseBlockSize) * doc.spectrum.noiseBlock;
    // A block beyond the present data (a smaller data set loaded since the FFT) is taken as
    // block 0; data shorter than a block give what they hold.
    const int from = (start < 0 || start + kNoiseBlockSize > n) ? 0 : static_cast<int>(start);
    return {from, std::min(kNoiseBlockSize, n - from)};
}

/// A number for a box: values that are not numbers (an SF of 0) show as 0.
std::string boxNumber(const char* format, double v) { return cformat(format, std::isfinite(v) ? v : 0.0); }

}  // namespace

void invertData(Document& doc) {
    for (int i = 0; i < doc.spectrum.nData; ++i) doc.spectrum.specData[i] = -doc.spectrum.specData[i];
    addHalfTurn(doc.spectrum);
}

void removeLinearDrift(Document& doc) {
    const int n = doc.spectrum.nData;
    // Fewer than 16 points have no separate head and tail to average: nothing to remove.
    if (n < 16) return;
    double a = 0.0;
    double b = 0.0;
    for (int i = 0; i <= 14; i += 2) a += doc.spectrum.specData[i];
    for (int i = n - 16; i <= n - 2; i += 2) b += doc.spectrum.specData[i];
    a /= 8.0;
    b /= 8.0;
    const double s = 2.0 * (b - a) / n;
    for (int k = 0; k < n / 2; ++k) {
        const double line = k * s + a;
        doc.spectrum.specData[2 * k] -= line;
        doc.spectrum.specData[2 * k + 1] -= line;
    }
}

// --- Reference.

void startReferencing(platform::UserInterface& ui) { ui.setStatusText(0, kReferencePrompt); }

bool setReference(Document& doc, double t, int p, int unit, double value) {
    const double sw = doc.spectrum.acqPars.SW;
    const double sf = doc.spectrum.acqPars.SF;
    const double n = doc.spectrum.nData;
    const double q = sw - sw * t / doc.spectrum.acqPars.AQ;
    double offsetHz = 0.0;
    double offsetPpm = 0.0;
    double refIndex = 0.0;
    if (unit == kHz) {
        offsetHz = value - q;
        offsetPpm = offsetHz / sf;
        refIndex = p + n * value / sw;
    } else {
        offsetPpm = value - q / sf;
        offsetHz = offsetPpm * sf;
        refIndex = p + value * sf * n / sw;
    }
    if (!std::isfinite(offsetHz) || !std::isfinite(offsetPpm) || !std::isfinite(refIndex)) return false;
    doc.spectrum.offsetHz = offsetHz;
    doc.spectrum.offsetPpm = offsetPpm;
    doc.spectrum.refIndex = truncToInt(refIndex);
    doc.spectrum.acqPars.offsetHz = offsetHz;
    doc.spectrum.referenceSource = ReferenceSource::Manual;
    return true;
}

void ReferenceDialog::open() {
    unit_ = doc_.spectrum.xUnits == kHz ? kHz : kPpm;
    const double sw = doc_.spectrum.acqPars.SW;
    const double q = sw - sw * pick_.t / doc_.spectrum.acqPars.AQ;
    const double value =
        unit_ == kHz ? q + doc_.spectrum.offsetHz : q / doc_.spectrum.acqPars.SF + doc_.spectrum.offsetPpm;
    currentText_ = boxNumber("%.3lf", value);
    newText = currentText_;
}

void ReferenceDialog::ok() {
    const double value = parseLeadingDouble(newText);
    // OK on the value shown keeps the reference: put through the formulas, the box's three
    // decimals and the pick's even index would move it by up to 0.0005 units and two indices.
    // Without a pick (none since the load) there is nothing to reference.
    if (pick_.index >= 0 && value != parseLeadingDouble(currentText_))
        (void)setReference(doc_, pick_.t, pick_.index, unit_, value);
    doc_.notify(kAxisChanged | kViewChanged);
}

void ReferenceDialog::cancel() { doc_.notify(kViewChanged); }

// --- Shift Data.

void shiftData(Document& doc, int count, bool right) {
    takeUndoSnapshot(doc);
    const int n = valuesInUse(doc);
    // Beyond half the data every point is shifted out: larger counts (and negative ones) are held
    // to 0 ... nData/2 points, so that no read reaches outside the data.
    const int s = 2 * std::clamp(count, 0, n / 2);
    const double* old = doc.undo.specData.data();
    double* x = doc.spectrum.specData.data();
    if (right) {
        std::copy(old, old + (n - s), x + s);
        std::fill(x, x + s, 0.0);
    } else {
        std::copy(old + s, old + n, x);
        std::fill(x + (n - s), x + n, 0.0);
    }
}

void ShiftDataDialog::open() { leftShift = doc_.dataOps.shiftLeft != 0; }

int ShiftDataDialog::count() const {
    // A minus sign is no digit: a negative entry shifts by 0.
    const long v = parseLeadingInt(countText.substr(0, kShiftCountChars));
    return static_cast<int>(std::max(v, 0L));
}

void ShiftDataDialog::ok() {
    doc_.dataOps.shiftLeft = leftShift ? 1 : 0;
    shiftData(doc_, count(), !leftShift);
    doc_.notify(kDataChanged);
}

// --- Supress Peaks.

void suppressRegion(Document& doc, int from, int to, bool byNoise) {
    const int n = valuesInUse(doc);
    // The region is held to the data, 0 ... nData.
    from = std::clamp(from, 0, n);
    to = std::clamp(to, 0, n);
    if (to < from) std::swap(from, to);
    double* x = doc.spectrum.specData.data();
    const NoiseRegion noise = noiseRegionOf(doc);
    if (!byNoise || noise.length <= 0) {
        std::fill(x + from, x + to, 0.0);
        return;
    }
    // The block is copied first: a region over the block itself still repeats the block's own
    // values every 128 doubles.
    std::array<double, kNoiseBlockSize> block{};
    std::copy(x + noise.from, x + noise.from + noise.length, block.begin());
    for (int i = from, j = 0; i < to; ++i) {
        x[i] = block[static_cast<std::size_t>(j)];
        if (++j == noise.length) j = 0;
    }
}

void SuppressPeaksDialog::open() {
    takeUndoSnapshot(doc_);
    byZeros = doc_.dataOps.suppressByZeros != 0;
}

void SuppressPeaksDialog::ok() {
    doc_.dataOps.suppressByZeros = byZeros ? 1 : 0;
    suppressRegion(doc_, from_, to_, !byZeros);
    doc_.notify(kDataChanged);
}

// --- Signal to noise.

SignalToNoise measureSignalToNoise(const Document& doc) {
    SignalToNoise r;
    const int n = valuesInUse(doc);
    const double* x = doc.spectrum.specData.data();

    const NoiseRegion block = noiseRegionOf(doc);
    r.noiseFrom = block.from;
    r.noiseTo = block.from + std::max(0, (block.length - 1) / 2 * 2);
    double lo = x[block.from];
    double hi = lo;
    for (int i = block.from + 2; i < block.from + block.length; i += 2) {
        lo = std::min(lo, x[i]);
        hi = std::max(hi, x[i]);
    }
    r.noise = hi - lo;
    if (r.noise <= 1e-7) r.noise = 1e-7;

    // The window M-50 ... M+48 is clamped to the data: near an end it holds fewer points, and a
    // peak noted beyond the present data (a smaller data set since) reads the last point.
    const int last = std::max(0, n - 2);
    const long long m = doc.spectrum.snPeakIndex;
    r.signalFrom = static_cast<int>(std::clamp<long long>(m - 50, 0, last));
    r.signalTo = static_cast<int>(std::clamp<long long>(m + 48, 0, last));
    // The search starts from the present value at M, not from the value the FFT noted: the
    // transform's own scaling and every later step change the data, and a stale start would
    // report the unscaled peak against today's noise (ratios of 1e11 on real spectra).
    r.signal = x[std::clamp<long long>(m, 0, last)];
    for (int i = r.signalFrom; i <= r.signalTo; i += 2) {
        if (std::fabs(x[i]) > std::fabs(r.signal)) r.signal = x[i];
    }
    r.ratio = std::fabs(2.5 * r.signal / r.noise);
    // Data holding infinities or no numbers there have no ratio to show: 0.
    if (!std::isfinite(r.ratio)) r.ratio = 0.0;
    return r;
}

double signalToNoise(const Document& doc) { return measureSignalToNoise(doc).ratio; }

std::string signalToNoiseText(const Document& doc) { return cformat("%.1lf", signalToNoise(doc)); }

}  // namespace pelvaron::processing
