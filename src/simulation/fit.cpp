// Total-lineshape fitting: the engine's exact transitions as Lorentzian lines evaluated at the
// measured points, Levenberg-Marquardt over the free parameters, broadened stages first.
#include "simulation/fit.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <new>
#include <numbers>

#include "simulation/helper_thread.h"
#include "simulation/spin_engine.h"
#include "simulation/vector_clones.h"

namespace pelvaron::simulation {

namespace {

using Kind = FitParameterId::Kind;
using Table = std::vector<std::vector<double>>;  // [region][point]

/// Lines below this intensity add nothing the fit could see.
constexpr double kWeakLine = 1e-9;
/// Hz by which a shift or a coupling moves for its derivative (forward difference): far below
/// any line width, far above the engine's rounding.
constexpr double kStep = 1e-4;

/// The lines of one subsystem, and the shifts and couplings they were computed from.
struct Lines {
    std::vector<double> freq, intens;
    std::vector<double> shifts;
    std::vector<std::vector<double>> couplings;
    [[nodiscard]] bool of(const FitSubsystem& s) const {
        return shifts == s.shifts && couplings == s.couplings;
    }
};

bool linesOf(const FitSubsystem& s, Lines& out) {
    Messages said;
    SpinSubsystem system;
    Transitions tr;
    if (!makeSubsystem(static_cast<int>(s.shifts.size()), s.shifts, s.couplings, system, said) ||
        !computeTransitions(system, tr, said) || !said.empty())
        return false;
    out.freq.clear();
    out.intens.clear();
    for (int t = 1; t <= tr.count(); ++t) {
        if (!(tr.intens[t] > kWeakLine)) continue;
        out.freq.push_back(tr.freq[t]);
        out.intens.push_back(tr.intens[t]);
    }
    out.shifts = s.shifts;
    out.couplings = s.couplings;
    return true;
}

/// values[k] += a w / (q + (hz[k] - f)^2), k < n: one line of full width w (q = w^2 / 4).
PELVARON_VECTOR_CLONES void addLine(double a, double w, double q, double f, const double* __restrict hz,
                                    double* __restrict values, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) {
        const double d = hz[k] - f;
        values[k] += a * w / (q + d * d);
    }
}

/// values[k] += a (d^2 - q) / (q + d^2)^2 with d = hz[k] - f: the line's derivative by w.
PELVARON_VECTOR_CLONES void addLineSlope(double a, double q, double f, const double* __restrict hz,
                                         double* __restrict values, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) {
        const double d = hz[k] - f;
        const double d2 = d * d;
        const double den = q + d2;
        values[k] += a * (d2 - q) / (den * den);
    }
}

/// out[k] = scale (shape[k] - base[k]) / step, or scale shape[k] / step without a base: one
/// column of the Jacobian over one region.
PELVARON_VECTOR_CLONES void difference(const double* __restrict shape, const double* __restrict base,
                                       double scale, double step, double* __restrict out, std::size_t n) {
    if (base == nullptr) {
        for (std::size_t k = 0; k < n; ++k) out[k] = scale * shape[k] / step;
    } else {
        for (std::size_t k = 0; k < n; ++k) out[k] = scale * (shape[k] - base[k]) / step;
    }
}

/// The lines on each region's points at full width w (Hz), each integrating to its intensity;
/// with `derivative`, their derivative with respect to w instead.
void shapeOf(const Lines& lines, double w, const std::vector<FitRegion>& regions, Table& out,
             bool derivative = false) {
    out.resize(regions.size());
    const double q = w * w / 4.0;
    for (std::size_t r = 0; r < regions.size(); ++r) {
        const auto& hz = regions[r].hz;
        auto& values = out[r];
        values.assign(hz.size(), 0.0);
        for (std::size_t t = 0; t < lines.freq.size(); ++t) {
            const double a = lines.intens[t] / (2.0 * std::numbers::pi);
            if (derivative)
                addLineSlope(a, q, lines.freq[t], hz.data(), values.data(), hz.size());
            else
                addLine(a, w, q, lines.freq[t], hz.data(), values.data(), hz.size());
        }
    }
}

