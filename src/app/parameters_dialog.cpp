// Texts of the Data Acquisition Parameters dialog.
#include "app/parameters_dialog.h"

#include "base/format.h"

namespace pelvaron::app {

ParametersFields parametersFields(const Document& doc) {
    const AcqParams& p = doc.spectrum.acqPars;
    ParametersFields f;
    f.sf = cformat("%.3lf", p.SF);
    f.sw = cformat("%.3lf", p.SW);
    f.swPpm = cformat("%.3lf", p.SW / p.SF);
    f.aq = cformat("%.2lf", p.AQ);
    // "%.d" prints no digits for a TD of 0; an empty field says as much as a zero would.
    f.td = cformat("%.d", p.TD);
    f.mode = doc.spectrum.ftReal == 1 ? "Real" : "Complex";
    return f;
}

}  // namespace pelvaron::app
