// The coupling tree fit: candidate trees are read off the lines by intensity units (the outer line of
// a first-order tree is one unit, every J is a distance from it), each is refined by least squares on
// the positions and judged by the heights a sum of Lorentzian lines of the multiplet's width shows.
#include "analysis/coupling_tree.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace pelvaron::analysis {
namespace {

// Every tolerance is a multiple of the multiplet's narrowest line width (or a ratio of heights), so
// the same fit holds at any field.
constexpr double kStray = 0.10;        // lines below this part of the tallest may stay unexplained
constexpr double kResolved = 0.5;      // × width: a smaller coupling (or difference of two) is unseen
constexpr double kPositionTol = 0.25;  // × width: a line's distance from the tree's
// ln(observed / tree height) after a common scale and a tilt: ±28 %. A first-order multiplet roofs
// as a tilt across the pattern (its partners lie to one side), which the tilt takes up; the inner
// lines of a strongly coupled AB stand taller on both sides, which no tilt explains: from about
// Δν/J < 4 that exceeds the tolerance and the lines are "m".
constexpr double kHeightTol = 0.25;
constexpr double kTiltMax = 0.3;  // ln of the height ratio from the centre to either end
constexpr int kMaxSpins = 8;      // 256 tree lines at most: bounded cost
constexpr int kMaxNamed = 6;      // sept

struct Line {
    double hz, height, width;
};
struct Group {
    int n;
    double J;
};
/// One line of a tree: pos = centre + sum over groups of coef[k] * J[k].
struct Stick {
    double pos = 0.0;
    double weight = 0.0;
    std::array<double, kMaxSpins> coef{};
};

double lorentz(double dx, double width) {
    const double u = 2.0 * dx / width;
    return 1.0 / (1.0 + u * u);
}

std::vector<Stick> treeSticks(const std::vector<Group>& groups, double centre) {
    std::vector<Stick> sticks(1);
    sticks[0].pos = centre;
    sticks[0].weight = 1.0;
    for (std::size_t k = 0; k < groups.size(); ++k) {
        const int n = groups[k].n;
        std::vector<Stick> next;
        next.reserve(sticks.size() * static_cast<std::size_t>(n + 1));
        double binomial = 1.0;
        for (int m = 0; m <= n; ++m) {
            const double offset = m - n / 2.0;
            for (Stick s : sticks) {
                s.pos += offset * groups[k].J;
                s.weight *= binomial;
                s.coef[k] = offset;
                next.push_back(s);
            }
            binomial = binomial * (n - m) / (m + 1);
        }
        sticks = std::move(next);
    }
    return sticks;
}

std::size_t nearestLine(const std::vector<Line>& lines, double hz) {
    const auto it =
        std::lower_bound(lines.begin(), lines.end(), hz, [](const Line& l, double v) { return l.hz < v; });
    std::size_t i = static_cast<std::size_t>(it - lines.begin());
    if (i == lines.size() || (i > 0 && hz - lines[i - 1].hz <= lines[i].hz - hz)) --i;
    return i;
}

/// Solves the small dense system a x = b in place (partial pivoting); false when singular.
bool solve(std::vector<std::vector<double>>& a, std::vector<double>& b) {
    const std::size_t n = b.size();
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t p = c;
        for (std::size_t r = c + 1; r < n; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[p][c])) p = r;
        if (std::fabs(a[p][c]) < 1e-12) return false;
        std::swap(a[p], a[c]);
        std::swap(b[p], b[c]);
        for (std::size_t r = c + 1; r < n; ++r) {
            const double f = a[r][c] / a[c][c];
            for (std::size_t k = c; k < n; ++k) a[r][k] -= f * a[c][k];
            b[r] -= f * b[c];
        }
    }
    for (std::size_t c = n; c-- > 0;) {
        for (std::size_t k = c + 1; k < n; ++k) b[c] -= a[c][k] * b[k];
        b[c] /= a[c][c];
    }
    return true;
}