/// The spectrum of every subsystem on the regions' points, kept per subsystem so that a
/// derivative recomputes one subsystem only.
struct Model {
    std::vector<Table> shapes;  // [subsystem]
    std::vector<Lines> lines;
    std::vector<double> widths;  // the full widths the shapes have, broadening included

    /// The model of p; a subsystem whose shifts and couplings `known` (when given) has computed
    /// already takes its lines from there, and its shape too when the width is the same.
    bool compute(const FitParameters& p, const std::vector<FitRegion>& regions, double broadening,
                 const Model* known = nullptr) {
        shapes.resize(p.subsystems.size());
        lines.resize(p.subsystems.size());
        widths.resize(p.subsystems.size());
        for (std::size_t s = 0; s < p.subsystems.size(); ++s) {
            const FitSubsystem& sub = p.subsystems[s];
            const double w = sub.lineWidth + broadening;
            const bool reusable = known != nullptr && s < known->lines.size() && known->lines[s].of(sub);
            if (reusable && known != this) lines[s] = known->lines[s];
            if (!reusable && !linesOf(sub, lines[s])) return false;
            if (reusable && known->widths[s] == w) {
                if (known != this) shapes[s] = known->shapes[s];
            } else {
                shapeOf(lines[s], w, regions, shapes[s]);
            }
            widths[s] = w;
        }
        return true;
    }
    /// Sum over the subsystems on region r, point k.
    [[nodiscard]] double lines_at(std::size_t r, std::size_t k) const {
        double sum = 0.0;
        for (const Table& t : shapes) sum += t[r][k];
        return sum;
    }
};

/// model - measured, region after region; returns the sum of squares.
double residuals(const Model& m, const FitParameters& p, const Table& measured, std::vector<double>& out) {
    out.clear();
    double cost = 0.0;
    for (std::size_t r = 0; r < measured.size(); ++r)
        for (std::size_t k = 0; k < measured[r].size(); ++k) {
            const double e = p.scale[r] * m.lines_at(r, k) + p.offset[r] - measured[r][k];
            out.push_back(e);
            cost += e * e;
        }
    return cost;
}

/// sum[k] += kernel v and weight[k] += kernel, kernel = 1 / (q + (x - hz[k])^2), for k < n.
PELVARON_VECTOR_CLONES void spreadPoint(double x, double v, double q, const double* __restrict hz,
                                        double* __restrict sum, double* __restrict weight, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) {
        const double d = x - hz[k];
        const double kernel = 1.0 / (q + d * d);
        sum[k] += kernel * v;
        weight[k] += kernel;
    }
}

/// The measured values convolved with a Lorentzian of full width b (Hz), normalised over the
/// points of the region so that the offset stays what it was. A Lorentzian convolved with a
/// Lorentzian is one with the widths added, so model and data broaden alike.
Table broadened(const std::vector<FitRegion>& regions, double b) {
    Table out;
    for (const FitRegion& region : regions) {
        if (b <= 0.0) {
            out.push_back(region.values);
            continue;
        }
        const std::size_t n = region.hz.size();
        // Point u's contribution to every point k at once; each sum still adds over u in order.
        std::vector<double> sum(n, 0.0), weight(n, 0.0);
        for (std::size_t u = 0; u < n; ++u)
            spreadPoint(region.hz[u], region.values[u], b * b / 4.0, region.hz.data(), sum.data(),
                        weight.data(), n);
        for (std::size_t k = 0; k < n; ++k) sum[k] /= weight[k];
        out.push_back(std::move(sum));
    }
    return out;
}

