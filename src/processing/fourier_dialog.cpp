// The "Fast Fourier Transform" dialog's logic.
#include "processing/fourier_dialog.h"

#include <algorithm>
#include <climits>

#include "base/format.h"
#include "base/numeric.h"

namespace pelvaron::processing {

void FourierDialog::open() {
    const TransformSettings proposed = proposedTransform(doc_.spectrum, doc_.transform.ftRotateCount);
    real = proposed.real;
    driftCorr = proposed.driftCorr;
    quadrature = proposed.quadrature;
    inverse = proposed.inverse;
    rotate = proposed.rotate;
    doc_.transform.ftRotateCount = proposed.rotateCount;
    rotateCountText = cformat("%d", proposed.rotateCount);

    doc_.transform.ftSavedNData = doc_.spectrum.nData;
    roundUpToTransformSize(doc_.spectrum);
}

void FourierDialog::chooseSize(int index) {
    if (index < 0 || index >= static_cast<int>(kSizeList.size())) return;
    chooseTransformSize(doc_.spectrum, 1 << (index + 7));
    if (doc_.spectrum.nData == kMaxTransformSize) largestSizeChosen_ = true;
}

bool FourierDialog::ok() {
    TransformSettings settings;
    settings.real = real;
    settings.driftCorr = driftCorr;
    settings.quadrature = quadrature;
    settings.inverse = inverse;
    settings.rotate = rotate;
    const long count = parseLeadingInt(rotateCountText);
    settings.rotateCount = static_cast<int>(std::clamp<long>(count, INT_MIN, INT_MAX));
    if (rotate && !inverse) settings.delayFraction = residualGroupDelay(doc_.spectrum, settings.rotateCount);
    return fourierTransform(doc_, settings).ok();
}

void FourierDialog::cancel() {
    doc_.spectrum.noteSpecExtent(doc_.spectrum.nData);
    doc_.spectrum.nData = doc_.transform.ftSavedNData;
    doc_.spectrum.acqPars.TD = doc_.transform.ftSavedNData;
}

std::string FourierDialog::pointsText() const { return cformat("%d", doc_.spectrum.nData); }

}  // namespace pelvaron::processing
