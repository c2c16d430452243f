// Automatic Processing.
#include "processing/auto_process.h"

#include <algorithm>
#include <vector>

#include "processing/transform.h"

namespace pelvaron::processing {

Message autoProcessMessage(const AutoProcessError& error) {
    if (const auto* phase = std::get_if<AutoPhaseProblem>(&error)) return autoPhaseMessage(*phase);
    if (const auto* baseline = std::get_if<AutoBaselineProblem>(&error))
        return autoBaselineMessage(*baseline);
    const bool spectrum = std::get<AutoProcessProblem>(error) == AutoProcessProblem::AlreadySpectrum;
    return Message{spectrum ? kAutoProcessSpectrumText : "The data cannot be transformed.",
                   kAutoProcessCaption, MessageIcon::Information};
}

Status<AutoProcessError> autoProcess(Document& doc) {
    Spectrum& s = doc.spectrum;
    // A forward transform leaves ftInverse set, as opening a processed spectrum does.
    if (s.ftInverse) return Failure{AutoProcessError{AutoProcessProblem::AlreadySpectrum}};
    const int loaded = std::clamp(s.nData, 0, kCapacity);
    // What Undo brings back: the FID as it stands, at its own size.
    const std::vector<double> fid(s.specData.begin(), s.specData.begin() + loaded);
    const double fidPeakValue = s.peakValue;
    const int fidTd = s.acqPars.TD;
    const int ftReal = s.ftReal, ftDriftCorr = s.ftDriftCorr, ftQuadrature = s.ftQuadrature;

    // Twice the points at least: the spectrum then holds every line's shape, not only its samples.
    long wanted = 2L * loaded;
    if (s.recorded.present && s.recorded.SI > 0) wanted = std::max(wanted, 2L * s.recorded.SI);
    const int size = roundUpTransformSize(static_cast<int>(std::min<long>(wanted, kCapacity)));
    const TransformSettings settings = proposedTransform(s, doc.transform.ftRotateCount);
    std::fill(s.specData.begin() + loaded, s.specData.begin() + std::max(size, loaded), 0.0);
    s.noteSpecExtent(std::max(size, loaded));
    chooseTransformSize(s, size);
    if (!fourierTransform(doc, settings)) {
        std::copy(fid.begin(), fid.end(), s.specData.begin());
        s.nData = loaded;
        s.acqPars.TD = fidTd;
        return Failure{AutoProcessError{AutoProcessProblem::NoTransform}};
    }
    std::copy(fid.begin(), fid.end(), doc.undo.specData.begin());
    doc.undo.peakValue = fidPeakValue;
    doc.undoNData = loaded;
    doc.undo.ftReal = ftReal;
    doc.undo.ftDriftCorr = ftDriftCorr;
    doc.undo.ftQuadrature = ftQuadrature;
    doc.undo.ftInverse = 0;
    doc.notify(kDataChanged | kAxisChanged);

    if (const auto phased = autoPhaseFull(s); !phased) return Failure{AutoProcessError{phased.error()}};
    if (const auto flat = autoBaseline(s); !flat) return Failure{AutoProcessError{flat.error()}};
    s.peakValue = findPeak(s);
    doc.notify(kDataChanged);
    return {};
}

}  // namespace pelvaron::processing