/// Solves (a) x = b for symmetric positive definite a (n x n, row-major) by Cholesky; false when
/// a is not positive definite.
bool choleskySolve(std::vector<double> a, int n, std::vector<double>& x) {
    auto at = [&](int i, int j) -> double& { return a[static_cast<std::size_t>(i * n + j)]; };
    for (int j = 0; j < n; ++j) {
        double d = at(j, j);
        for (int k = 0; k < j; ++k) d -= at(j, k) * at(j, k);
        if (!(d > 0.0)) return false;
        at(j, j) = std::sqrt(d);
        for (int i = j + 1; i < n; ++i) {
            double s = at(i, j);
            for (int k = 0; k < j; ++k) s -= at(i, k) * at(j, k);
            at(i, j) = s / at(j, j);
        }
    }
    for (int i = 0; i < n; ++i) {
        double s = x[static_cast<std::size_t>(i)];
        for (int k = 0; k < i; ++k) s -= at(i, k) * x[static_cast<std::size_t>(k)];
        x[static_cast<std::size_t>(i)] = s / at(i, i);
    }
    for (int i = n - 1; i >= 0; --i) {
        double s = x[static_cast<std::size_t>(i)];
        for (int k = i + 1; k < n; ++k) s -= at(k, i) * x[static_cast<std::size_t>(k)];
        x[static_cast<std::size_t>(i)] = s / at(i, i);
    }
    return true;
}

/// The derivatives of one stage of broadening.
class Stage {
public:
    Stage(const std::vector<FitRegion>& regions, const std::vector<FitParameterId>& free, double broadening,
          HelperThread& helper)
        : regions_(regions), free_(free), b_(broadening), helper_(helper) {}

    /// The Jacobian (column per free parameter, row per point) at p, whose model is `m`. The
    /// columns are independent: two threads share them out, each column computed alike whichever
    /// thread takes it.
    bool jacobian(const FitParameters& p, const Model& m, std::vector<std::vector<double>>& columns,
                  const std::atomic<bool>* cancel) const {
        columns.assign(free_.size(), {});
        std::atomic<std::size_t> next{0};
        std::atomic<bool> failed{false};
        auto work = [&] {
            try {
                Table shape;
                for (std::size_t c = next.fetch_add(1); c < free_.size() && !failed; c = next.fetch_add(1)) {
                    if ((cancel != nullptr && cancel->load()) || !column(p, m, free_[c], shape, columns[c]))
                        failed = true;
                }
            } catch (const std::bad_alloc&) {
                failed = true;
            }
        };
        // Shifts and couplings each compute the spin system and its lines on every point again; a
        // second thread is worth starting from some hundred thousand line evaluations on.
        constexpr double kThreadWorth = 2e5;
        double evaluations = 0.0;
        for (const FitParameterId& id : free_)
            if (id.kind == Kind::Shift || id.kind == Kind::Coupling)
                evaluations +=
                    static_cast<double>(m.lines[static_cast<std::size_t>(id.subsystem)].freq.size()) *
                    static_cast<double>(pointCount());
        if (evaluations < kThreadWorth) {
            work();
        } else {
            helper_.run([&](int) { work(); });
        }
        return !failed;
    }

    /// One column of the Jacobian; `shape` is working storage.
    bool column(const FitParameters& p, const Model& m, const FitParameterId& id, Table& shape,
                std::vector<double>& col) const {
        col.reserve(pointCount());
        if (id.kind == Kind::Scale || id.kind == Kind::Offset) {
            for (std::size_t r = 0; r < regions_.size(); ++r)
                for (std::size_t k = 0; k < regions_[r].hz.size(); ++k)
                    col.push_back(static_cast<int>(r) != id.subsystem ? 0.0
                                  : id.kind == Kind::Scale            ? m.lines_at(r, k)
                                                                      : 1.0);
            return true;
        }
        const auto s = static_cast<std::size_t>(id.subsystem);
        double step = 1.0;
        if (id.kind == Kind::Width) {
            shapeOf(m.lines[s], p.subsystems[s].lineWidth + b_, regions_, shape, true);
        } else {
            FitSubsystem moved = p.subsystems[s];
            const auto i = static_cast<std::size_t>(id.i), j = static_cast<std::size_t>(id.j);
            if (id.kind == Kind::Shift) {
                moved.shifts[i] += kStep;
            } else {
                moved.couplings[i][j] += kStep;
                moved.couplings[j][i] += kStep;
            }
            Lines lines;
            if (!linesOf(moved, lines)) return false;
            shapeOf(lines, p.subsystems[s].lineWidth + b_, regions_, shape);
            step = kStep;
        }
        col.resize(pointCount());
        double* out = col.data();
        for (std::size_t r = 0; r < regions_.size(); ++r) {
            const std::size_t n = shape[r].size();
            const double* base = id.kind == Kind::Width ? nullptr : m.shapes[s][r].data();
            difference(shape[r].data(), base, p.scale[r], step, out, n);
            out += n;
        }
        return true;
    }

