// The multiplet report. (Placeholder until the analysis lands.)
#include "analysis/multiplets.h"

namespace pelvaron::analysis {

Message multipletMessage(MultipletProblem) {
    return {"The spectrum has no multiplets to report.", "Multiplet Report", MessageIcon::Information};
}

Result<MultipletState, MultipletProblem> analyseMultiplets(const Spectrum& s, const MultipletSettings&) {
    if (!s.ftInverse) return Failure{MultipletProblem::NotSpectrum};
    return MultipletState{};
}

Result<MultipletRange, MultipletProblem> analyseRange(const Spectrum& s, double, double,
                                                      const MultipletState&) {
    if (!s.ftInverse) return Failure{MultipletProblem::NotSpectrum};
    return MultipletRange{};
}

void countProtons(MultipletState&) {}
bool mergeRanges(const Spectrum&, MultipletState&, int, int) { return false; }
bool splitRange(const Spectrum&, MultipletState&, int, double) { return false; }
bool addRange(const Spectrum&, MultipletState&, double, double) { return false; }
bool deleteRange(MultipletState&, int) { return false; }
bool setMultiplicity(const Spectrum&, MultipletState&, int, const std::string&, std::vector<double>) {
    return false;
}
bool setProtonCount(MultipletState&, int, int) { return false; }
std::string solventName(std::string_view recorded) { return std::string(recorded); }
std::vector<double> solventLines(std::string_view) { return {}; }
int nominalFrequency(double sfMHz) { return static_cast<int>(sfMHz); }
std::string reportLine(const Spectrum&, const MultipletState&) { return {}; }
std::string reportLineHtml(const Spectrum&, const MultipletState&) { return {}; }

}  // namespace pelvaron::analysis