class TreeFit {
public:
    TreeFit(std::vector<Line> lines, double width, double positionTol)
        : lines_(std::move(lines)), width_(width), positionTol_(positionTol) {
        for (const Line& l : lines_) tallest_ = std::max(tallest_, l.height);
    }

    struct Outcome {
        bool ok = false;
        double score = 1e300;
        int spins = 0;
        std::vector<Group> groups;
        double centre = 0.0;
        double rms = 0.0;
    };

    /// Proposes trees from the lines `subset` (indices into the lines, ascending) and keeps the best.
    void propose(const std::vector<std::size_t>& subset) {
        const std::size_t m = subset.size();
        if (m < 2) return;
        int minSpins = 1;
        while ((std::size_t{1} << minSpins) < m) ++minSpins;
        for (int spins = minSpins; spins <= std::min(minSpins + 3, kMaxSpins); ++spins)
            for (bool symmetric : {true, false}) {
                std::vector<int> units;
                if (!apportion(subset, spins, symmetric, units)) continue;
                std::vector<double> js;
                if (!splitOff(subset, units, spins, js)) continue;
                // The outer lines are single tree lines: the tree spans exactly from the first line
                // to the last. A middle line that hides several lines leaves the largest constant
                // read off too far; the span sets it.
                std::vector<Group> groups = groupsOf(js);
                double spanned = 0.0;
                for (const Group& gr : groups) spanned += gr.n * gr.J;
                groups[0].J += (lines_[subset.back()].hz - lines_[subset[0]].hz - spanned) / groups[0].n;
                judge(groups, lines_[subset[0]].hz);
            }
    }

    [[nodiscard]] const Outcome& best() const { return best_; }

private:
    /// A line's intensity: its height, times how much wider than the multiplet's lines it is (a
    /// line that hides several tree lines is wider than one).
    [[nodiscard]] double amount(const Line& l) const { return l.height * std::max(1.0, l.width / width_); }

    /// Whole units per line summing to 2^spins, at least one each: by largest remainder, or with
    /// mirror lines sharing theirs (a first-order pattern is symmetric) and the middle line taking
    /// the rest, which suits a middle line that hides several.
    bool apportion(const std::vector<std::size_t>& subset, int spins, bool symmetric,
                   std::vector<int>& units) const {
        const std::size_t m = subset.size();
        const int total = 1 << spins;
        if (static_cast<std::size_t>(total) < m) return false;
        double sum = 0.0;
        std::vector<double> a(m);
        for (std::size_t i = 0; i < m; ++i) sum += a[i] = amount(lines_[subset[i]]);
        const double unit = sum / total;
        units.assign(m, 1);
        std::vector<double> share(m);
        const std::size_t slots = symmetric ? m / 2 : m;
        for (std::size_t i = 0; i < slots; ++i) {
            share[i] = (symmetric ? (a[i] + a[m - 1 - i]) / 2.0 : a[i]) / unit;
            units[i] = std::max(1, static_cast<int>(std::lround(share[i])));
        }
        const int per = symmetric ? 2 : 1;
        const int middle = symmetric && m % 2 == 1 ? 1 : 0;
        auto used = [&] {
            int u = 0;
            for (std::size_t i = 0; i < slots; ++i) u += per * units[i];
            return u;
        };
        // Take from (or give to) the slots whose rounding erred most that way.
        while (used() + middle > total) {
            std::size_t pick = slots;
            for (std::size_t i = 0; i < slots; ++i)
                if (units[i] > 1 && (pick == slots || share[i] - units[i] < share[pick] - units[pick]))
                    pick = i;
            if (pick == slots) return false;
            --units[pick];
        }
        if (middle == 0)
            while (used() < total) {
                std::size_t pick = 0;
                for (std::size_t i = 1; i < slots; ++i)
                    if (share[i] - units[i] > share[pick] - units[pick]) pick = i;
                ++units[pick];
            }
        if (symmetric) {
            for (std::size_t i = 0; i < slots; ++i) units[m - 1 - i] = units[i];
            if (middle) units[m / 2] = total - used();
            if (used() + (middle ? units[m / 2] : 0) != total) return false;
        }
        return true;
    }

