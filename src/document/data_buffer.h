// A fixed data buffer of kCapacity doubles, allocated once and never resized.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

namespace pelvaron {

/// Capacity of every data buffer: 2^20 doubles, that is 524288 complex points (spectra of 128K
/// points and more are common). Every size limit of the program follows this one constant.
inline constexpr int kCapacity = 1 << 20;

/// The capacity in complex points.
inline constexpr int kCapacityPoints = kCapacity / 2;

class DataBuffer {
public:
    // Zeroed by the allocator: the system hands out zero pages only as they are first touched,
    // so a fresh document costs nothing for the parts of its buffers it never uses.
    DataBuffer() : values_(static_cast<double*>(std::calloc(kCapacity, sizeof(double)))) {
        if (!values_) throw std::bad_alloc();
    }
    DataBuffer(const DataBuffer&) = delete;
    DataBuffer& operator=(const DataBuffer&) = delete;

    double& operator[](std::ptrdiff_t i) { return values_[static_cast<std::size_t>(i)]; }
    double operator[](std::ptrdiff_t i) const { return values_[static_cast<std::size_t>(i)]; }
    double* data() { return values_.get(); }
    [[nodiscard]] const double* data() const { return values_.get(); }
    double* begin() { return values_.get(); }
    double* end() { return values_.get() + kCapacity; }
    [[nodiscard]] const double* begin() const { return values_.get(); }
    [[nodiscard]] const double* end() const { return values_.get() + kCapacity; }
    static constexpr int size() { return kCapacity; }

    void fill(double v) { std::fill(begin(), end(), v); }
    /// Sets the first `count` doubles (clamped to the capacity) to `v`.
    void fill(double v, int count) { std::fill(begin(), begin() + std::clamp(count, 0, kCapacity), v); }
    /// Exchanges the values of two buffers without copying them.
    void swap(DataBuffer& other) noexcept { values_.swap(other.values_); }
    /// Copies the first `count` doubles of `from` (count is clamped to the capacity).
    void copyFrom(const DataBuffer& from, int count) {
        count = std::clamp(count, 0, kCapacity);
        std::copy(from.begin(), from.begin() + count, begin());
    }

private:
    struct Free {
        void operator()(double* p) const { std::free(p); }
    };
    std::unique_ptr<double[], Free> values_;
};

}  // namespace pelvaron
