// The spin-system engine: product basis sorted by total Fz, one Hamiltonian block per Fz value,
// transitions between neighbouring blocks, and the stored lists of each subsystem.
#include "simulation/spin_engine.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <span>
#include <utility>

#include "simulation/helper_thread.h"
#include "simulation/synthesis.h"
#include "simulation/vector_clones.h"

namespace pelvaron::simulation {

namespace {

void refuse(Messages& said, const char* text) { said.push_back({text, "Error", MessageIcon::Stop}); }

/// Allocates with one of the engine's own messages (caption "Error").
template <typename V>
bool engineVector(V& v, int l, int h, const char* message, Messages& said, const AllocationGate* gate) {
    if (v.allocate(l, h, gate, message)) return true;
    refuse(said, message);
    return false;
}

/// One total-Fz block, diagonalised: v(r, j) is component r (basis position in the block) of
/// eigenvector j, e[j] its energy (Hz); both 1-based. `off` is the solver's working vector.
struct Block {
    Matrix v;
    Vector e;
    Vector off;
    int size = 0;
    /// What the solver said while diagonalising this block (merged in block order afterwards).
    Messages said;
};

/// The product basis sorted by Fz: state number of each basis index, each state's position in
/// its block and where each block starts.
struct Basis {
    int n = 0;
    std::vector<int> state;       // basis index -> state number
    std::vector<int> position;    // state number -> index inside its block
    std::vector<int> blockStart;  // block k (k spins at +1/2) -> first basis index; n + 2 entries
};

bool sortBasis(int n, Basis& basis, Messages& said, const AllocationGate* gate) {
    const int dim = 1 << n;
    Vector fz;
    Vector carried;
    if (!engineVector(fz, 1, dim, "Error allocating memory for F matrix", said, gate)) return false;
    if (!vector(carried, 1, dim, said, gate)) return false;
    for (int s = 0; s < dim; ++s) {
        // Bit i of s set means nucleus i at -1/2: Fz = sum of sigma = n - 2 popcount(s).
        fz[s + 1] = n - 2 * std::popcount(static_cast<unsigned>(s));
        carried[s + 1] = s;
    }
    if (!sort2(dim, fz, carried, said)) return false;

    basis.n = n;
    basis.state.assign(static_cast<std::size_t>(dim), 0);
    basis.position.assign(static_cast<std::size_t>(dim), 0);
    basis.blockStart.assign(static_cast<std::size_t>(n + 2), 0);
    for (int k = 0; k <= n; ++k)
        basis.blockStart[static_cast<std::size_t>(k + 1)] =
            basis.blockStart[static_cast<std::size_t>(k)] + static_cast<int>(binomial(n, k));
    for (int b = 0; b < dim; ++b) {
        const int s = static_cast<int>(carried[b + 1]);
        const int k = n - std::popcount(static_cast<unsigned>(s));
        basis.state[static_cast<std::size_t>(b)] = s;
        basis.position[static_cast<std::size_t>(s)] = b - basis.blockStart[static_cast<std::size_t>(k)];
    }
    return true;
}

/// Order-preserving 32-bit image of a frequency rounded to float (rounding never reverses an
/// order); values beyond the float range are held at its ends.
std::uint32_t floatKey(double f) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    const auto bits = std::bit_cast<std::uint32_t>(static_cast<float>(std::clamp(f, -kLargest, kLargest)));
    // Negative numbers reversed, positive ones above them.
    return (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
}

/// One transition: its frequency (Hz) and intensity.
struct Line {
    double freq;
    double intens;
};

/// The working lists of one thread's share of sortByFrequency.
struct SortShare {
    struct Item {
        std::uint32_t key;
        std::uint32_t index;
    };
    std::vector<Item> items;
    std::vector<Item> other;
};

/// Everything the engine works in for one number of nuclei: the basis (which depends on n
/// alone), one block per Fz value and, per thread, the operator-applied eigenvectors of one
/// pair of blocks. Kept between computations so that a recompute allocates nothing but its
/// result.
struct Workspace {
    static constexpr int kThreads = 2;
    Basis basis;
    std::vector<Block> blocks;  // k = 0 ... n
    std::array<std::vector<double>, kThreads> gathered;
    std::array<std::vector<double>, kThreads> amplitude;
    /// The transitions as the pairs of blocks give them, before the sort, and their sort keys.
    std::vector<Line> lines;
    std::vector<std::uint32_t> keys;
    std::array<SortShare, kThreads> shares;
    std::vector<Line> sorted;
    bool ready = false;
};

[[nodiscard]] int blockSize(const Basis& basis, int k) {
    return basis.blockStart[static_cast<std::size_t>(k + 1)] - basis.blockStart[static_cast<std::size_t>(k)];
}

/// Allocates the workspace of n nuclei (each allocation through the gate, with its message).
bool prepareWorkspace(int n, Workspace& ws, Messages& said, const AllocationGate* gate) {
    ws.ready = false;
    if (!sortBasis(n, ws.basis, said, gate)) return false;
    ws.blocks.clear();
    ws.blocks.resize(static_cast<std::size_t>(n + 1));
    std::size_t largestPair = 0;
    for (int k = 0; k <= n; ++k) {
        const int m = blockSize(ws.basis, k);
        Block& b = ws.blocks[static_cast<std::size_t>(k)];
        if (!matrix(b.v, 1, m, 1, m, said, gate)) return false;
        if (!engineVector(b.e, 1, m, "Error allocating memory for d vector", said, gate)) return false;
        if (!engineVector(b.off, 1, m, "Error allocating memory for e vector", said, gate)) return false;
        b.size = m;
        if (k > 0) {
            const int below = blockSize(ws.basis, k - 1);
            largestPair = std::max(largestPair, static_cast<std::size_t>(std::min(below, m)) *
                                                    static_cast<std::size_t>(std::max(below, m)));
        }
    }
    int total = 0;
    for (int k = 1; k <= n; ++k) total += blockSize(ws.basis, k - 1) * blockSize(ws.basis, k);
    // The lists of this size, allocated through the gate with the toolkit's messages.
    const auto sized = [&](auto& list, std::size_t size, const char* message) {
        if (gate != nullptr && !gate->allow(message)) {
            said.push_back({message, "error", MessageIcon::Stop});
            return false;
        }
        try {
            list.assign(size, {});
        } catch (const std::bad_alloc&) {
            said.push_back({message, "error", MessageIcon::Stop});
            return false;
        }
        return true;
    };
    const auto lines = static_cast<std::size_t>(total);
    if (!sized(ws.lines, lines, "Allocation failure 1 in vector") ||
        !sized(ws.keys, lines, "Allocation failure 1 in vector") ||
        !sized(ws.sorted, lines, "Allocation failure 1 in vector"))
        return false;
    const std::size_t pair = std::max<std::size_t>(largestPair, 1);
    for (int t = 0; t < Workspace::kThreads; ++t) {
        const auto own = static_cast<std::size_t>(t);
        // Room for every line in each share, so that nothing is allocated on a helper thread.
        if (!sized(ws.shares[own].items, lines, "Allocation failure 1 in vector") ||
            !sized(ws.shares[own].other, lines, "Allocation failure 1 in vector") ||
            !sized(ws.gathered[own], pair, "Allocation failure 2 in matrix") ||
            !sized(ws.amplitude[own], pair, "Allocation failure 2 in matrix"))
            return false;
    }
    ws.ready = true;
    return true;
}

/// Builds and diagonalises the Hamiltonian of block k:
/// H[a][a] = sum nu_i sigma_i / 2 + sum_{i<j} J_ij sigma_i sigma_j / 4, and J_pq / 2 between
/// two states of the block that differ in exactly nuclei p and q.
void diagonaliseBlock(const Basis& basis, int k, const std::vector<double>& shifts,
                      const std::vector<std::vector<double>>& couplings, Block& out) {
    const int n = basis.n;
    const int first = basis.blockStart[static_cast<std::size_t>(k)];
    const int m = out.size;
    out.said.clear();
    std::fill(out.v.row(1), out.v.row(1) + static_cast<std::ptrdiff_t>(m) * m, 0.0);

    for (int r = 0; r < m; ++r) {
        const int s = basis.state[static_cast<std::size_t>(first + r)];
        double* row = out.v.row(r + 1);
        double diag = 0.0;
        for (int i = 0; i < n; ++i) {
            const double si = ((s >> i) & 1) != 0 ? -1.0 : 1.0;
            diag += shifts[static_cast<std::size_t>(i)] * si / 2.0;
            for (int j = i + 1; j < n; ++j) {
                const double sj = ((s >> j) & 1) != 0 ? -1.0 : 1.0;
                const double jij = couplings[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
                diag += jij * si * sj / 4.0;
                if (si != sj) {
                    // The flip-flop partner has the same Fz, so it lies in this block.
                    const int partner = s ^ ((1 << i) | (1 << j));
                    row[basis.position[static_cast<std::size_t>(partner)]] = jij / 2.0;
                }
            }
        }
        row[r] = diag;
    }
    tred2(out.v, m, out.e, out.off);
    // The eigenvalues of a block stay in the order tqli leaves them: the transitions are sorted
    // by frequency afterwards, so nothing depends on it.
    tqli(out.e, out.off, m, out.v, out.said);
}

/// c(i, j) = sum_u a(u, i) b(u, j) for i < na, j < nb, u < rows; a, b, c row-major with the
/// given row strides. The 4 x 8 tiles keep their sums in registers while u runs; every sum adds
/// its products in the order of u, whatever the tile.
PELVARON_VECTOR_CLONES void multiplyTransposed(int rows, int na, int nb, const double* a, int lda,
                                               const double* b, int ldb, double* c, int ldc) {
    constexpr int kTileI = 4;
    constexpr int kTileJ = 8;
    const int naTiled = na - na % kTileI;
    const int nbTiled = nb - nb % kTileJ;
    for (int j0 = 0; j0 < nbTiled; j0 += kTileJ) {
        for (int i0 = 0; i0 < naTiled; i0 += kTileI) {
            double acc[kTileI][kTileJ] = {};
            for (int u = 0; u < rows; ++u) {
                const double* au = a + static_cast<std::ptrdiff_t>(u) * lda + i0;
                const double* bu = b + static_cast<std::ptrdiff_t>(u) * ldb + j0;
                for (int ii = 0; ii < kTileI; ++ii)
                    for (int jj = 0; jj < kTileJ; ++jj) acc[ii][jj] += au[ii] * bu[jj];
            }
            for (int ii = 0; ii < kTileI; ++ii)
                for (int jj = 0; jj < kTileJ; ++jj)
                    c[static_cast<std::ptrdiff_t>(i0 + ii) * ldc + j0 + jj] = acc[ii][jj];
        }
    }
    // The edges that do not fill a tile.
    auto single = [&](int i, int j) {
        double sum = 0.0;
        for (int u = 0; u < rows; ++u)
            sum += a[static_cast<std::ptrdiff_t>(u) * lda + i] * b[static_cast<std::ptrdiff_t>(u) * ldb + j];
        c[static_cast<std::ptrdiff_t>(i) * ldc + j] = sum;
    };
    for (int i = naTiled; i < na; ++i)
        for (int j = 0; j < nb; ++j) single(i, j);
    for (int i = 0; i < naTiled; ++i)
        for (int j = nbTiled; j < nb; ++j) single(i, j);
}

/// y[0..n-1] += x[0..n-1].
PELVARON_VECTOR_CLONES void addRow(const double* __restrict x, double* __restrict y, int n) {
    for (int k = 0; k < n; ++k) y[k] += x[k];
}

/// Position (from 0) in the frequency list of the first transition from block k-1 to block k.
[[nodiscard]] int firstTransition(const Basis& basis, int k) {
    int first = 0;
    for (int q = 1; q < k; ++q) first += blockSize(basis, q - 1) * blockSize(basis, q);
    return first;
}

/// Writes the transitions from the eigenstates of block k-1 (lower) to those of block k (upper),
/// lower index outer, upper inner, at lines[0 ...], with their sort keys. With F the raising operator
/// (unit elements between states one spin flip apart), the amplitudes are V_L^T F^T V_U. The
/// operator is applied by adding eigenvector rows to the larger block's side, and one product
/// then sums over the smaller block: W = F V_L and V_U^T W summed over the upper block's states,
/// or G = F^T V_U and V_L^T G over the lower block's. `gathered` and `amplitude` hold at least
/// min(na, nb) * max(na, nb) values.
void appendTransitions(const Basis& basis, int k, const Block& lower, const Block& upper, Line* lines,
                       std::uint32_t* keys, double* gathered, double* amplitude) {
    const int n = basis.n;
    const int na = lower.size;
    const int nb = upper.size;
    const bool sumOverUpper = nb <= na;
    const int rows = sumOverUpper ? nb : na;
    const int firstState = basis.blockStart[static_cast<std::size_t>(sumOverUpper ? k : k - 1)];
    const Block& added = sumOverUpper ? lower : upper;  // whose rows F gathers
    const Block& other = sumOverUpper ? upper : lower;
    const int addedSize = added.size;
    std::fill(gathered, gathered + static_cast<std::ptrdiff_t>(rows) * addedSize, 0.0);

    for (int r = 0; r < rows; ++r) {
        const int s = basis.state[static_cast<std::size_t>(firstState + r)];
        double* gr = gathered + static_cast<std::ptrdiff_t>(r) * addedSize;
        for (int i = 0; i < n; ++i) {
            // From an upper state F^T lowers a spin at +1/2 (bit clear); from a lower state F
            // raises one at -1/2 (bit set).
            const bool set = ((s >> i) & 1) != 0;
            if (set == sumOverUpper) continue;
            const int partner = s ^ (1 << i);
            addRow(added.v.row(basis.position[static_cast<std::size_t>(partner)] + 1), gr, addedSize);
        }
    }
    // amplitude(i, j) = sum_r gathered(r, i) V_U(r, j), or sum_r V_L(r, i) gathered(r, j).
    if (sumOverUpper)
        multiplyTransposed(rows, na, nb, gathered, na, other.v.row(1), nb, amplitude, nb);
    else
        multiplyTransposed(rows, na, nb, other.v.row(1), na, gathered, nb, amplitude, nb);

    const double norm = std::ldexp(1.0, -(n - 1));  // 1 / 2^(n-1)
    for (int i = 0; i < na; ++i) {
        const double el = lower.e[i + 1];
        const double* amp = amplitude + static_cast<std::ptrdiff_t>(i) * nb;
        for (int j = 0; j < nb; ++j) {
            const double f = upper.e[j + 1] - el;
            lines[j] = {f, amp[j] * amp[j] * norm};
            keys[j] = floatKey(f);
        }
        lines += nb;
        keys += nb;
    }
}

/// Runs tasks 0 ... count-1 on the calling thread and on `helper` when there is one, each
/// thread taking the next task of `order` when it is free; task(t, thread) must write only its
/// own part of the results, and storage of its thread's own. Without a helper they run in the
/// order 0, 1, ...
template <typename Task>
void runTasks(int count, HelperThread* helper, const std::vector<int>& order, Task task) {
    if (helper == nullptr) {
        for (int t = 0; t < count; ++t) task(t, 0);
        return;
    }
    std::atomic<int> next{0};
    helper->run([&](int thread) {
        for (int i = next.fetch_add(1); i < count; i = next.fetch_add(1))
            task(order[static_cast<std::size_t>(i)], thread);
    });
}

/// The tasks 0 ... count-1 ordered by decreasing cost (ties by index), so that the two threads
/// finish together.
template <typename Cost>
std::vector<int> largestFirst(int count, Cost cost) {
    std::vector<int> order(static_cast<std::size_t>(count));
    for (int t = 0; t < count; ++t) order[static_cast<std::size_t>(t)] = t;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return cost(a) > cost(b); });
    return order;
}

/// Sorts the lines by frequency, intensities carried. A least-significant-digit radix sort
/// orders the lines by their frequencies rounded to float (a byte a pass; passes in which every
/// key has the same byte are skipped); the few lines that share a rounded key are then put in
/// exact order among themselves. For binom(20, 9) lines this costs a fraction of a comparison
/// sort; the order is the same, and lines of equal frequency keep the order in which they were
/// found.
///
/// One share sorts the lines whose keys k lie in lo <= k < end (in the order found) into sorted[first
/// ...] and from there into outFreq/outIntens; all keys of a share lie above those of the shares
/// before it, so that shares sorted apart, on any thread, give the order of one sort.
void sortShare(const Line* lines, const std::uint32_t* keys, int t, std::uint64_t lo, std::uint64_t end,
               bool last, SortShare& share, std::vector<Line>& sorted, double* outFreq, double* outIntens) {
    using Item = SortShare::Item;
    std::vector<Item>& items = share.items;
    std::vector<Item>& other = share.other;
    std::array<std::array<int, 256>, 4> count{};
    int size = 0;
    for (int i = 0; i < t; ++i) {
        const std::uint32_t key = keys[i];
        if (key < lo || key >= end) continue;
        items[static_cast<std::size_t>(size++)] = {key, static_cast<std::uint32_t>(i)};
        for (int p = 0; p < 4; ++p) ++count[static_cast<std::size_t>(p)][(key >> (8 * p)) & 0xFF];
    }
    if (size == 0) return;
    for (int p = 0; p < 4; ++p) {
        auto& c = count[static_cast<std::size_t>(p)];
        const int shift = 8 * p;
        if (c[(items[0].key >> shift) & 0xFF] == size) continue;
        int sum = 0;
        for (int& n : c) {
            const int here = n;
            n = sum;
            sum += here;
        }
        for (int i = 0; i < size; ++i) {
            const Item item = items[static_cast<std::size_t>(i)];
            other[static_cast<std::size_t>(c[(item.key >> shift) & 0xFF]++)] = item;
        }
        items.swap(other);
    }

    // The first share starts the list; the last one ends it.
    const std::ptrdiff_t first = last ? t - size : 0;
    Line* const at = sorted.data() + first;
    for (int i = 0; i < size; ++i) at[i] = lines[items[static_cast<std::size_t>(i)].index];
    for (int i = 0; i < size;) {
        int stop = i + 1;
        while (stop < size &&
               items[static_cast<std::size_t>(stop)].key == items[static_cast<std::size_t>(i)].key)
            ++stop;
        if (stop - i > 1)
            std::stable_sort(at + i, at + stop, [](const Line& a, const Line& b) { return a.freq < b.freq; });
        i = stop;
    }
    for (int i = 0; i < size; ++i) {
        outFreq[first + i] = at[i].freq;
        outIntens[first + i] = at[i].intens;
    }
}

/// The key that splits the lines in two shares of about equal size: the median of a sample.
std::uint32_t medianKey(const std::uint32_t* all, int t) {
    constexpr int kSample = 1025;
    std::array<std::uint32_t, kSample> keys{};
    const int samples = std::min(t, kSample);
    for (int i = 0; i < samples; ++i)
        keys[static_cast<std::size_t>(i)] = all[static_cast<std::ptrdiff_t>(i) * t / samples];
    const auto middle = keys.begin() + samples / 2;
    std::nth_element(keys.begin(), middle, keys.begin() + samples);
    return *middle;
}

/// Sorts the workspace's lines into `out` (of the same length), in two shares when there is a
/// helper.
void sortByFrequency(Workspace& ws, HelperThread* helper, Transitions& out) {
    const int t = out.count();
    // Two shares split at a key: those below it, and the rest.
    constexpr std::uint64_t kEnd = std::uint64_t{1} << 32;
    const std::uint64_t split = helper != nullptr ? medianKey(ws.keys.data(), t) : kEnd;
    const std::vector<int> order = {0, 1};
    runTasks(helper != nullptr ? 2 : 1, helper, order, [&](int p, int thread) {
        sortShare(ws.lines.data(), ws.keys.data(), t, p == 0 ? 0 : split, p == 0 ? split : kEnd, p == 1,
                  ws.shares[static_cast<std::size_t>(thread)], ws.sorted, out.freq.data(), out.intens.data());
    });
}

/// Copies a list, with the gate and bad_alloc as the failure paths.
bool copyList(std::vector<double>& into, const Vector& from, const char* message,
              const AllocationGate* gate) {
    if (gate != nullptr && !gate->allow(message)) return false;
    try {
        into.assign(from.data(), from.data() + from.size());
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

/// Sums the lines of `lists` into `values`, one list's curve after another's. False after a message.
template <typename Lists>
bool sumLines(const Lists& lists, std::size_t count, const SynthesisSettings& settings, double offsetHz,
              std::vector<double>& values, Messages& said) {
    const auto h = static_cast<std::size_t>(settings.points / 2);
    std::vector<double> curve;
    try {
        values.assign(h, 0.0);
        curve.resize(h);
    } catch (const std::bad_alloc&) {
        refuse(said, kCurveAllocationText);
        return false;
    }
    for (std::size_t s = 0; s < count; ++s) {
        const auto [freq, intens] = lists(s);
        if (freq.empty()) continue;
        if (!lineCurve(curve, freq, intens, settings, offsetHz, said)) return false;
        for (std::size_t j = 0; j < h; ++j) values[j] += curve[j];
    }
    return true;
}

using Lines = std::pair<std::span<const double>, std::span<const double>>;

/// From this many nuclei the blocks are diagonalised on two threads; below, a thread costs more
/// than it saves.
constexpr int kParallelNuclei = 9;

/// The calling thread's second thread, waiting between computations.
HelperThread& engineHelper() {
    thread_local HelperThread helper;
    return helper;
}

/// The calling thread's workspace for n nuclei, kept from one computation to the next.
Workspace& keptWorkspace(int n) {
    thread_local std::array<Workspace, kMaxNuclei + 1> kept;
    return kept[static_cast<std::size_t>(n)];
}

/// computeTransitions in `kept` (a fresh workspace when null), shared with `helper` when given.
bool transitionsIn(Workspace* kept, const SpinSubsystem& system, HelperThread* helper, Transitions& out,
                   Messages& said, const AllocationGate* gate) {
    out.freq.release();
    out.intens.release();
    if (system.empty()) {
        refuse(said, kNucleiCountText);
        return false;
    }
    const int n = system.nNuclei();
    const std::vector<double>& shifts = system.shifts();
    const std::vector<std::vector<double>>& couplings = system.couplings();

    Workspace fresh;
    Workspace& ws = kept != nullptr ? *kept : fresh;
    if (!ws.ready && !prepareWorkspace(n, ws, said, gate)) return false;
    const Basis& basis = ws.basis;

    int total = 0;
    for (int k = 1; k <= n; ++k) total += static_cast<int>(binomial(n, k) * binomial(n, k - 1));
    Transitions result;
    // A missing list stops this subsystem here: nothing may be computed into it.
    if (!engineVector(result.freq, 1, total, "Error allocating memory for frequencies vector", said, gate))
        return false;
    if (!engineVector(result.intens, 1, total, "Error allocating memory for intensities vector", said, gate))
        return false;

    // The blocks are independent, and so are the pairs of neighbouring blocks once both are
    // diagonalised; each writes only its own storage and its own stretch of the lists, so the
    // results are the same whichever thread computes them.
    const auto blockCost = [&](int k) {
        const double m = blockSize(basis, k);
        return m * m * m;
    };
    runTasks(n + 1, helper, largestFirst(n + 1, blockCost), [&](int k, int) {
        diagonaliseBlock(basis, k, shifts, couplings, ws.blocks[static_cast<std::size_t>(k)]);
    });
    for (const Block& b : ws.blocks) said.insert(said.end(), b.said.begin(), b.said.end());

    const auto pairCost = [&](int p) {
        const double na = blockSize(basis, p), nb = blockSize(basis, p + 1);
        return na * nb * std::min(na, nb);
    };
    runTasks(n, helper, largestFirst(n, pairCost), [&](int p, int thread) {
        const int k = p + 1;
        const int first = firstTransition(basis, k);
        const auto own = static_cast<std::size_t>(thread);
        appendTransitions(basis, k, ws.blocks[static_cast<std::size_t>(k - 1)],
                          ws.blocks[static_cast<std::size_t>(k)], ws.lines.data() + first,
                          ws.keys.data() + first, ws.gathered[own].data(), ws.amplitude[own].data());
    });
    sortByFrequency(ws, helper, result);
    out = std::move(result);
    return true;
}

}  // namespace

const char* faultText(SpinSubsystem::Fault fault) {
    switch (fault) {
        case SpinSubsystem::Fault::NucleiCount: return kNucleiCountText;
        case SpinSubsystem::Fault::Incomplete: return kIncompleteText;
        case SpinSubsystem::Fault::NotFinite: return kNotFiniteText;
        case SpinSubsystem::Fault::None: break;
    }
    return nullptr;
}

bool makeSubsystem(int n, const std::vector<double>& shifts,
                   const std::vector<std::vector<double>>& couplings, SpinSubsystem& out, Messages& said) {
    const SpinSubsystem::Fault fault = SpinSubsystem::make(n, shifts, couplings, out);
    if (fault == SpinSubsystem::Fault::None) return true;
    refuse(said, faultText(fault));
    return false;
}

bool computeTransitions(const SpinSubsystem& system, Transitions& out, Messages& said,
                        const AllocationGate* gate) {
    // A gate walks the failure paths: every allocation is then made afresh, where it can see it.
    if (gate != nullptr) return transitionsIn(nullptr, system, nullptr, out, said, gate);
    const int n = system.nNuclei();
    HelperThread* helper = n >= kParallelNuclei ? &engineHelper() : nullptr;
    return transitionsIn(system.empty() ? nullptr : &keptWorkspace(n), system, helper, out, said, nullptr);
}

bool computeTransitionsSerially(const SpinSubsystem& system, Transitions& out, Messages& said) {
    return transitionsIn(nullptr, system, nullptr, out, said, nullptr);
}

bool simulateSpectrum(std::span<const SpinSubsystem> subsystems, const SynthesisSettings& settings,
                      double offsetHz, SimulatedSpectrum& out, Messages& said, const AllocationGate* gate) {
    if (!checkSynthesisParams(settings, said)) return false;
    out.transitions.clear();
    out.transitions.resize(subsystems.size());
    // A failed subsystem keeps an empty list and adds nothing.
    for (std::size_t s = 0; s < subsystems.size(); ++s)
        (void)computeTransitions(subsystems[s], out.transitions[s], said, gate);
    const auto lists = [&out](std::size_t s) {
        const Transitions& tr = out.transitions[s];
        const auto count = static_cast<std::size_t>(tr.count());
        return Lines(std::span<const double>(tr.freq.data(), count),
                     std::span<const double>(tr.intens.data(), count));
    };
    return sumLines(lists, subsystems.size(), settings, offsetHz, out.values, said);
}

bool resynthesizeSpectrum(std::span<const SpinSubsystem> subsystems, const SynthesisSettings& settings,
                          double offsetHz, std::vector<double>& values, Messages& said) {
    if (!checkSynthesisParams(settings, said)) return false;
    const auto lists = [subsystems](std::size_t s) {
        const SpinSubsystem& rec = subsystems[s];
        const std::size_t count = std::min(rec.transFreq().size(), rec.transIntens().size());
        return Lines(std::span<const double>(rec.transFreq().data(), count),
                     std::span<const double>(rec.transIntens().data(), count));
    };
    return sumLines(lists, subsystems.size(), settings, offsetHz, values, said);
}

std::span<const SpinSubsystem> subsystemsOf(const SimulationState& sim) {
    return std::span<const SpinSubsystem>(sim.spinSubsystems)
        .first(static_cast<std::size_t>(sim.lastSubsystem + 1));
}

bool checkSimulation(const SimulationState& sim, Messages& said) {
    if (sim.lastSubsystem < 0 || sim.lastSubsystem >= kMaxSubsystems) {
        refuse(said, kTooManySubsystemsText);
        return false;
    }
    if (!checkSynthesisParams(synthesisSettingsOf(sim), said)) return false;
    if (sim.subsystemsAllocated == 0 ||
        sim.spinSubsystems.size() <= static_cast<std::size_t>(sim.lastSubsystem)) {
        refuse(said, kNoSubsystemText);
        return false;
    }
    for (const SpinSubsystem& rec : subsystemsOf(sim)) {
        if (const char* text = faultText(rec.fault())) {
            refuse(said, text);
            return false;
        }
    }
    return true;
}

void storeTransitions(SimulationState& sim, const SimulatedSpectrum& spectrum, Messages& said,
                      const AllocationGate* gate) {
    for (std::size_t s = 0; s < spectrum.transitions.size() && s < sim.spinSubsystems.size(); ++s) {
        SpinSubsystem& rec = sim.spinSubsystems[s];
        const Transitions& tr = spectrum.transitions[s];
        rec.clearTransitions();
        if (tr.count() == 0) continue;
        // The stored copies feed later re-syntheses; without them the spectrum still stands.
        std::vector<double> freq;
        std::vector<double> intens;
        const char* failed = nullptr;
        if (!copyList(freq, tr.freq, "Error allocating memory (frequencies)", gate))
            failed = "Error allocating memory (frequencies)";
        else if (!copyList(intens, tr.intens, "Error allocating memory (intensities)", gate))
            failed = "Error allocating memory (intensities)";
        // A frequency list without its intensities is no list at all.
        if (failed != nullptr)
            said.push_back({failed, "error", MessageIcon::Stop});
        else
            rec.storeTransitions(std::move(freq), std::move(intens));
    }
}

bool allocateSpinSubsystems(Document& doc, Messages& said) {
    SimulationState& sim = doc.sim;
    if (sim.subsystemsAllocated != 0 && sim.spinSubsystems.size() == static_cast<std::size_t>(kMaxSubsystems))
        return true;
    try {
        sim.spinSubsystems.assign(static_cast<std::size_t>(kMaxSubsystems), SpinSubsystem{});
    } catch (const std::bad_alloc&) {
        sim.spinSubsystems.clear();
        sim.subsystemsAllocated = 0;
        refuse(said, "Error allocating memory for spin subsystems");
        return false;
    }
    sim.subsystemsAllocated = 1;
    return true;
}

void releaseSimulation(SimulationState& sim) {
    sim.spinSubsystems = {};
    sim.subsystemsAllocated = 0;
    sim.editShifts = {};
    sim.editCouplings = {};
    sim.simExists = 0;
    sim.lastSubsystem = 0;
    sim.simNewSubsystem = 1;
    sim.simInteractive = 0;
    sim.simUpdateDocument = 0;
    // A fresh simulation starts from the working defaults; opening the data dialog does not reset
    // them, so that Edit Parameters shows the width and threshold in use.
    sim.simLineWidth = 0.3;
    sim.simThreshold = 0.001;
}

bool storeSubsystemParams(Document& doc, Messages& said) {
    SimulationState& sim = doc.sim;
    const bool editing = sim.simNewSubsystem == 0;
    const int target = editing ? sim.currentSubsystem : sim.lastSubsystem;
    // The table holds five records: a sixth is refused rather than written past the table.
    if (target < 0 || target >= kMaxSubsystems) {
        refuse(said, kTooManySubsystemsText);
        return false;
    }
    if (!allocateSpinSubsystems(doc, said)) return false;
    SpinSubsystem& rec = sim.spinSubsystems[static_cast<std::size_t>(target)];
    const int n = editing ? rec.nNuclei() : sim.nNucleiInput;
    SpinSubsystem made;
    if (!makeSubsystem(n, sim.editShifts, sim.editCouplings, made, said)) return false;
    rec = std::move(made);
    return true;
}

bool recomputeSimulation(Document& doc, Messages& said, const AllocationGate* gate) {
    if (!checkSimulation(doc.sim, said)) return false;
    const SynthesisSettings settings = synthesisSettingsOf(doc.sim);
    SimulatedSpectrum spectrum;
    const bool computed = simulateSpectrum(subsystemsOf(doc.sim), settings, doc.spectrum.acqPars.offsetHz,
                                           spectrum, said, gate);
    if (!computed) return false;
    zeroForSimulation(doc, settings.points);
    // The axis is the simulation's once any subsystem was computed onto it.
    if (std::any_of(spectrum.transitions.begin(), spectrum.transitions.end(),
                    [](const Transitions& tr) { return tr.count() > 0; }))
        setSimulatedAxis(doc, settings);
    addSimulatedCurve(doc, spectrum.values);
    storeTransitions(doc.sim, spectrum, said, gate);
    doc.notify(kDataChanged | kAxisChanged | kViewChanged);
    return true;
}

bool resynthesizeSimulation(Document& doc, Messages& said) {
    if (!checkSimulation(doc.sim, said)) return false;
    const SynthesisSettings settings = synthesisSettingsOf(doc.sim);
    std::vector<double> values;
    if (!resynthesizeSpectrum(subsystemsOf(doc.sim), settings, doc.spectrum.acqPars.offsetHz, values, said))
        return false;
    zeroForSimulation(doc, settings.points);
    setSimulatedAxis(doc, settings);
    addSimulatedCurve(doc, values);
    doc.notify(kDataChanged | kAxisChanged | kViewChanged);
    return true;
}

}  // namespace pelvaron::simulation
