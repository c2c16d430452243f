// The integral list: creating an integral from a dragged region, the relative values its labels
// show, the label hit test, deletion, and the listing of integrals made from regions in ppm.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::analysis {

/// Real parts averaged at each end of a region for its straight baseline.
inline constexpr int kBaselineWindowPoints = 5;

/// The data an integral covers: real parts first, first + 2, ... last of specData, and the
/// straight baseline from the mean of the first five to the mean of the last five real parts.
struct IntegralSpan {
    int first = 0;       ///< even index of the first real part summed
    int last = 0;        ///< even index of the last real part summed
    double left = 0.0;   ///< baseline at `first`
    double right = 0.0;  ///< baseline at `last`
    double slope = 0.0;  ///< baseline rise per complex point

    /// Narrower than one even step: nothing to sum.
    [[nodiscard]] bool empty() const { return last - first < 1; }
    /// The baseline under the m-th real part summed.
    [[nodiscard]] double baseline(int m) const { return left + m * slope; }
};

/// The span of a region whose ends are fractional complex-point indices `start` <= `end`:
/// both are truncated to points, lowered to even point numbers and doubled to indices, then
/// held inside the data.
[[nodiscard]] IntegralSpan integralSpan(const Spectrum& spectrum, double start, double end);

/// Why no integral was added.
enum class IntegralProblem {
    TooMany,  ///< the list holds 100 integrals already
    NoRegion  ///< the region is narrower than one even step, or its ends are not finite
};

/// Integrates the region of `spectrum` between the fractional complex-point indices `start` and
/// `end` (either order) into `integrals`: starts a new list first when `restart` is 1, refuses a
/// 101st integral, and adds the plain sum of the region's real parts, less the straight baseline
/// when `integralBaselineCorr` is 1.
Status<IntegralProblem> createIntegral(const Spectrum& spectrum, IntegralState& integrals, double start,
                                       double end, int restart);

/// The message of a refused integral: "Error" (caption "Too many integrals") for a 101st; none
/// for a region without points, which the mouse simply does not integrate.
[[nodiscard]] std::optional<Message> integralMessage(IntegralProblem problem);

/// createIntegral on the document, its message shown through `ui`; whether an integral was added.
bool createIntegralAt(Document& doc, platform::UserInterface& ui, double start, double end, int restart);

/// refIntegralValue x value[k] / value[reference]: integral k relative to `reference`; 0 when
/// that is not a number (a reference of value 0).
[[nodiscard]] double relativeIntegralValue(const Document& doc, int k, int reference);
/// The value integral k's label shows: relative to the reference integral.
[[nodiscard]] double displayedIntegralValue(const Document& doc, int k);
/// The label's text: the displayed value with "%.2lf".
[[nodiscard]] std::string integralLabelText(const Document& doc, int k);

/// Integral k becomes the reference; the one before is kept in prevRefIntegral.
void makeReferenceIntegral(Document& doc, int k);

/// Removes the reference integral; the reference returns to prevRefIntegral (not renumbered).
/// When the list becomes empty (or integralCount was 0) the list starts afresh: nothing shown,
/// the next integral restarts the list, reference 0 worth 1.0.
void deleteIntegral(Document& doc);

// --- The command-line listing.

/// A region in ppm, either end first.
struct PpmRegion {
    double from = 0.0;
    double to = 0.0;
};

/// What integrateRegions was asked.
struct IntegrateRequest {
    std::vector<PpmRegion> regions;
    bool baselineCorrection = false;
    int referenceIntegral = 1;    ///< K, counted from 1
    double referenceValue = 1.0;  ///< the value integral K shows
};

struct IntegrateResult {
    enum class Status { Ok, DataError, UsageError };
    Status status = Status::Ok;
    /// What was refused, in the program's words; set with every status but Ok.
    std::optional<Message> message;
    /// One line per integral: "N FROM TO RAW SHOWN", N from 1, FROM and TO the region's left
    /// and right ends in ppm ("%.4f"), RAW the plain sum ("%.10g"), SHOWN the label's value
    /// ("%.2f").
    std::vector<std::string> lines;
};

/// Makes a new integral list from the regions, whatever the view (each region is cut to the
/// data), with integral K as the reference shown as VALUE; the baseline correction option
/// becomes the request's. A region that holds no data, more than 100 regions or a K that names
/// no integral are refused, the result saying why.
[[nodiscard]] IntegrateResult integrateRegions(Document& doc, const IntegrateRequest& request);

}  // namespace pelvaron::analysis