    /// The couplings, smallest first: each is the distance from the first line to the first unit
    /// the couplings found so far do not account for.
    bool splitOff(const std::vector<std::size_t>& subset, std::vector<int> units, int spins,
                  std::vector<double>& js) const {
        const double x0 = lines_[subset[0]].hz;
        --units[0];
        std::vector<double> sums{0.0};
        int misses = 0;
        while (static_cast<int>(js.size()) < spins) {
            std::size_t next = 0;
            while (next < subset.size() && units[next] == 0) ++next;
            if (next == subset.size()) return false;
            const double j = lines_[subset[next]].hz - x0;
            if (j < kResolved * width_) return false;
            js.push_back(j);
            const std::size_t count = sums.size();
            for (std::size_t s = 0; s < count; ++s) {
                const double target = x0 + sums[s] + j;
                sums.push_back(sums[s] + j);
                std::size_t found = subset.size();
                for (std::size_t i = 0; i < subset.size(); ++i) {
                    const Line& l = lines_[subset[i]];
                    const double d = std::fabs(l.hz - target);
                    if (units[i] > 0 && d <= std::max(l.width, width_) &&
                        (found == subset.size() || d < std::fabs(lines_[subset[found]].hz - target)))
                        found = i;
                }
                if (found == subset.size())
                    ++misses;
                else
                    --units[found];
            }
        }
        return misses <= (1 << spins) / 4;
    }

    /// Couplings closer than the lines can resolve form one group of equivalent nuclei.
    // A dd whose constants differ by less than the lines resolve is the "t" its three lines show, at the mean
    // J.
    [[nodiscard]] std::vector<Group> groupsOf(std::vector<double> js) const {
        std::sort(js.begin(), js.end(), std::greater<>());
        std::vector<Group> groups;
        double first = 0.0, sum = 0.0;
        for (double j : js) {
            if (!groups.empty() && first - j < kResolved * width_) {
                ++groups.back().n;
                sum += j;
                groups.back().J = sum / groups.back().n;
            } else {
                groups.push_back({1, j});
                first = sum = j;
            }
        }
        return groups;
    }

