// The simulation dialogs' models.
#include "simulation/simulation_dialogs.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "base/format.h"
#include "base/legacy_constants.h"
#include "base/numeric.h"
#include "simulation/fit_session.h"
#include "simulation/spin_engine.h"
#include "simulation/synthesis.h"

namespace pelvaron::simulation {

namespace {

using platform::Icon;

constexpr const char* kFrequencyText = "The spectrometer frequency must be greater than 0 MHz";

double readDouble(std::string_view text) { return parseLeadingDouble(std::string(text)); }

/// The value behind an edit: the exact one while the edit still shows `shown`, else the typed.
double keptOrTyped(const std::string& typed, const std::string& shown, double exact, double factor = 1.0) {
    return typed == shown ? exact : readDouble(typed) * factor;
}

int readInt(std::string_view text) {
    const long v = parseLeadingInt(std::string(text));
    return static_cast<int>(std::clamp<long>(v, INT_MIN, INT_MAX));
}

/// A value as its list shows it: "%.2lf", or with the sigma a fit gave it.
std::string listValue(double value, double sigma) {
    return shownSigma(sigma) ? valueWithSigma(value, sigma) : cformat("%.2lf", value);
}

std::string shiftLine(int i, double value, double sigma = 0.0) {
    return cformat("%d= ", i + 1) + listValue(value, sigma);
}

std::string couplingLine(NucleusPair p, double value, double sigma = 0.0) {
    return cformat("%d,%d= ", p.i + 1, p.j + 1) + listValue(value, sigma);
}

/// The sigma of entry [i][j] of a table a fit may have left empty.
double sigmaAt(const std::vector<std::vector<double>>& table, int i, int j) {
    const auto ui = static_cast<std::size_t>(i), uj = static_cast<std::size_t>(j);
    return ui < table.size() && uj < table[ui].size() ? table[ui][uj] : 0.0;
}

double sigmaAt(const std::vector<double>& list, int i) {
    return static_cast<std::size_t>(i) < list.size() ? list[static_cast<std::size_t>(i)] : 0.0;
}

/// The copies hold n shifts and an n x n table, whatever the values typed into them.
bool copiesHold(const SimulationState& sim, int n) {
    const SpinSubsystem::Fault fault = SpinSubsystem::check(n, sim.editShifts, sim.editCouplings);
    return fault == SpinSubsystem::Fault::None || fault == SpinSubsystem::Fault::NotFinite;
}

double editCoupling(const SimulationState& sim, NucleusPair p) {
    return sim.editCouplings[static_cast<std::size_t>(p.i)][static_cast<std::size_t>(p.j)];
}

/// The couplings list; `sigmas` (empty when there are none) and `fitted` (the values they
/// belong to, or null for `j` itself) give the sigmas of the values a fit left.
std::vector<std::string> couplingLinesOf(const std::vector<std::vector<double>>& j, int n,
                                         const std::vector<std::vector<double>>& sigmas = {},
                                         const std::vector<std::vector<double>>* fitted = nullptr) {
    std::vector<std::string> lines;
    for (int index = 0; index < n * (n - 1) / 2; ++index) {
        const NucleusPair p = couplingIndexToPair(index, n);
        const double value = j[static_cast<std::size_t>(p.i)][static_cast<std::size_t>(p.j)];
        const bool asFitted =
            fitted == nullptr ||
            value == (*fitted)[static_cast<std::size_t>(p.i)][static_cast<std::size_t>(p.j)];
        lines.push_back(couplingLine(p, value, asFitted ? sigmaAt(sigmas, p.i, p.j) : 0.0));
    }
    return lines;
}

}  // namespace

NucleusPair couplingIndexToPair(int index, int n) {
    if (n < 2 || index < 0) return {-1, -1};
    for (int i = 0; i < n - 1; ++i) {
        const int row = n - 1 - i;  // pairs (i, i+1) ... (i, n-1)
        if (index < row) return {i, i + 1 + index};
        index -= row;
    }
    return {-1, -1};
}

int couplingPairToIndex(int i, int j, int n) {
    if (i > j) std::swap(i, j);
    if (i < 0 || j >= n || i == j) return -1;
    return i * (2 * n - i - 1) / 2 + (j - i - 1);
}

Rgb couplingLineColour(int smallerIndex) {
    static constexpr std::array<Rgb, 9> kPalette = {{{255, 0, 0},
                                                     {255, 160, 115},
                                                     {255, 255, 128},
                                                     {0, 255, 0},
                                                     {0, 255, 255},
                                                     {255, 0, 255},
                                                     {0, 0, 255},
                                                     {0, 0, 128},
                                                     {255, 255, 255}}};
    return kPalette[static_cast<std::size_t>(std::clamp(smallerIndex, 0, 8))];
}

bool beginNewSimulation(Document& doc, platform::UserInterface& ui) {
    SimulationState& sim = doc.sim;
    if (sim.simExists && ui.message(kClearSimulationText, "Warning", Icon::Question,
                                    platform::Buttons::YesNo) != platform::Answer::Yes)
        return false;
    releaseSimulation(sim);
    sim.compareMeasuredIsSpectrum = 0;
    sim.lastFit = {};
    sim.simFromHz = 0.0;
    sim.simToHz = 3000.0;
    sim.simSF = 300.0;
    sim.simPoints = 8192;
    return true;
}

void beginCompareSimulation(Document& doc) {
    SimulationState& sim = doc.sim;
    releaseSimulation(sim);
    sim.compareMeasuredIsSpectrum = holdsSpectrum(doc.spectrum) ? 1 : 0;
    sim.lastFit = {};
    const double hzPerIndex = doc.spectrum.acqPars.SW / doc.spectrum.nData;
    // The low end is the Hz one point past the data's last, nData, where the simulated axis puts
    // it too; TD, the size the file recorded, may differ from the data drawn.
    sim.simFromHz = (doc.spectrum.refIndex - doc.spectrum.nData) * hzPerIndex;
    sim.simToHz = doc.spectrum.refIndex * hzPerIndex;
    sim.simPoints = doc.spectrum.nData;
    sim.simSF = doc.spectrum.acqPars.SF;
}

bool completeSimulation(Document& doc, Messages& said) {
    SimulationState& sim = doc.sim;
    const double offset = doc.spectrum.acqPars.offsetHz;
    doc.spectrum.acqPars.offsetHz = sim.simFromHz;
    if (!recomputeSimulation(doc, said)) {
        doc.spectrum.acqPars.offsetHz = offset;
        return false;
    }
    doc.spectrum.acqPars.SF = sim.simSF;
    setupDocument(doc);
    doc.fidCopyCount = 0;  // a computed spectrum: there is no FID behind it to apodize
    const bool ppm = sim.simUnitsPpm != 0;
    doc.spectrum.xUnits = ppm ? kPpm : kHz;
    doc.spectrum.nData = sim.simPoints;
    sim.simExists = 1;
    sim.simNewSubsystem = 1;
    doc.notify(kAllDrawn);
    return true;
}

// ---------------------------------------------------------------------------------------------

std::string InputParametersDialog::countText() const { return cformat("%d", doc_.sim.nNucleiInput); }

int InputParametersDialog::ok(std::string_view typed) {
    const int count = readInt(typed.substr(0, 2));
    if (count < 0 || count > kMaxNuclei) return kRefused;
    doc_.sim.nNucleiInput = count;
    return kAccepted;
}

int InputParametersDialog::cancel() {
    doc_.sim.nNucleiInput = 0;
    return kCancelled;
}

// ---------------------------------------------------------------------------------------------

bool SimulationDataDialog::open() {
    SimulationState& sim = doc_.sim;
    if (!allocateSpinSubsystems(doc_, said)) return false;
    if (editing()) {
        const int s = sim.currentSubsystem;
        if (s < 0 || s > sim.lastSubsystem || s >= kMaxSubsystems) {
            said.push_back({kNoSubsystemText, "Error", MessageIcon::Stop});
            return false;
        }
        const SpinSubsystem& rec = sim.spinSubsystems[static_cast<std::size_t>(s)];
        if (const char* text = faultText(rec.fault())) {
            said.push_back({text, "Error", MessageIcon::Stop});
            return false;
        }
        sim.nNucleiInput = rec.nNuclei();
        sim.editShifts = rec.shifts();
        sim.editCouplings = rec.couplings();
        sim.editHeld = rec.fit.held;
    } else {
        if (sim.lastSubsystem < 0 || sim.lastSubsystem >= kMaxSubsystems) {
            said.push_back({kTooManySubsystemsText, "Error", MessageIcon::Stop});
            return false;
        }
        if (sim.nNucleiInput < 1 || sim.nNucleiInput > kMaxNuclei) {
            said.push_back({kNucleiCountText, "Error", MessageIcon::Stop});
            return false;
        }
        // The record itself is written when the page is stored.
        const auto n = static_cast<std::size_t>(sim.nNucleiInput);
        sim.editShifts.assign(n, 0.0);
        sim.editCouplings.assign(n, std::vector<double>(n, 0.0));
        sim.editHeld = {};
    }
    nuclei_ = sim.nNucleiInput;
    ppm_ = sim.simUnitsPpm != 0;
    shownSf_ = sim.simSF;
    // A ppm window shown to two decimals would move by up to 0.005 ppm on OK; four keep the
    // window of Compare on the measured one.
    const char* windowFormat = ppm_ ? "%.4lf" : "%.2lf";
    const double factor = ppm_ && sim.simSF > 0.0 ? sim.simSF : 1.0;
    shown_.threshold = cformat("%.4lf", sim.simThreshold);
    shown_.lineWidth = cformat("%.2lf", sim.simLineWidth);
    shown_.from = cformat(windowFormat, sim.simFromHz / factor);
    shown_.to = cformat(windowFormat, sim.simToHz / factor);
    shown_.sf = cformat("%.2lf", sim.simSF);
    shown_.points = cformat("%d", sim.simPoints);
    shown_.ppm = ppm_;
    exactFromHz_ = sim.simFromHz;
    exactToHz_ = sim.simToHz;
    return true;
}

bool SimulationDataDialog::canAddSubsystem() const { return doc_.sim.lastSubsystem + 1 < kMaxSubsystems; }

SimulationFields SimulationDataDialog::fields() const { return shown_; }

std::string SimulationDataDialog::unitLabel() const { return ppm_ ? "ppm" : "Hertz"; }

const SpinSubsystem* SimulationDataDialog::editedRecord() const {
    const SimulationState& sim = doc_.sim;
    const int s = sim.currentSubsystem;
    if (!editing() || s < 0 || s >= static_cast<int>(sim.spinSubsystems.size())) return nullptr;
    const SpinSubsystem& rec = sim.spinSubsystems[static_cast<std::size_t>(s)];
    return rec.nNuclei() == nuclei_ && nuclei_ > 0 ? &rec : nullptr;
}

std::vector<std::string> SimulationDataDialog::shiftLines() const {
    const SimulationState& sim = doc_.sim;
    std::vector<std::string> lines;
    const double factor = ppm_ && shownSf_ > 0.0 ? shownSf_ : 1.0;
    const SpinSubsystem* rec = editedRecord();
    for (int i = 0; i < nuclei_ && i < static_cast<int>(sim.editShifts.size()); ++i) {
        const double value = sim.editShifts[static_cast<std::size_t>(i)];
        // A sigma belongs to the fitted value, not to one typed since.
        const double sigma = rec != nullptr && value == rec->shifts()[static_cast<std::size_t>(i)]
                                 ? sigmaAt(rec->fit.sigmas.shifts, i)
                                 : 0.0;
        lines.push_back(shiftLine(i, value / factor, sigma / factor));
    }
    return lines;
}

std::vector<std::string> SimulationDataDialog::couplingLines() const {
    if (!copiesHold(doc_.sim, nuclei_)) return {};
    const SpinSubsystem* rec = editedRecord();
    if (rec == nullptr) return couplingLinesOf(doc_.sim.editCouplings, nuclei_);
    return couplingLinesOf(doc_.sim.editCouplings, nuclei_, rec->fit.sigmas.couplings, &rec->couplings());
}

std::string SimulationDataDialog::widthSigmaText() const {
    const double sigma = fitWidthSigma(doc_.sim);
    if (!shownSigma(sigma)) return {};
    const std::string both = valueWithSigma(doc_.sim.simLineWidth, sigma);
    return both.substr(both.find("± "));
}

bool SimulationDataDialog::shiftFree(int row) const { return !doc_.sim.editHeld.shift(row); }

void SimulationDataDialog::setShiftFree(int row, bool free) {
    if (row >= 0 && row < nuclei_) doc_.sim.editHeld.setShift(row, !free);
}

bool SimulationDataDialog::couplingFree(int row) const {
    const NucleusPair p = couplingIndexToPair(row, nuclei_);
    return !doc_.sim.editHeld.coupling(p.i, p.j);
}

void SimulationDataDialog::setCouplingFree(int row, bool free) {
    const NucleusPair p = couplingIndexToPair(row, nuclei_);
    if (p.i >= 0) doc_.sim.editHeld.setCoupling(p.i, p.j, !free);
}

bool SimulationDataDialog::widthFree() const { return !doc_.sim.editHeld.width; }

void SimulationDataDialog::setWidthFree(bool free) { doc_.sim.editHeld.width = !free; }

bool SimulationDataDialog::setUnits(bool ppm, SimulationFields& fields) {
    if (ppm == ppm_) return true;
    const double sf = readDouble(fields.sf);
    if (!(sf > 0.0)) return false;
    // The window in Hz as the edits show it now, exact where they still show what was shown.
    const double oldFactor = ppm_ ? sf : 1.0;
    const bool sameSf = !ppm_ || fields.sf == shown_.sf;
    auto hzOf = [&](const std::string& typed, const std::string& shown, double exact) {
        return sameSf && typed == shown ? exact : readDouble(typed) * oldFactor;
    };
    const double fromHz = hzOf(fields.from, shown_.from, exactFromHz_);
    const double toHz = hzOf(fields.to, shown_.to, exactToHz_);
    ppm_ = ppm;
    shownSf_ = sf;
    const char* format = ppm ? "%.4lf" : "%.2lf";
    const double factor = ppm ? sf : 1.0;
    fields.from = cformat(format, fromHz / factor);
    fields.to = cformat(format, toHz / factor);
    fields.ppm = ppm;
    shown_.from = fields.from;
    shown_.to = fields.to;
    shown_.sf = fields.sf;
    shown_.ppm = ppm;
    exactFromHz_ = fromHz;
    exactToHz_ = toHz;
    return true;
}

void SimulationDataDialog::layoutRing(int width, int height, int buttonWidth, int buttonHeight) {
    ring_.clear();
    buttonWidth_ = buttonWidth;
    buttonHeight_ = buttonHeight;
    if (nuclei_ < 1) return;
    constexpr double kPi = legacy::kShortPi;
    const int r = truncToInt(0.2 * height);
    const int step = 360 / nuclei_;
    for (int i = 0; i < nuclei_; ++i) {
        const double theta = i * step * kPi / 180.0;
        RingButton b;
        b.x = width / 2 + truncToInt(2.0 * r * std::sin(theta));
        b.y = height / 2 - truncToInt(r * std::cos(theta));
        b.anchorX = b.x + buttonWidth / 3;
        b.anchorY = b.y + buttonHeight / 2;
        ring_.push_back(b);
    }
}

int SimulationDataDialog::nucleusAt(int x, int y) const {
    for (std::size_t i = 0; i < ring_.size(); ++i) {
        const RingButton& b = ring_[i];
        if (x >= b.x && x < b.x + buttonWidth_ && y >= b.y && y < b.y + buttonHeight_)
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<RingLine> SimulationDataDialog::ringLines() const {
    std::vector<RingLine> lines;
    if (!copiesHold(doc_.sim, nuclei_)) return lines;
    for (int index = 0; index < nuclei_ * (nuclei_ - 1) / 2; ++index) {
        const NucleusPair p = couplingIndexToPair(index, nuclei_);
        if (editCoupling(doc_.sim, p) != 0.0) lines.push_back({p, couplingLineColour(p.i)});
    }
    return lines;
}

EditRequest SimulationDataDialog::clickNucleus(int i) {
    if (i < 0 || i >= nuclei_) return {};
    if (pendingNucleus_ < 0 || pendingNucleus_ == i) {
        pendingNucleus_ = i;
        return {};
    }
    const int first = pendingNucleus_;
    pendingNucleus_ = -1;
    return {EditRequest::kCoupling, std::min(first, i), std::max(first, i)};
}

EditRequest SimulationDataDialog::doubleClickNucleus(int i) {
    if (i < 0 || i >= nuclei_) return {};
    pendingNucleus_ = -1;
    return {EditRequest::kShift, i, -1};
}

EditRequest SimulationDataDialog::selectShiftLine(int row) {
    // A list line is an edit of its own: a click on the ring before it pairs with nothing after.
    pendingNucleus_ = -1;
    if (row < 0 || row >= nuclei_) return {};
    return {EditRequest::kShift, row, -1};
}

EditRequest SimulationDataDialog::selectCouplingLine(int row) {
    pendingNucleus_ = -1;
    const NucleusPair p = couplingIndexToPair(row, nuclei_);
    if (p.i < 0) return {};
    return {EditRequest::kCoupling, p.i, p.j};
}

bool SimulationDataDialog::readParameters(const SimulationFields& typed) {
    SimulationState& sim = doc_.sim;
    const double sf = keptOrTyped(typed.sf, shown_.sf, sim.simSF);
    if (!(sf > 0.0) || !std::isfinite(sf)) {
        said.push_back({kFrequencyText, "Error", MessageIcon::Stop});
        return false;
    }
    const bool ppm = typed.ppm;
    const double factor = ppm ? sf : 1.0;
    // A ppm window follows a changed frequency: the exact Hz stand only with the frequency shown.
    const bool sameUnits = ppm == shown_.ppm && (!ppm || typed.sf == shown_.sf);
    const double fromHz = sameUnits ? keptOrTyped(typed.from, shown_.from, exactFromHz_, factor)
                                    : readDouble(typed.from) * factor;
    const double toHz =
        sameUnits ? keptOrTyped(typed.to, shown_.to, exactToHz_, factor) : readDouble(typed.to) * factor;
    const double width = keptOrTyped(typed.lineWidth, shown_.lineWidth, sim.simLineWidth);
    const double threshold = keptOrTyped(typed.threshold, shown_.threshold, sim.simThreshold);
    const int points = readInt(typed.points);
    if (!checkSynthesisParams({width, fromHz, toHz, threshold, points}, said)) return false;
    sim.simSF = sf;
    sim.simUnitsPpm = ppm ? 1 : 0;
    sim.simFromHz = fromHz;
    sim.simToHz = toHz;
    sim.simLineWidth = width;
    sim.simThreshold = threshold;
    sim.simPoints = points;
    return true;
}

bool SimulationDataDialog::storeSubsystem(double widthBefore) {
    SimulationState& sim = doc_.sim;
    const int target = editing() ? sim.currentSubsystem : sim.lastSubsystem;
    const bool existed = target >= 0 && target < static_cast<int>(sim.spinSubsystems.size());
    const SpinSubsystem before =
        existed ? sim.spinSubsystems[static_cast<std::size_t>(target)] : SpinSubsystem{};
    if (!storeSubsystemParams(doc_, said)) return false;
    SpinSubsystem& rec = sim.spinSubsystems[static_cast<std::size_t>(target)];
    const bool unchanged = editing() && rec.shifts() == before.shifts() &&
                           rec.couplings() == before.couplings() && sim.simLineWidth == widthBefore;
    if (editing() && rec.nNuclei() == before.nNuclei()) rec.fit = before.fit;
    if (!unchanged) clearFitSigmas(sim);
    rec.fit.held = sim.editHeld;
    return true;
}

int SimulationDataDialog::ok(const SimulationFields& typed) {
    const double widthBefore = doc_.sim.simLineWidth;
    if (!readParameters(typed) || !storeSubsystem(widthBefore)) return kKeepOpen;
    if (!completeSimulation(doc_, said)) return kKeepOpen;
    return kOk;
}

int SimulationDataDialog::cancel() {
    releaseSimulation(doc_.sim);
    doc_.sim.simExists = 1;
    return kCancelled;
}

int SimulationDataDialog::addSubsystem(const SimulationFields& typed) {
    if (!canAddSubsystem()) {
        said.push_back({kTooManySubsystemsText, "Error", MessageIcon::Stop});
        return kKeepOpen;
    }
    // What was typed on this page stands for the next one too.
    const double widthBefore = doc_.sim.simLineWidth;
    if (!readParameters(typed) || !storeSubsystem(widthBefore)) return kKeepOpen;
    doc_.sim.lastSubsystem += 1;
    doc_.sim.simNewSubsystem = 1;
    return kNewSubsystem;
}

// ---------------------------------------------------------------------------------------------

std::string ChemicalShiftDialog::nucleusText() const { return cformat("%d", nucleus_ + 1); }

std::string ChemicalShiftDialog::valueText() const {
    const auto& shifts = doc_.sim.editShifts;
    if (nucleus_ < 0 || nucleus_ >= static_cast<int>(shifts.size())) return {};
    const double v = shifts[static_cast<std::size_t>(nucleus_)];
    return cformat("%.2lf", ppmSf_ > 0.0 ? v / ppmSf_ : v);
}

void ChemicalShiftDialog::ok(std::string_view typed) {
    auto& shifts = doc_.sim.editShifts;
    if (nucleus_ < 0 || nucleus_ >= static_cast<int>(shifts.size())) return;
    if (typed == valueText()) return;
    shifts[static_cast<std::size_t>(nucleus_)] = readDouble(typed) * (ppmSf_ > 0.0 ? ppmSf_ : 1.0);
}

std::string CouplingConstantDialog::pairText() const { return cformat("%d,%d", pair_.i + 1, pair_.j + 1); }

std::string CouplingConstantDialog::valueText() const {
    const SimulationState& sim = doc_.sim;
    const int n = static_cast<int>(sim.editShifts.size());
    if (couplingPairToIndex(pair_.i, pair_.j, n) < 0 || !copiesHold(sim, n)) return {};
    return cformat("%.2lf", editCoupling(sim, pair_));
}

void CouplingConstantDialog::ok(std::string_view typed) {
    SimulationState& sim = doc_.sim;
    const int n = static_cast<int>(sim.editShifts.size());
    if (couplingPairToIndex(pair_.i, pair_.j, n) < 0 || !copiesHold(sim, n)) return;
    if (typed == valueText()) return;
    const double j = readDouble(typed);
    sim.editCouplings[static_cast<std::size_t>(pair_.i)][static_cast<std::size_t>(pair_.j)] = j;
    sim.editCouplings[static_cast<std::size_t>(pair_.j)][static_cast<std::size_t>(pair_.i)] = j;
}

// ---------------------------------------------------------------------------------------------

namespace {

/// Subsystems the table holds records for, 0 when it does not exist.
int subsystemCount(const SimulationState& sim) {
    if (!sim.subsystemsAllocated) return 0;
    return std::clamp(sim.lastSubsystem + 1, 0, static_cast<int>(sim.spinSubsystems.size()));
}

}  // namespace

SelectSubsystemDialog::SelectSubsystemDialog(Document& doc) : doc_(doc), selected_(doc.sim.currentSubsystem) {
    // A choice left from a larger simulation would point past this one's subsystems.
    if (selected_ < 0 || selected_ >= subsystemCount(doc.sim)) selected_ = 0;
}

std::vector<std::string> SelectSubsystemDialog::lines() const {
    std::vector<std::string> lines;
    const SimulationState& sim = doc_.sim;
    for (int s = 0; s < subsystemCount(sim); ++s)
        lines.push_back(cformat("%d-> No. of Nuclei: %d", s + 1,
                                sim.spinSubsystems[static_cast<std::size_t>(s)].nNuclei()));
    return lines;
}

std::string SelectSubsystemDialog::currentText() const { return cformat("%d", selected_ + 1); }

void SelectSubsystemDialog::select(int row) {
    if (row >= 0 && row < subsystemCount(doc_.sim)) selected_ = row;
}

bool SelectSubsystemDialog::ok() {
    if (subsystemCount(doc_.sim) == 0) return false;
    doc_.sim.currentSubsystem = selected_;
    return true;
}

// ---------------------------------------------------------------------------------------------

void ImmediateTuning::recompute(Recompute what, Messages& said) {
    if (what == Recompute::WidthOnly)
        (void)resynthesizeSimulation(doc_, said);
    else
        (void)recomputeSimulation(doc_, said);
}

void InteractiveSimDialog::open() {
    SimulationState& sim = doc_.sim;
    sim.simInteractive = 1;
    subsystem_ = sim.currentSubsystem;
    nuclei_ = 0;
    if (subsystem_ < 0 || subsystem_ >= subsystemCount(sim)) return;
    const SpinSubsystem& rec = sim.spinSubsystems[static_cast<std::size_t>(subsystem_)];
    nuclei_ = rec.nNuclei();
    if (nuclei_ == 0) return;
    sim.nNucleiInput = nuclei_;
    sim.editShifts = rec.shifts();
    sim.editCouplings = rec.couplings();
}

void InteractiveSimDialog::close() { doc_.sim.simInteractive = 0; }

bool InteractiveSimDialog::subsystemPresent() const {
    const SimulationState& sim = doc_.sim;
    if (nuclei_ < 1 || subsystem_ < 0 || subsystem_ >= subsystemCount(sim)) return false;
    // A record that holds nuclei is a whole spin system: its count says it is the one tuned.
    return sim.spinSubsystems[static_cast<std::size_t>(subsystem_)].nNuclei() == nuclei_;
}

std::vector<std::string> InteractiveSimDialog::shiftLines() const {
    std::vector<std::string> lines;
    if (!subsystemPresent()) return lines;
    const SpinSubsystem& rec = doc_.sim.spinSubsystems[static_cast<std::size_t>(subsystem_)];
    for (int i = 0; i < nuclei_; ++i)
        lines.push_back(
            shiftLine(i, rec.shifts()[static_cast<std::size_t>(i)], sigmaAt(rec.fit.sigmas.shifts, i)));
    return lines;
}

std::vector<std::string> InteractiveSimDialog::couplingLines() const {
    if (!subsystemPresent()) return {};
    const SpinSubsystem& rec = doc_.sim.spinSubsystems[static_cast<std::size_t>(subsystem_)];
    return couplingLinesOf(rec.couplings(), nuclei_, rec.fit.sigmas.couplings);
}

std::string InteractiveSimDialog::widthLine() const {
    return listValue(doc_.sim.simLineWidth, fitWidthSigma(doc_.sim));
}

std::string InteractiveSimDialog::parameterLabel() const {
    switch (selected_) {
        case Selected::Shift: return cformat("Shift Nuc. %d", row_ + 1);
        case Selected::Coupling: {
            const NucleusPair p = couplingIndexToPair(row_, nuclei_);
            return cformat("J (%d,%d)", p.i + 1, p.j + 1);
        }
        case Selected::Width: return "Width";
        case Selected::None: break;
    }
    return "Sel. Param.";
}

std::string InteractiveSimDialog::parameterText() const {
    if (selected_ == Selected::None) return {};
    if (selected_ != Selected::Width && !subsystemPresent()) return {};
    return cformat("%.2lf", selectedValue());
}

void InteractiveSimDialog::selectShift(int row) {
    if (row < 0 || row >= nuclei_) return;
    selected_ = Selected::Shift;
    row_ = row;
}

void InteractiveSimDialog::selectCoupling(int row) {
    if (couplingIndexToPair(row, nuclei_).i < 0) return;
    selected_ = Selected::Coupling;
    row_ = row;
}

void InteractiveSimDialog::selectWidth() {
    selected_ = Selected::Width;
    row_ = 0;
}

double InteractiveSimDialog::selectedValue() const {
    const SimulationState& sim = doc_.sim;
    if (selected_ == Selected::Width) return sim.simLineWidth;
    const SpinSubsystem& rec = sim.spinSubsystems[static_cast<std::size_t>(subsystem_)];
    if (selected_ == Selected::Shift) return rec.shifts()[static_cast<std::size_t>(row_)];
    const NucleusPair p = couplingIndexToPair(row_, nuclei_);
    return rec.couplings()[static_cast<std::size_t>(p.i)][static_cast<std::size_t>(p.j)];
}

bool InteractiveSimDialog::change(double value) {
    SimulationState& sim = doc_.sim;
    // A load, New or Compare may have released what this dialog tunes: nothing is written then,
    // least of all a simulation over the data that replaced it.
    if (selected_ == Selected::None || !subsystemPresent() || !std::isfinite(value)) return false;
    sim.simInteractive = 1;
    clearFitSigmas(sim);
    if (selected_ == Selected::Width) {
        if (value < kMinTuningWidth) {
            value = kMinTuningWidth;
            said.push_back({kLineWidthClampText, "Warning", MessageIcon::Exclamation});
        }
        sim.simLineWidth = value;
        runner_.recompute(Recompute::WidthOnly, said);
        return true;
    }
    SpinSubsystem& rec = sim.spinSubsystems[static_cast<std::size_t>(subsystem_)];
    const bool copies = copiesHold(sim, nuclei_);
    if (selected_ == Selected::Shift) {
        (void)rec.setShift(row_, value);
        if (copies) sim.editShifts[static_cast<std::size_t>(row_)] = value;
    } else {
        const NucleusPair p = couplingIndexToPair(row_, nuclei_);
        (void)rec.setCoupling(p.i, p.j, value);
        const auto i = static_cast<std::size_t>(p.i);
        const auto j = static_cast<std::size_t>(p.j);
        if (copies) sim.editCouplings[i][j] = sim.editCouplings[j][i] = value;
    }
    runner_.recompute(Recompute::Full, said);
    return true;
}

bool InteractiveSimDialog::inc(std::string_view increment) {
    if (selected_ == Selected::None || !subsystemPresent()) return false;
    return change(selectedValue() + readDouble(increment));
}

bool InteractiveSimDialog::dec(std::string_view increment) {
    if (selected_ == Selected::None || !subsystemPresent()) return false;
    return change(selectedValue() - readDouble(increment));
}

bool InteractiveSimDialog::apply(std::string_view value) { return change(readDouble(value)); }

}  // namespace pelvaron::simulation