    [[nodiscard]] std::size_t pointCount() const {
        std::size_t n = 0;
        for (const auto& r : regions_) n += r.hz.size();
        return n;
    }

private:
    const std::vector<FitRegion>& regions_;
    const std::vector<FitParameterId>& free_;
    double b_;
    HelperThread& helper_;
};

/// J^T J (row-major) and J^T r.
void normalEquations(const std::vector<std::vector<double>>& columns, const std::vector<double>& res,
                     std::vector<double>& a, std::vector<double>& g) {
    const std::size_t n = columns.size();
    a.assign(n * n, 0.0);
    g.assign(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t k = 0; k < res.size(); ++k) g[i] += columns[i][k] * res[k];
        for (std::size_t j = 0; j <= i; ++j) {
            double s = 0.0;
            for (std::size_t k = 0; k < res.size(); ++k) s += columns[i][k] * columns[j][k];
            a[i * n + j] = a[j * n + i] = s;
        }
    }
}

bool widthsPositive(const FitParameters& p) {
    return std::all_of(p.subsystems.begin(), p.subsystems.end(),
                       [](const FitSubsystem& s) { return s.lineWidth > 0.0 && std::isfinite(s.lineWidth); });
}

/// Scale and offset of each region by linear least squares against the model's lines.
void estimateScales(FitParameters& p, const Model& m, const std::vector<FitRegion>& regions,
                    bool offsetFree) {
    p.scale.assign(regions.size(), 1.0);
    if (p.offset.size() != regions.size()) p.offset.assign(regions.size(), 0.0);
    for (std::size_t r = 0; r < regions.size(); ++r) {
        double sx = 0, sy = 0, sxx = 0, sxy = 0;
        const auto n = static_cast<double>(regions[r].hz.size());
        for (std::size_t k = 0; k < regions[r].hz.size(); ++k) {
            const double x = m.lines_at(r, k), y = regions[r].values[k];
            sx += x, sy += y, sxx += x * x, sxy += x * y;
        }
        if (offsetFree) {
            const double den = n * sxx - sx * sx;
            if (den > 0.0) {
                p.scale[r] = (n * sxy - sx * sy) / den;
                p.offset[r] = (sy - p.scale[r] * sx) / n;
            }
        } else if (sxx > 0.0) {
            p.scale[r] = (sxy - p.offset[r] * sx) / sxx;
        }
        // Lines upside down fit nothing: start from the tallest measured value instead.
        if (!(p.scale[r] > 0.0)) {
            double top = 0.0, peak = 0.0;
            for (std::size_t k = 0; k < regions[r].hz.size(); ++k) {
                top = std::max(top, regions[r].values[k]);
                peak = std::max(peak, m.lines_at(r, k));
            }
            p.scale[r] = peak > 0.0 ? top / peak : 1.0;
        }
    }
}

}  // namespace

std::vector<FitParameterId> fitParameterIds(const FitParameters& p, int regions) {
    std::vector<FitParameterId> ids;
    for (int s = 0; s < static_cast<int>(p.subsystems.size()); ++s) {
        const FitSubsystem& sub = p.subsystems[static_cast<std::size_t>(s)];
        const int n = static_cast<int>(sub.shifts.size());
        for (int i = 0; i < n; ++i) ids.push_back({Kind::Shift, s, i, 0});
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j)
                if (sub.couplings[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] != 0.0)
                    ids.push_back({Kind::Coupling, s, i, j});
        ids.push_back({Kind::Width, s, 0, 0});
    }
    for (int r = 0; r < regions; ++r) {
        ids.push_back({Kind::Scale, r, 0, 0});
        ids.push_back({Kind::Offset, r, 0, 0});
    }
    return ids;
}