    /// Refines the tree that starts at line `first` on the positions (each tree line belongs to the nearest
    /// observed line) and scores it; keeps it when it explains the lines better than the best so far.
    void judge(std::vector<Group> groups, double first) {
        const std::size_t g = groups.size();
        double centre = first;
        for (const Group& gr : groups) centre += gr.n * gr.J / 2.0;
        std::vector<Stick> sticks;
        std::vector<std::size_t> owner, previous;
        for (int iteration = 0; iteration < 8; ++iteration) {
            sticks = treeSticks(groups, centre);
            owner.resize(sticks.size());
            for (std::size_t s = 0; s < sticks.size(); ++s) owner[s] = nearestLine(lines_, sticks[s].pos);
            if (owner == previous) break;
            previous = owner;
            // Normal equations of: observed line = weighted mean of its tree lines.
            std::vector<std::vector<double>> a(g + 1, std::vector<double>(g + 1, 0.0));
            std::vector<double> b(g + 1, 0.0);
            std::vector<std::array<double, kMaxSpins + 1>> rows(lines_.size());
            for (std::size_t s = 0; s < sticks.size(); ++s) {
                auto& row = rows[owner[s]];
                row[kMaxSpins] += sticks[s].weight;
                for (std::size_t k = 0; k < g; ++k) row[k] += sticks[s].weight * sticks[s].coef[k];
            }
            for (std::size_t i = 0; i < lines_.size(); ++i) {
                auto& row = rows[i];
                const double weight = row[kMaxSpins];
                if (weight == 0.0) continue;
                for (std::size_t k = 0; k < g; ++k) row[k] /= weight;
                row[g] = 1.0;  // the centre's column
                for (std::size_t r = 0; r <= g; ++r) {
                    for (std::size_t c = 0; c <= g; ++c) a[r][c] += row[r] * row[c];
                    b[r] += row[r] * lines_[i].hz;
                }
            }
            if (!solve(a, b)) return;
            for (std::size_t k = 0; k < g; ++k) {
                if (b[k] < kResolved * width_) return;
                groups[k].J = b[k];
            }
            centre = b[g];
        }
        for (std::size_t k = 1; k < g; ++k)
            if (groups[k - 1].J - groups[k].J < kResolved * width_) return;

        // Each line the tree covers: its distance from the tree lines it holds, which must lie
        // within its width (else they would show apart), and its height against the tree's.
        std::vector<double> x, logRatio;
        double worstPosition = 0.0, sumSquares = 0.0;
        struct Held {
            double weight = 0.0, mean = 0.0, low = 1e300, high = -1e300;
        };
        std::vector<Held> held(lines_.size());
        for (std::size_t s = 0; s < sticks.size(); ++s) {
            Held& h = held[owner[s]];
            h.weight += sticks[s].weight;
            h.mean += sticks[s].weight * sticks[s].pos;
            h.low = std::min(h.low, sticks[s].pos);
            h.high = std::max(h.high, sticks[s].pos);
        }
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const auto [weight, mean, low, high] = held[i];
            const Line& l = lines_[i];
            if (weight == 0.0) {
                if (l.height >= kStray * tallest_) return;
                continue;
            }
            if (high - low > std::max(l.width, width_)) return;
            const double miss = std::fabs(l.hz - mean / weight);
            worstPosition = std::max(worstPosition, miss);
            sumSquares += miss * miss;
            const double model = modelHeight(sticks, l.hz);
            // A line wider than the single tree line it stands for hides a split the tree lacks (two
            // constants the lines cannot tell apart): its height times the excess width stands for
            // its intensity. Where the tree itself puts spread lines, their heights already tell;
            // and a line with a neighbour within its width has no width of its own to tell (its
            // half-height runs into the neighbour).
            const bool single = high - low < 0.05 * width_;
            const double gap = std::min(i > 0 ? l.hz - lines_[i - 1].hz : 1e300,
                                        i + 1 < lines_.size() ? lines_[i + 1].hz - l.hz : 1e300);
            const double factor = single && l.width > width_ && gap > 1.5 * l.width
                                      ? std::max(1.0, l.width / modelWidth(sticks, l.hz, model))
                                      : 1.0;
            x.push_back(l.hz - centre);
            logRatio.push_back(std::log(l.height * factor / model));
        }
        // Scale and tilt by least squares over the covered lines.
        const double n = static_cast<double>(x.size());
        double halfSpan = 0.0;
        for (double v : x) halfSpan = std::max(halfSpan, std::fabs(v));
        double su = 0.0, sr = 0.0, suu = 0.0, sur = 0.0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            const double u = halfSpan > 0.0 ? x[i] / halfSpan : 0.0;
            su += u, sr += logRatio[i], suu += u * u, sur += u * logRatio[i];
        }
        const double det = n * suu - su * su;
        const double tilt = det > 1e-12 ? (n * sur - su * sr) / det : 0.0;
        const double level = (sr - tilt * su) / n;
        double worstHeight = 0.0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            const double u = halfSpan > 0.0 ? x[i] / halfSpan : 0.0;
            worstHeight = std::max(worstHeight, std::fabs(logRatio[i] - level - tilt * u));
        }
        const double score =
            std::max({worstPosition / positionTol_, worstHeight / kHeightTol, std::fabs(tilt) / kTiltMax});
        if (score > 1.0) return;
        int spins = 0;
        for (const Group& gr : groups) spins += gr.n;
        // A tree with fewer nuclei that explains the lines about as well is the one reported.
        constexpr double kMargin = 0.05;
        if (best_.ok &&
            !(score < best_.score - kMargin || (score < best_.score + kMargin && spins < best_.spins)))
            return;
        best_ = {true, score, spins, groups, centre, std::sqrt(sumSquares / n)};
    }

    [[nodiscard]] double modelHeight(const std::vector<Stick>& sticks, double hz) const {
        double h = 0.0;
        for (const Stick& s : sticks) h += s.weight * lorentz(hz - s.pos, width_);
        return h;
    }

    /// The tree's width at half height around `hz` (where it stands `top` high): each side walks
    /// out by an eighth of the line width until below half or until the curve rises again.
    [[nodiscard]] double modelWidth(const std::vector<Stick>& sticks, double hz, double top) const {
        const double step = width_ / 8.0;
        double total = 0.0;
        for (double dir : {-1.0, 1.0}) {
            double prev = top, x = hz;
            for (int k = 0; k < 64; ++k) {
                const double h = modelHeight(sticks, x + dir * step);
                if (h > prev) break;
                x += dir * step;
                if (h <= top / 2.0) {
                    x -= dir * step * (top / 2.0 - h) / (prev - h);
                    break;
                }
                prev = h;
            }
            total += std::fabs(x - hz);
        }
        return std::max(total, width_);
    }

    std::vector<Line> lines_;
    double width_;
    double positionTol_;
    double tallest_ = 0.0;
    Outcome best_;
};

