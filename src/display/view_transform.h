// How a view shows a spectrum: the one conversion between data indices, the time scale t and the
// pixels of a view, used by the trace, the tools, the integrals, the J cursors, the baseline
// marks, the expansion windows and the printed page.
#pragma once

#include <string>

#include "display/view.h"
#include "document/spectrum.h"

namespace pelvaron::display {

/// A view of a spectrum `width` pixels wide showing t from `left` to `right` (t is 0 at the first
/// point and AQ past the last), magnified `zoom` times (AQ over the span shown, as
/// computeViewZoom gives it). Indices count doubles: the real part of complex point p is 2p.
/// Pixels are measured from the view's left edge; every division is in double precision.
class ViewTransform {
public:
    ViewTransform(const Spectrum& spectrum, double left, double right, double zoom, double width);

    /// The main window's `view` of `spectrum`, or that view drawn `width` wide (the printed page).
    [[nodiscard]] static ViewTransform mainView(const Spectrum& spectrum, const View& view);
    [[nodiscard]] static ViewTransform mainView(const Spectrum& spectrum, const View& view, double width);

    /// False when there is nothing to convert: no points, no acquisition time or no width.
    [[nodiscard]] bool valid() const { return n_ > 0.0 && aq_ > 0.0 && width_ > 0.0; }

    [[nodiscard]] double tAtPixel(double x) const { return x * aq_ / width_ / zoom_ + left_; }
    [[nodiscard]] double pixelOfT(double t) const { return (t - left_) * width_ * zoom_ / aq_; }
    [[nodiscard]] double indexOfT(double t) const { return n_ * t / aq_; }
    /// The fractional index under pixel x.
    [[nodiscard]] double indexAtPixel(double x) const { return indexOfT(tAtPixel(x)); }
    /// The pixel of index i, measured from the view's left edge at t = left.
    [[nodiscard]] double pixelOfIndex(double i) const { return (i / n_ - left_ / aq_) * width_ * zoom_; }
    /// Pixels per index; the trace steps by this from firstIndex().
    [[nodiscard]] double pixelsPerIndex() const { return width_ / n_ * zoom_; }
    /// The pixels a run of `indices` indices spans (an integral curve's steps).
    [[nodiscard]] double pixelsOfIndices(double indices) const { return indices * width_ * zoom_ / n_; }
    /// The index at the view's left edge, truncated toward zero (the trace's, the J cursors' and
    /// the expansion's origin).
    [[nodiscard]] int firstIndex() const;

    /// Indices of the first and last real part in view; both even.
    struct IndexRange {
        int i0 = 0;
        int i1 = 0;
    };
    [[nodiscard]] IndexRange indexRange() const;

private:
    double n_;
    double aq_;
    double left_;
    double right_;
    double zoom_;
    double width_;
};

/// The text of the status-bar read-out for the mouse at window pixel x of the main view.
[[nodiscard]] std::string readoutText(const Spectrum& s, const View& view, int x);

}  // namespace pelvaron::display
