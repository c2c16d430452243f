// The "Interactive Apodization" dialog's logic.
#include "processing/interactive_apodization.h"

#include <algorithm>
#include <cmath>

#include "base/format.h"
#include "processing/data_ops.h"
#include "processing/fft.h"
#include "processing/noise_block.h"
#include "processing/phase.h"
#include "processing/transform.h"
#include "processing/window_functions.h"

namespace pelvaron::processing {

namespace {

bool isSine(int function) { return function == kApoSine || function == kApoSineSquared; }

}  // namespace

std::optional<Message> apodizationMessage(const ApoRefusal& refusal) {
    if (refusal.repeated) return std::nullopt;
    return Message{refusal.problem == ApoProblem::NoFid ? kApoNoFidText : kApoBadWindowText,
                   "Interactive Apodization", MessageIcon::Exclamation};
}

std::vector<double> apoWindowShape(int function, int points) {
    points = std::max(points, 2);
    // Complex points over an acquisition of 1 s: the real parts carry the factors. One point more
    // than drawn, as the exponential leaves the last one alone.
    const int n = 2 * (points + 1);
    std::vector<double> data(static_cast<std::size_t>(n), 1.0);
    const double sw = points;
    switch (function) {
        case kApoExponential: exponentialWindow(data.data(), n, 1.0, sw); break;
        case kApoGaussian: gaussianWindow(data.data(), n, 1.2, 0.0, 1.0); break;
        case kApoTraficante: traficanteWindow(data.data(), n, 1.0, sw); break;
        case kApoSine: sineBellWindow(data.data(), n, 45.0, false); break;
        case kApoSineSquared: sineBellWindow(data.data(), n, 45.0, true); break;
        case kApoLorentzGauss: lorentzGaussWindow(data.data(), n, -3.0, 0.3, 1.0); break;
        default: break;
    }
    std::vector<double> shape(static_cast<std::size_t>(points));
    double top = 0.0;
    for (int k = 0; k < points; ++k) {
        shape[k] = data[2 * k];
        top = std::max(top, shape[k]);
    }
    if (top > 0.0)
        for (double& v : shape) v /= top;
    return shape;
}

void InteractiveApodizationDialog::open() {
    // The S/N of the data as they stand (the marks of the last transform, or found now).
    ensureSignalToNoiseMarks(doc_.spectrum);
    snText_ = signalToNoiseText(doc_);

    // Everything a movement changes: the data with the doubles a zero filling overwrites (a later
    // size change takes them as they stand), the size, pivot, phase copy, units and S/N marks.
    atOpen_ = doc_.spectrum;
    transformAtOpen_ = doc_.transform;
    firstChange_ = true;

    lbPosition_ = 0;
    gbPosition_ = kGbAtOpen;
    // Undo after OK goes back to these data with the flags they had.
    takeUndoSnapshot(doc_);
    takeUndoFlags(doc_);

    lbLabel_ = isSine(function()) ? "Degrees" : "LB.";
    // The box shows what the bar means for the selected function (45.00 degrees for a sine).
    showLb();
    gbText_ = cformat("%.2lf", gb());
}

void InteractiveApodizationDialog::chooseFunction(int function) {
    if (function < 0 || function >= kApoFunctionCount) return;
    doc_.window.apoFunction = function;
    // The label names what the box holds; "LB." again after a sine function.
    if (isSine(function)) {
        lbLabel_ = "Degrees";
    } else if (function == kApoLorentzGauss) {
        lbLabel_ = "LB";
    } else {
        lbLabel_ = "LB.";
    }
    showLb();
}

void InteractiveApodizationDialog::showLb() {
    const int f = function();
    if (isSine(f)) {
        lbText_ = cformat("%.2lf", degrees());
    } else if (f == kApoLorentzGauss && lb() > 0.0) {
        // The function needs a negative LB: the box shows the value the window takes.
        lbText_ = cformat("-%.2lf", lb());
    } else {
        lbText_ = cformat("%.2lf", lb());
    }
}

Status<ApoRefusal> InteractiveApodizationDialog::scrollLb(ScrollAction action, int thumb) {
    lbPosition_ = scrolledPosition(lbPosition_, action, thumb, 2, 25, -kLbLimit, kLbLimit);
    showLb();
    return recompute();
}

Status<ApoRefusal> InteractiveApodizationDialog::scrollGb(ScrollAction action, int thumb) {
    gbPosition_ = scrolledPosition(gbPosition_, action, thumb, 2, 10, 0, kGbMaximum);
    gbText_ = cformat("%.2lf", gb());
    return recompute();
}

Status<ApoRefusal> InteractiveApodizationDialog::refillAndWindow(int n) {
    const int fid = std::clamp(doc_.fidCopyCount, 0, n);
    scratch_.assign(doc_.fidCopy.begin(), doc_.fidCopy.begin() + fid);
    // The window spans the stored FID; the zero filling after it stays zero.
    double* data = scratch_.data();
    const double sw = doc_.spectrum.acqPars.SW;
    const double aq = doc_.spectrum.acqPars.AQ;
    switch (function()) {
        case kApoExponential: exponentialWindow(data, fid, lb(), sw); break;
        case kApoGaussian: gaussianWindow(data, fid, lb(), 0.0, aq); break;
        case kApoTraficante: traficanteWindow(data, fid, lb(), sw); break;
        case kApoSine: sineBellWindow(data, fid, degrees(), false); break;
        case kApoSineSquared: sineBellWindow(data, fid, degrees(), true); break;
        case kApoLorentzGauss: lorentzGaussWindow(data, fid, -std::fabs(lb()), gb(), aq); break;
        default: break;
    }
    // A window that is not a number somewhere (GB 0 divides by zero), or that wipes out a FID that
    // held something, is refused before the data are touched. (What the FID itself holds is its
    // own affair.)
    bool finite = true;
    bool anyBefore = false;
    bool anyAfter = false;
    for (int i = 0; i < fid; ++i) {
        finite = finite && (std::isfinite(data[i]) || !std::isfinite(doc_.fidCopy[i]));
        anyBefore = anyBefore || doc_.fidCopy[i] != 0.0;
        anyAfter = anyAfter || data[i] != 0.0;
    }
    if (!finite || (anyBefore && !anyAfter)) {
        return refuse(ApoProblem::BadWindow,
                      function() * 1000000L + (lbPosition_ + kLbLimit) * 1000L + gbPosition_);
    }
    std::copy(scratch_.begin(), scratch_.end(), doc_.spectrum.specData.begin());
    std::fill(doc_.spectrum.specData.begin() + fid, doc_.spectrum.specData.begin() + n, 0.0);
    return {};
}

void InteractiveApodizationDialog::transform(int n) {
    Spectrum& s = doc_.spectrum;
    const std::optional<int> rotation = proposedRotation(doc_.spectrum);
    if (rotation) rotateData(doc_.spectrum, *rotation);
    if (doc_.fidCopyFromInverse) {
        // The time-domain data came back from a complex spectrum: they go forward the same way.
        complexFft(doc_.spectrum, n / 2, kForward);
        s.delayFraction = 0.0;
        return;
    }
    if (doc_.loadQuadrature) quadratureAlternation(doc_.spectrum);
    if (doc_.loadReal) {
        realFft(doc_.spectrum, n, kForward);
        s.delayFraction = 0.0;
        return;
    }
    if (doc_.spectrum.fileNegateImag) conjugate(doc_.spectrum);
    complexFft(doc_.spectrum, n / 2, kForward);
    // What the whole-point rotation left of the filter's delay, taken off as the transform does.
    s.delayFraction = rotation ? residualGroupDelay(doc_.spectrum, *rotation) : 0.0;
    s.delayCentred = doc_.loadQuadrature;
    groupDelayRamp(doc_.spectrum.specData.data(), n, s.delayFraction, s.delayCentred != 0);
}

Failure<ApoRefusal> InteractiveApodizationDialog::refuse(ApoProblem problem, long settings) {
    const bool repeated = settings == refusedSettings_;
    refusedSettings_ = settings;
    return Failure{ApoRefusal{problem, repeated}};
}

Status<ApoRefusal> InteractiveApodizationDialog::recompute() {
    if (doc_.fidCopyCount <= 0) return refuse(ApoProblem::NoFid, -2);
    // Every transform needs a power-of-two size: a FID of another length is zero filled to the
    // next one (TD follows, and with it where 0 Hz lies).
    const int n = roundUpTransformSize(doc_.spectrum.nData);
    if (Status<ApoRefusal> windowed = refillAndWindow(n); !windowed) return windowed;
    if (n != doc_.spectrum.nData) {
        doc_.spectrum.noteSpecExtent(n);
        doc_.spectrum.nData = doc_.spectrum.acqPars.TD = n;
        doc_.spectrum.refIndex = spectrumRefIndex(doc_.spectrum, n);
    }
    transform(n);
    // The first change fixes the vertical scale (and the pivot); later ones keep it.
    if (firstChange_) {
        doc_.spectrum.peakValue = findPeak(doc_.spectrum);
        firstChange_ = false;
        // What is drawn now is a spectrum: its axis is in ppm from the first movement on, not
        // from OK only (the unit radios stay as they are, as OK leaves them).
        doc_.spectrum.xUnits = kPpm;
    }
    // Later phase corrections start from this spectrum, unphased.
    saveUnphased(doc_.spectrum);
    doc_.spectrum.phaseSourceValid = 1;
    phaseRotation(doc_.spectrum, doc_.spectrum.phase0, doc_.spectrum.phase1, true);
    snText_ = signalToNoiseText(doc_);
    refusedSettings_ = -1;
    doc_.notify(kDataChanged | kAxisChanged);
    return {};
}

void InteractiveApodizationDialog::ok() {
    // Without a movement the data are those of the opening, a FID perhaps: nothing to mark.
    if (!firstChange_) {
        doc_.spectrum.ftReal = 0;
        doc_.spectrum.ftQuadrature = 0;
        // The data are a spectrum: the next transform proposed is the way back, which must not
        // conjugate them again.
        doc_.spectrum.ftInverse = 1;
        doc_.spectrum.negateImag = 0;
        // Undo goes back to the FID at its own length when the movements zero filled it.
        if (doc_.spectrum.nData != atOpen_.nData) doc_.undoNData = atOpen_.nData;
    }
    doc_.notify(kDataChanged);
}

void InteractiveApodizationDialog::cancel() {
    doc_.spectrum = atOpen_;
    doc_.transform = transformAtOpen_;
    doc_.notify(kDataChanged | kAxisChanged | kViewChanged);
}

}  // namespace pelvaron::processing