std::string nameOf(const std::vector<Group>& groups) {
    static const char* const names[] = {"", "d", "t", "q", "quint", "sext", "sept"};
    std::string name;
    for (const Group& g : groups) {
        if (g.n > kMaxNamed) return "m";
        name += names[g.n];
    }
    return name;
}

}  // namespace

CouplingPattern fitCouplingTree(std::span<const MultipletLine> input, const CouplingSettings& settings) {
    CouplingPattern p;
    p.multiplicity = "m";
    std::vector<Line> lines;
    for (const MultipletLine& l : input)
        if (std::isfinite(l.hz) && std::isfinite(l.height) && l.height > 0.0)
            lines.push_back({l.hz, l.height, std::isfinite(l.widthHz) ? std::max(l.widthHz, 0.0) : 0.0});
    std::sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.hz < b.hz; });
    double sum = 0.0, weight = 0.0, tallest = 0.0;
    for (const Line& l : lines)
        sum += l.hz * l.height, weight += l.height, tallest = std::max(tallest, l.height);
    if (weight > 0.0) p.centreHz = sum / weight;
    if (lines.empty()) return p;

    // Stray lines (noise, satellites, a trace of something else) below a tenth of the tallest may
    // stay unexplained; a larger line the tree does not explain makes the multiplet "m".
    std::vector<std::size_t> main, all(lines.size());
    std::iota(all.begin(), all.end(), std::size_t{0});
    std::vector<double> widths;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].height >= kStray * tallest) {
            main.push_back(i);
            if (lines[i].width > 0.0) widths.push_back(lines[i].width);
        }
    if (main.size() == 1) {
        const Line& l = lines[main[0]];
        p.multiplicity = l.width > settings.broadHz ? "br s" : "s";
        p.centreHz = l.hz;
        return p;
    }
    // The multiplet's line width: its narrower lines (the wider ones may hide several).
    double width = settings.lineWidthHz;
    if (width <= 0.0 && !widths.empty()) {
        std::sort(widths.begin(), widths.end());
        width = widths[(widths.size() - 1) / 4];
    }
    width = std::max({width, settings.resolutionHz, 1e-9});
    const double positionTol = std::max(kPositionTol * width, settings.resolutionHz);

    TreeFit fit(lines, width, positionTol);
    fit.propose(main);
    if (main.size() != all.size()) fit.propose(all);
    const auto& best = fit.best();
    if (!best.ok) return p;
    const std::string name = nameOf(best.groups);
    if (name == "m") return p;
    p.multiplicity = name;
    for (const Group& g : best.groups) p.J.push_back(g.J);
    p.centreHz = best.centre;
    p.rmsHz = best.rms;
    return p;
}

}  // namespace pelvaron::analysis
