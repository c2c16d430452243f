// A fixed data buffer of 131072 doubles, allocated once and never resized.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>

namespace pelvaron {

/// Capacity of every data buffer: 131072 doubles, that is 65536 complex points.
inline constexpr int kCapacity = 131072;

class DataBuffer {
public:
    DataBuffer() : values_(std::make_unique<double[]>(kCapacity)) {}
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
    /// Copies the first `count` doubles of `from` (count is clamped to the capacity).
    void copyFrom(const DataBuffer& from, int count) {
        count = std::clamp(count, 0, kCapacity);
        std::copy(from.begin(), from.begin() + count, begin());
    }

private:
    std::unique_ptr<double[]> values_;
};

}  // namespace pelvaron