double& parameterValue(FitParameters& p, const FitParameterId& id) {
    const auto s = static_cast<std::size_t>(id.subsystem);
    switch (id.kind) {
        case Kind::Shift: return p.subsystems[s].shifts[static_cast<std::size_t>(id.i)];
        case Kind::Coupling:
            return p.subsystems[s].couplings[static_cast<std::size_t>(id.i)][static_cast<std::size_t>(id.j)];
        case Kind::Width: return p.subsystems[s].lineWidth;
        case Kind::Scale: return p.scale[s];
        case Kind::Offset: break;
    }
    return p.offset[s];
}

double parameterValue(const FitParameters& p, const FitParameterId& id) {
    return parameterValue(const_cast<FitParameters&>(p), id);
}

bool fitModelValues(const FitParameters& p, const std::vector<FitRegion>& regions, Table& out) {
    Model m;
    if (p.scale.size() != regions.size() || p.offset.size() != regions.size() || !m.compute(p, regions, 0.0))
        return false;
    out.assign(regions.size(), {});
    for (std::size_t r = 0; r < regions.size(); ++r)
        for (std::size_t k = 0; k < regions[r].hz.size(); ++k)
            out[r].push_back(p.scale[r] * m.lines_at(r, k) + p.offset[r]);
    return true;
}

