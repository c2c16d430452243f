// Invert and linear drift removal.
#include "processing/data_ops.h"

namespace pelvaron::processing {

void invertData(Document& doc) {
    for (int i = 0; i < doc.nData; ++i) doc.specData[i] = -doc.specData[i];
    addHalfTurn(doc);
}

void removeLinearDrift(Document& doc) {
    const int n = doc.nData;
    // Fewer than 16 points have no separate head and tail to average: nothing to remove.
    if (n < 16) return;
    double a = 0.0;
    double b = 0.0;
    for (int i = 0; i <= 14; i += 2) a += doc.specData[i];
    for (int i = n - 16; i <= n - 2; i += 2) b += doc.specData[i];
    a /= 8.0;
    b /= 8.0;
    const double s = 2.0 * (b - a) / n;
    for (int k = 0; k < n / 2; ++k) {
        const double line = k * s + a;
        doc.specData[2 * k] -= line;
        doc.specData[2 * k + 1] -= line;
    }
}

}  // namespace pelvaron::processing
