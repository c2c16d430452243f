// The --steps list, run over a small FID that each input starts from afresh: the list's parsing,
// and the processing commands with whatever arguments the list gives them; then one movement of
// Interactive Apodization over whatever state they left, kept or cancelled.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "cli/steps.h"
#include "processing/interactive_apodization.h"
#include "support/fuzz_support.h"

namespace {

using namespace pelvaron;

/// 1024 complex points of two decaying lines, with the processing a procs file would record.
void loadFid(Document& doc) {
    fuzz::resetReaderState(doc);
    doc.window = WindowParams{};
    doc.transform = TransformState{};
    constexpr int kPoints = 1024;
    constexpr double kSw = 5000.0;
    static const std::vector<double> fid = [] {
        std::vector<double> v(2 * kPoints);
        for (int k = 0; k < kPoints; ++k) {
            const double t = k / kSw;
            const double decay = std::exp(-t * 8.0);
            const double a = 2.0 * std::numbers::pi * 400.0 * t, b = 2.0 * std::numbers::pi * -1250.0 * t;
            v[2 * k] = 1e6 * decay * (std::cos(a) + 0.5 * std::cos(b));
            v[2 * k + 1] = 1e6 * decay * (std::sin(a) + 0.5 * std::sin(b));
        }
        return v;
    }();
    std::copy(fid.begin(), fid.end(), doc.spectrum.specData.begin());
    doc.spectrum.acqPars.TD = doc.spectrum.nData = 2 * kPoints;
    doc.spectrum.acqPars.SW = kSw;
    doc.spectrum.acqPars.SF = 400.13;
    doc.spectrum.acqPars.aqMode = 3;
    doc.spectrum.acqPars.complexData = 1;
    doc.spectrum.acqPars.offsetHz = -kSw / 2;
    doc.spectrum.referenceSource = ReferenceSource::Acqus;
    doc.spectrum.recorded =
        RecordedProcessing{.present = true, .WDW = 1, .LB = 0.3, .SI = kPoints, .PHC0 = 12.0};
    setupDocument(doc);
}

}  // namespace

// Longer lists only repeat what shorter ones reach; a hundred transforms of 524288 points each
// would spend the time limit on work that is slow but not wrong.
constexpr std::ptrdiff_t kMaxSteps = 12;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view list = fuzz::asText(data, size);
    if (std::count(list.begin(), list.end(), ',') >= kMaxSteps) return -1;
    static fuzz::NullUserInterface ui;
    Document& doc = fuzz::fuzzDocument();
    loadFid(doc);
    std::string error;
    (void)cli::runSteps(doc, ui, list, error);

    // The function, position and ending follow from the input, so that the fuzzer steers them.
    unsigned hash = 0;
    for (const char c : list) hash = hash * 31u + static_cast<unsigned char>(c);
    processing::InteractiveApodizationDialog apodization(doc);
    apodization.open();
    apodization.chooseFunction(static_cast<int>(hash % processing::kApoFunctionCount));
    (void)apodization.scrollLb(processing::ScrollAction::Thumb, static_cast<int>(hash / 8 % 501) - 250);
    if (hash & 1u)
        apodization.ok();
    else
        apodization.cancel();
    return 0;
}
