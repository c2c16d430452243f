// The complex FFT exactly as the textbook writes it, element 1 first: the reference that the fast
// transform must match bit for bit, in the tests and in the benchmark's ratio.
#pragma once

#include <cmath>
#include <utility>

namespace pelvaron::testing {

inline void textbookComplexFft(double* data, int points, int direction) {
    double* x = data - 1;
    const int n = 2 * points;
    int j = 1;
    for (int i = 1; i < n; i += 2) {
        if (j > i) {
            std::swap(x[j], x[i]);
            std::swap(x[j + 1], x[i + 1]);
        }
        int m = points;
        while (m >= 2 && j > m) {
            j -= m;
            m /= 2;
        }
        j += m;
    }
    int mmax = 2;
    while (n > mmax) {
        const int istep = 2 * mmax;
        const double theta = direction * (6.28318530717959 / mmax);
        const double s = std::sin(theta / 2);
        const double wpr = -2.0 * s * s;
        const double wpi = std::sin(theta);
        double wr = 1.0;
        double wi = 0.0;
        for (int m = 1; m < mmax; m += 2) {
            for (int i = m; i <= n; i += istep) {
                const int k = i + mmax;
                const double tr = wr * x[k] - wi * x[k + 1];
                const double ti = wr * x[k + 1] + wi * x[k];
                x[k] = x[i] - tr;
                x[k + 1] = x[i + 1] - ti;
                x[i] += tr;
                x[i + 1] += ti;
            }
            const double t = wr;
            wr = t * wpr - wi * wpi + wr;
            wi = wi * wpr + t * wpi + wi;
        }
        mmax = istep;
    }
}

}  // namespace pelvaron::testing
