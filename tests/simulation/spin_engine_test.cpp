// The spin engine's threads and kept storage: whatever thread computes a block, and whatever an
// earlier system left in the storage, the transitions are those of the serial computation in
// fresh storage, to the last bit.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "simulation/spin_engine.h"

namespace pelvaron::simulation {
namespace {

using Couplings = std::vector<std::vector<double>>;

struct System {
    std::string name;
    std::vector<double> shifts;
    Couplings couplings;
};

/// n nuclei: shifts drawn from [lo, hi] Hz (every third one repeated when `degenerate`), every
/// pair coupled by -15 ... 15 Hz.
System drawn(const std::string& name, int n, double lo, double hi, unsigned seed, bool degenerate = false) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> shift(lo, hi), coupling(-15.0, 15.0);
    System s{name + " n=" + std::to_string(n), std::vector<double>(n), Couplings(n, std::vector<double>(n))};
    for (int a = 0; a < n; ++a) s.shifts[a] = degenerate && a >= 3 ? s.shifts[a % 3] : shift(rng);
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b) s.couplings[a][b] = s.couplings[b][a] = coupling(rng);
    return s;
}

std::vector<System> systems() {
    std::vector<System> out;
    for (const int n : {1, 2, 5, 9, 10}) {
        out.push_back(drawn("strong", n, 1000.0, 1150.0, 10 + n));
        out.push_back(drawn("weak", n, 0.0, 3000.0, 20 + n));
        out.push_back(drawn("equal shifts", n, 500.0, 503.0, 30 + n, true));
    }
    // All shifts equal and nothing coupled: every line of a nucleus at one frequency, so the
    // order of equal frequencies decides where each intensity lands.
    out.push_back({"uncoupled, one shift n=10", std::vector<double>(10, 700.0),
                   Couplings(10, std::vector<double>(10))});
    return out;
}

struct Computed {
    bool ok = false;
    std::vector<std::uint64_t> freq, intens;
    std::size_t messages = 0;
};

Computed bitsOf(bool ok, const Transitions& tr, const Messages& said) {
    Computed c{ok, {}, {}, said.size()};
    for (int t = 1; t <= tr.count(); ++t) {
        c.freq.push_back(std::bit_cast<std::uint64_t>(tr.freq[t]));
        c.intens.push_back(std::bit_cast<std::uint64_t>(tr.intens[t]));
    }
    return c;
}

Computed computed(const System& s, bool serially) {
    Messages said;
    SpinSubsystem system;
    Transitions tr;
    EXPECT_TRUE(makeSubsystem(static_cast<int>(s.shifts.size()), s.shifts, s.couplings, system, said));
    const bool ok =
        serially ? computeTransitionsSerially(system, tr, said) : computeTransitions(system, tr, said);
    return bitsOf(ok, tr, said);
}

void expectSameBits(const Computed& got, const Computed& want) {
    EXPECT_TRUE(got.ok && want.ok);
    EXPECT_EQ(got.messages, want.messages);
    ASSERT_EQ(got.freq.size(), want.freq.size());
    for (std::size_t t = 0; t < want.freq.size(); ++t) {
        ASSERT_EQ(got.freq[t], want.freq[t]) << "line " << t;
        ASSERT_EQ(got.intens[t], want.intens[t]) << "line " << t;
    }
}

TEST(SpinEngine, ThreadsAndKeptStorageGiveTheSerialTransitionsToTheLastBit) {
    const std::vector<System> all = systems();
    std::vector<Computed> serial;
    for (const System& s : all) serial.push_back(computed(s, true));

    // Each system after others of its size, twice round: what a block held before is gone.
    for (int round = 0; round < 2; ++round)
        for (std::size_t i = 0; i < all.size(); ++i) {
            SCOPED_TRACE(all[i].name + ", round " + std::to_string(round));
            expectSameBits(computed(all[i], false), serial[i]);
        }

    // Two threads computing at once, each with its own kept storage and its own helper.
    std::vector<Computed> first(all.size()), second(all.size());
    {
        std::jthread a([&] {
            for (std::size_t i = 0; i < all.size(); ++i) first[i] = computed(all[i], false);
        });
        std::jthread b([&] {
            for (std::size_t i = all.size(); i-- > 0;) second[i] = computed(all[i], false);
        });
    }
    for (std::size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(all[i].name + ", from two threads at once");
        expectSameBits(first[i], serial[i]);
        expectSameBits(second[i], serial[i]);
    }
}

}  // namespace
}  // namespace pelvaron::simulation
