// The integration dialogs' logic and the integral commands of the Tools menu.
#include "analysis/integral_dialogs.h"

#include <cmath>

#include "analysis/integrals.h"
#include "base/format.h"

namespace pelvaron::analysis {

namespace {

/// An edit box's number; "inf" and "nan" read as text that is not a number, 0.
double typedNumber(const std::string& text) {
    const double v = parseLeadingDouble(text);
    return std::isfinite(v) ? v : 0.0;
}

}  // namespace

HydrogensDialog::HydrogensDialog(Document& doc)
    : text_(cformat("%lf",
                    relativeIntegralValue(doc, doc.integrals.refIntegral, doc.integrals.prevRefIntegral))) {
    doc.integrals.refIntegralValueShown = parseLeadingDouble(text_);
}

void HydrogensDialog::ok(Document& doc) const {
    doc.integrals.refIntegralValue = typedNumber(text_);
    doc.notify(kOverlaysChanged);
}

void HydrogensDialog::cancel(Document& doc) {
    doc.integrals.refIntegralValue = doc.integrals.refIntegralValueShown;
}

IntegralFactorDialog::IntegralFactorDialog(const Document& doc)
    : text_(cformat("%lf", doc.integrals.integralScaleStep)) {}

void IntegralFactorDialog::ok(Document& doc) const { doc.integrals.integralScaleStep = typedNumber(text_); }

bool integralScaleStepAccepted(const Document& doc) {
    const double step = doc.integrals.integralScaleStep;
    return step >= 1.0 && step <= 10.0;
}

void integralScaleFactorCommand(Document& doc, const IntegralFactorRunner& runDialog) {
    const double before = doc.integrals.integralScaleStep;
    for (;;) {
        IntegralFactorDialog model(doc);
        if (!runDialog(model)) {
            // Closing the box is no answer: a refused value must not stay behind to scale by.
            doc.integrals.integralScaleStep = before;
            return;
        }
        if (integralScaleStepAccepted(doc)) return;
    }
}

void increaseIntegralScale(Document& doc) {
    doc.integrals.integralScale *= doc.integrals.integralScaleStep;
    doc.notify(kOverlaysChanged);
}

void decreaseIntegralScale(Document& doc) {
    doc.integrals.integralScale /= doc.integrals.integralScaleStep;
    doc.notify(kOverlaysChanged);
}

void deleteAllIntegrals(Document& doc) {
    doc.integrals.integralCount = 0;
    deleteIntegral(doc);
    doc.notify(kOverlaysChanged);
}

}  // namespace pelvaron::analysis
