// The "Fast Fourier Transform" dialog's logic.
#include "processing/fourier_dialog.h"

#include <algorithm>
#include <climits>

#include "base/format.h"
#include "base/numeric.h"

namespace pelvaron::processing {

void FourierDialog::open() {
    TransformState& ts = doc_.transform;
    real = doc_.spectrum.ftReal;
    driftCorr = doc_.spectrum.ftDriftCorr;
    quadrature = doc_.spectrum.ftQuadrature;
    inverse = doc_.spectrum.ftInverse;
    // A forward transform of filtered data gets the filter's delay as its rotation.
    const std::optional<int> rotation = proposedRotation(doc_);
    if (!inverse && rotation) {
        ts.ftRotateCount = *rotation;
        rotate = 1;
    } else {
        rotate = 0;
    }
    rotateCountText = cformat("%d", ts.ftRotateCount);

    ts.ftSavedNData = doc_.spectrum.nData;
    doc_.spectrum.noteSpecExtent(doc_.spectrum.nData);
    doc_.spectrum.nData = roundUpTransformSize(doc_.spectrum.nData);
    doc_.spectrum.acqPars.TD = doc_.spectrum.nData;
}

void FourierDialog::chooseSize(int index) {
    if (index < 0 || index >= static_cast<int>(kSizeList.size())) return;
    // A smaller size leaves the doubles beyond it in the buffer, to come back with a larger one.
    doc_.spectrum.noteSpecExtent(doc_.spectrum.nData);
    doc_.spectrum.nData = 1 << (index + 7);
    if (doc_.spectrum.nData == kMaxTransformSize) doc_.hScrollRange = kMaxTransformSize - 1;
}

bool FourierDialog::ok() {
    FtOptions options;
    options.real = real;
    options.driftCorr = driftCorr;
    options.quadrature = quadrature;
    options.inverse = inverse;
    options.rotate = rotate;
    const long count = parseLeadingInt(rotateCountText);
    options.rotateCount = static_cast<int>(std::clamp<long>(count, INT_MIN, INT_MAX));
    if (rotate && !inverse) options.delayFraction = residualGroupDelay(doc_, options.rotateCount);
    return fourierTransform(doc_, options);
}

void FourierDialog::cancel() {
    doc_.spectrum.noteSpecExtent(doc_.spectrum.nData);
    doc_.spectrum.nData = doc_.transform.ftSavedNData;
    doc_.spectrum.acqPars.TD = doc_.transform.ftSavedNData;
    doc_.hScrollRange = doc_.spectrum.nData;
}

std::string FourierDialog::pointsText() const { return cformat("%d", doc_.spectrum.nData); }

}  // namespace pelvaron::processing
