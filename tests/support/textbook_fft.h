// The FFT routines exactly as the textbook writes them, element 1 first: the reference that the
// fast transform must match bit for bit, in the tests and in the benchmark's ratio.
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

inline void textbookRealFft(double* data, int n, int direction) {
    double* x = data - 1;
    const double c1 = 0.5;
    double c2;
    double theta = 3.141592653589793 / static_cast<double>(n >> 1);
    if (direction == 1) {
        c2 = -0.5;
        textbookComplexFft(data, n / 2, 1);
    } else {
        c2 = 0.5;
        theta = -theta;
    }
    const double s = std::sin(0.5 * theta);
    const double wpr = -2.0 * s * s;
    const double wpi = std::sin(theta);
    double wr = 1.0 + wpr;
    double wi = wpi;
    for (int i = 2; i <= (n >> 2); ++i) {
        const int i1 = i + i - 1, i2 = 1 + i1, i3 = n + 3 - i2, i4 = 1 + i3;
        const double h1r = c1 * (x[i1] + x[i3]);
        const double h1i = c1 * (x[i2] - x[i4]);
        const double h2r = -c2 * (x[i2] + x[i4]);
        const double h2i = c2 * (x[i1] - x[i3]);
        x[i1] = h1r + wr * h2r - wi * h2i;
        x[i2] = h1i + wr * h2i + wi * h2r;
        x[i3] = h1r - wr * h2r + wi * h2i;
        x[i4] = -h1i + wr * h2i + wi * h2r;
        const double t = wr;
        wr = t * wpr - wi * wpi + wr;
        wi = wi * wpr + t * wpi + wi;
    }
    const double h = x[1];
    if (direction == 1) {
        x[1] = h + x[2];
        x[2] = h - x[2];
    } else {
        x[1] = c1 * (h + x[2]);
        x[2] = c1 * (h - x[2]);
        textbookComplexFft(data, n / 2, -1);
    }
}

}  // namespace pelvaron::testing
