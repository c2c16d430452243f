// The "Display Data Points (Reals)" dialog model.
#include "io/data_points_dialog.h"

#include <algorithm>

#include "base/format.h"

namespace pelvaron::io {

void DataPointsDialog::open(const Document& doc) {
    switch (doc.spectrum.xUnits) {
        case kSeconds: columnTitle = "Sec."; break;
        case kPpm: columnTitle = "ppm"; break;
        case kHz: columnTitle = "Hz"; break;
        case kPoints: columnTitle = "Point"; break;
        default: columnTitle = "Index"; break;
    }
    lines.clear();
    const int count = std::clamp(doc.spectrum.nData, 0, kCapacity);
    for (int i = std::max(range.first, 0); i < range.last && i < count; i += 2) {
        const double v = doc.spectrum.specData[i];
        switch (doc.spectrum.xUnits) {
            case kSeconds:
            case kPpm:
            case kHz: lines.push_back(cformat("%6.3lf%22.4lf", realPointAbscissa(doc, i), v)); break;
            case kPoints: lines.push_back(cformat("%6d%22.4lf", i / 2, v)); break;
            default: lines.push_back(cformat("%6d%.3lf", i / 2, v)); break;
        }
    }
}

bool DataPointsDialog::exportAscii(Document& doc, platform::UserInterface& ui) const {
    return exportRealPoints(doc, ui, range.first, range.last);
}

}  // namespace pelvaron::io