FitResult fitSpinSystem(const FitParameters& start, const std::vector<FitRegion>& regions,
                        const std::vector<FitParameterId>& fixed, const FitSettings& settings) {
    FitResult result;
    result.fitted = start;
    auto refuse = [&](const char* text) {
        result.status = FitResult::Status::Refused;
        result.message = text;
        return result;
    };
    const int regionCount = static_cast<int>(regions.size());
    std::size_t points = 0;
    for (const FitRegion& r : regions) {
        if (r.hz.empty() || r.hz.size() != r.values.size()) return refuse(kFitNoRegionText);
        for (std::size_t k = 0; k < r.hz.size(); ++k)
            if (!std::isfinite(r.hz[k]) || !std::isfinite(r.values[k])) return refuse(kFitNotFiniteText);
        points += r.hz.size();
    }
    if (regions.empty()) return refuse(kFitNoRegionText);

    std::vector<FitParameterId> free;
    for (const FitParameterId& id : fitParameterIds(start, regionCount))
        if (std::find(fixed.begin(), fixed.end(), id) == fixed.end()) free.push_back(id);
    if (free.size() >= points) return refuse(kFitTooManyText);

    FitParameters p = start;
    Model model;
    if (!widthsPositive(p) || !model.compute(p, regions, 0.0)) return refuse(kFitEngineText);
    if (p.scale.size() != regions.size() || p.offset.size() != regions.size()) {
        const bool offsetFree =
            std::find(fixed.begin(), fixed.end(), FitParameterId{Kind::Offset, 0, 0, 0}) == fixed.end();
        estimateScales(p, model, regions, offsetFree);
    }

    // Kept for the whole fit, so that each Jacobian finds it waiting (with the spin engine's
    // storage on it kept).
    HelperThread helper;
    std::vector<double> stages = settings.broadening;
    stages.push_back(0.0);
    const std::size_t n = free.size();
    std::vector<double> res, a, g, trialRes;
    std::vector<std::vector<double>> columns;
    bool converged = false;
    double cost = 0.0;
    for (const double b : stages) {
        const Table measured = broadened(regions, b);
        const Stage stage(regions, free, b, helper);
        if (!model.compute(p, regions, b, &model)) return refuse(kFitEngineText);
        cost = residuals(model, p, measured, res);
        double lambda = 1e-3;
        converged = false;
        for (int it = 0; it < settings.maxIterations && !converged; ++it) {
            if (settings.cancel != nullptr && settings.cancel->load()) break;
            if (!stage.jacobian(p, model, columns, settings.cancel)) break;
            normalEquations(columns, res, a, g);
            ++result.iterations;
            for (;;) {
                std::vector<double> damped = a;
                // Marquardt's scaling: each parameter damped by its own curvature.
                for (std::size_t i = 0; i < n; ++i)
                    damped[i * n + i] += lambda * std::max(a[i * n + i], 1e-30);
                std::vector<double> delta(n);
                for (std::size_t i = 0; i < n; ++i) delta[i] = -g[i];
                FitParameters trial = p;
                bool usable = choleskySolve(damped, static_cast<int>(n), delta);
                Model trialModel;
                double trialCost = std::numeric_limits<double>::infinity();
                if (usable) {
                    for (std::size_t i = 0; i < n; ++i) {
                        parameterValue(trial, free[i]) += delta[i];
                        if (free[i].kind == Kind::Coupling) {
                            auto& c = trial.subsystems[static_cast<std::size_t>(free[i].subsystem)].couplings;
                            c[free[i].j][free[i].i] = c[free[i].i][free[i].j];
                        }
                    }
                    usable = widthsPositive(trial) && trialModel.compute(trial, regions, b, &model);
                    if (usable) trialCost = residuals(trialModel, trial, measured, trialRes);
                }
                if (usable && trialCost < cost) {
                    const double gain = cost - trialCost;
                    p = std::move(trial);
                    model = std::move(trialModel);
                    res.swap(trialRes);
                    cost = trialCost;
                    lambda = std::max(lambda / 10.0, 1e-12);
                    double largest = 0.0;
                    for (std::size_t i = 0; i < n; ++i)
                        largest = std::max(
                            largest, std::fabs(delta[i]) / (std::fabs(parameterValue(p, free[i])) + 1e-3));
                    converged = gain <= 1e-10 * cost || largest < 1e-9;
                    break;
                }
                lambda *= 10.0;
                // No step lowers the residual any more: a minimum within rounding.
                if (lambda > 1e12) {
                    converged = true;
                    break;
                }
            }
            if (settings.progress)
                settings.progress(result.iterations, std::sqrt(cost / static_cast<double>(points)));
        }
        if (settings.cancel != nullptr && settings.cancel->load()) {
            result.status = FitResult::Status::Cancelled;
            result.message = "cancelled";
            return result;
        }
    }
    if (!converged) {
        result.status = FitResult::Status::NotConverged;
        result.message =
            "the fit did not converge in " + std::to_string(settings.maxIterations) + " iterations";
        return result;
    }

    // Covariance at the optimum: (J^T J)^-1 scaled by the residual variance.
    const Stage last(regions, free, 0.0, helper);
    result.sigma = p;
    for (const FitParameterId& id : fitParameterIds(p, regionCount)) parameterValue(result.sigma, id) = 0.0;
    for (auto& s : result.sigma.subsystems)
        for (auto& row : s.couplings) std::fill(row.begin(), row.end(), 0.0);
    std::vector<std::vector<double>> finalColumns;
    if (last.jacobian(p, model, finalColumns, nullptr)) {
        normalEquations(finalColumns, res, a, g);
        const double variance = cost / static_cast<double>(points - n);
        for (std::size_t i = 0; i < n; ++i) {
            std::vector<double> unit(n, 0.0);
            unit[i] = 1.0;
            const double s = choleskySolve(a, static_cast<int>(n), unit)
                                 ? std::sqrt(unit[i] * variance)
                                 : std::numeric_limits<double>::quiet_NaN();
            parameterValue(result.sigma, free[i]) = s;
            if (free[i].kind == Kind::Coupling)
                result.sigma.subsystems[static_cast<std::size_t>(free[i].subsystem)]
                    .couplings[static_cast<std::size_t>(free[i].j)][static_cast<std::size_t>(free[i].i)] = s;
        }
    }
    double tallest = 0.0;
    for (const FitRegion& r : regions)
        for (const double v : r.values) tallest = std::max(tallest, std::fabs(v));
    result.relativeRms = tallest > 0.0 ? std::sqrt(cost / static_cast<double>(points)) / tallest : 0.0;
    result.fitted = std::move(p);
    result.status = FitResult::Status::Converged;
    return result;
}

}  // namespace pelvaron::simulation
