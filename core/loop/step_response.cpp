#include "loop/step_response.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace tarnex {

namespace {

using Complex = std::complex<double>;

// The fewest samples of a run, so that a slow response is read as finely as a fast one.
constexpr double kFewestSamples = 4000;

// A square matrix, row-major.
struct Matrix {
  std::size_t n = 0;
  std::vector<double> a;
  explicit Matrix(std::size_t size) : n(size), a(size * size, 0.0) {}
  double& operator()(std::size_t i, std::size_t j) { return a[i * n + j]; }
  double operator()(std::size_t i, std::size_t j) const { return a[i * n + j]; }
};

Matrix product(const Matrix& x, const Matrix& y) {
  Matrix p(x.n);
  for (std::size_t i = 0; i < x.n; ++i) {
    for (std::size_t k = 0; k < x.n; ++k) {
      const double xik = x(i, k);
      if (xik == 0) continue;
      for (std::size_t j = 0; j < x.n; ++j) p(i, j) += xik * y(k, j);
    }
  }
  return p;
}

double norm1(const Matrix& m) {
  double largest = 0;
  for (std::size_t j = 0; j < m.n; ++j) {
    double column = 0;
    for (std::size_t i = 0; i < m.n; ++i) column += std::fabs(m(i, j));
    largest = std::max(largest, column);
  }
  return largest;
}

// e^M by scaling and squaring: the Taylor series of M/2^k, whose norm is at most 1/4, summed
// until its terms no longer count, then squared k times.
Matrix exponential(Matrix m) {
  const double norm = norm1(m);
  const int squarings = norm > 0.25 ? static_cast<int>(std::ceil(std::log2(norm / 0.25))) : 0;
  const double scale = std::ldexp(1.0, -squarings);
  for (double& v : m.a) v *= scale;
  Matrix sum(m.n), term(m.n);
  for (std::size_t i = 0; i < m.n; ++i) sum(i, i) = term(i, i) = 1;
  for (int k = 1; k <= 30; ++k) {
    term = product(term, m);
    for (double& v : term.a) v /= k;
    for (std::size_t i = 0; i < sum.a.size(); ++i) sum.a[i] += term.a[i];
    if (norm1(term) < 1e-18 * norm1(sum)) break;
  }
  for (int k = 0; k < squarings; ++k) sum = product(sum, sum);
  return sum;
}

Complex evaluate(const Polynomial& p, Complex s) {
  Complex v = 0;
  for (std::size_t k = p.size(); k-- > 0;) v = v * s + p[k];
  return v;
}

bool finite(const Polynomial& p) {
  return std::all_of(p.begin(), p.end(), [](double c) { return std::isfinite(c); });
}

// The geometric mean of the magnitudes of the roots that are not zero: the time scale in which
// the coefficients of the monic polynomial lie nearest one. 1 without such a root.
double rootScale(const Polynomial& p) {
  const Roots r = roots(p);
  double logSum = 0;
  int counted = 0;
  for (std::size_t i = 0; i < r.re.size(); ++i) {
    const double m = std::hypot(r.re[i], r.im[i]);
    if (m > 0 && std::isfinite(m)) logSum += std::log(m), ++counted;
  }
  return counted > 0 ? std::exp(logSum / counted) : 1.0;
}

}  // namespace

Polynomial operator*(const Polynomial& a, const Polynomial& b) {
  if (a.empty() || b.empty()) return {};
  Polynomial p(a.size() + b.size() - 1, 0.0);
  for (std::size_t i = 0; i < a.size(); ++i) {
    for (std::size_t j = 0; j < b.size(); ++j) p[i + j] += a[i] * b[j];
  }
  return p;
}

Polynomial operator+(const Polynomial& a, const Polynomial& b) {
  Polynomial p(std::max(a.size(), b.size()), 0.0);
  for (std::size_t i = 0; i < a.size(); ++i) p[i] += a[i];
  for (std::size_t i = 0; i < b.size(); ++i) p[i] += b[i];
  return p;
}

Polynomial operator*(double k, const Polynomial& a) {
  Polynomial p = a;
  for (double& c : p) c *= k;
  return p;
}

Polynomial trimmed(Polynomial p) {
  while (!p.empty() && p.back() == 0) p.pop_back();
  return p;
}

bool hurwitz(const Polynomial& poly) {
  const Polynomial p = trimmed(poly);
  if (p.size() < 2 || !finite(p)) return false;
  const std::size_t n = p.size() - 1;
  const double sign = p.back() > 0 ? 1 : -1;
  // The Routh array, row by row: the first two from the coefficients, highest power first.
  const std::size_t width = n / 2 + 1;
  std::vector<double> upper(width, 0.0), lower(width, 0.0);
  for (std::size_t k = 0; k <= n; ++k) {
    (k % 2 == 0 ? upper : lower)[k / 2] = sign * p[n - k];
  }
  if (!(upper[0] > 0)) return false;
  for (std::size_t row = 1; row <= n; ++row) {
    if (!(lower[0] > 0)) return false;
    std::vector<double> next(width, 0.0);
    for (std::size_t j = 0; j + 1 < width; ++j) {
      next[j] = (lower[0] * upper[j + 1] - upper[0] * lower[j + 1]) / lower[0];
    }
    upper = std::move(lower);
    lower = std::move(next);
  }
  return true;
}

Roots roots(const Polynomial& poly) {
  Polynomial p = trimmed(poly);
  Roots r;
  // Roots at zero first; the rest from the monic polynomial in a scaled variable.
  while (p.size() > 1 && p.front() == 0) {
    p.erase(p.begin());
    r.re.push_back(0);
    r.im.push_back(0);
  }
  if (p.size() < 2 || !finite(p)) return r;
  const std::size_t n = p.size() - 1;
  const double scale = std::pow(std::fabs(p.front() / p.back()), 1.0 / static_cast<double>(n));
  Polynomial q(p.size());
  for (std::size_t k = 0; k <= n; ++k) {
    q[k] = p[k] / p.back() * std::pow(scale, static_cast<double>(k) - static_cast<double>(n));
  }
  std::vector<Complex> z(n);
  const Complex seed(0.4, 0.9);
  for (std::size_t k = 0; k < n; ++k) z[k] = std::pow(seed, static_cast<double>(k));
  for (int iteration = 0; iteration < 2000; ++iteration) {
    double moved = 0;
    for (std::size_t k = 0; k < n; ++k) {
      Complex denominator = 1;
      for (std::size_t j = 0; j < n; ++j) {
        if (j != k) denominator *= z[k] - z[j];
      }
      if (denominator == Complex(0)) denominator = 1e-30;
      const Complex step = evaluate(q, z[k]) / denominator;
      z[k] -= step;
      moved = std::max(moved, std::abs(step));
    }
    if (moved < 1e-15) break;
  }
  for (const Complex& root : z) {
    r.re.push_back(root.real() * scale);
    r.im.push_back(root.imag() * scale);
  }
  return r;
}

std::vector<double> sampledStep(const Rational& h, double amplitude, double dt, std::size_t count) {
  const Polynomial den = trimmed(h.den);
  Polynomial num = trimmed(h.num);
  std::vector<double> v;
  if (den.empty() || num.size() > den.size() || count == 0) return v;
  const std::size_t n = den.size() - 1;
  num.resize(den.size(), 0.0);
  // The direct part h(∞) and the strictly proper rest, num − d·den.
  const double d = num[n] / den[n];
  if (n == 0) return std::vector<double>(count, d * amplitude);
  // In the time τ = ω0·t the state-space model of h(ω0·σ) has coefficients near one.
  const double w0 = rootScale(den);
  std::vector<double> a(n), c(n);
  for (std::size_t k = 0; k < n; ++k) {
    const double power = std::pow(w0, static_cast<double>(k) - static_cast<double>(n));
    a[k] = den[k] / den[n] * power;
    c[k] = (num[k] - d * den[k]) / den[n] * power;
  }
  // The controllable canonical form, with the input column beside it: e^([A B; 0 0]·h) holds
  // e^(A·h) and ∫₀ʰ e^(A·τ) dτ·B.
  const double step = w0 * dt;
  Matrix m(n + 1);
  for (std::size_t i = 0; i + 1 < n; ++i) m(i, i + 1) = step;
  for (std::size_t j = 0; j < n; ++j) m(n - 1, j) = -a[j] * step;
  m(n - 1, n) = step;
  const Matrix e = exponential(m);
  std::vector<double> x(n, 0.0), next(n);
  v.reserve(count);
  v.push_back(d * amplitude);
  while (v.size() < count) {
    for (std::size_t i = 0; i < n; ++i) {
      double s = e(i, n) * amplitude;
      for (std::size_t j = 0; j < n; ++j) s += e(i, j) * x[j];
      next[i] = s;
    }
    x.swap(next);
    double y = d * amplitude;
    for (std::size_t j = 0; j < n; ++j) y += c[j] * x[j];
    v.push_back(y);
  }
  return v;
}

StepReading readStep(std::span<const double> v, double dt, double final, double band) {
  StepReading r;
  r.final = final;
  double farthest = 0;
  std::size_t top = 0;
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (std::fabs(v[i]) > std::fabs(v[top])) top = i;
    farthest = std::max(farthest, std::fabs(v[i] - final));
  }
  r.peak = v.empty() ? 0 : v[top];
  r.peakTime = static_cast<double>(top) * dt;
  // Between samples: the vertex of the parabola through the peak sample and its neighbours.
  if (top > 0 && top + 1 < v.size()) {
    const double a = v[top - 1], b = v[top], c = v[top + 1];
    const double curvature = a - 2 * b + c;
    if (curvature != 0) {
      const double shift = 0.5 * (a - c) / curvature;
      r.peak = b - 0.25 * (a - c) * shift;
      r.peakTime += shift * dt;
    }
  }
  const double limit = band * farthest;
  std::size_t last = v.size();  // the last sample outside the band
  for (std::size_t i = v.size(); i-- > 0;) {
    if (std::fabs(v[i] - final) > limit) {
      last = i;
      break;
    }
  }
  if (last == v.size()) {
    r.settling = 0;
  } else if (last + 1 < v.size()) {
    const double outside = std::fabs(v[last] - final), inside = std::fabs(v[last + 1] - final);
    const double share = outside > inside ? (outside - limit) / (outside - inside) : 0;
    r.settling = (static_cast<double>(last) + share) * dt;
  }
  return r;
}

StepTiming stepTiming(std::span<const Rational> systems, std::size_t maxSamples) {
  double fastest = 0, length = 0;
  for (const Rational& h : systems) {
    const Roots r = roots(h.den);
    if (r.re.empty()) continue;
    const bool stable = hurwitz(h.den);
    double slowest = INFINITY, rightmost = -INFINITY;
    for (std::size_t i = 0; i < r.re.size(); ++i) {
      fastest = std::max(fastest, std::hypot(r.re[i], r.im[i]));
      slowest = std::min(slowest, std::fabs(r.re[i]));
      rightmost = std::max(rightmost, r.re[i]);
    }
    // e^-9.21 = 10⁻⁴; e^5 ≈ 150.
    if (stable && slowest > 0) length = std::max(length, 9.21 / slowest);
    if (!stable && rightmost > 0) length = std::max(length, 5 / rightmost);
  }
  StepTiming t;
  if (!(fastest > 0) || !(length > 0) || !std::isfinite(length) || maxSamples < 2) return t;
  t.dt = std::min(2 * std::numbers::pi / (40 * fastest), length / (kFewestSamples - 1));
  const double samples = std::ceil(length / t.dt) + 1;
  if (samples > static_cast<double>(maxSamples)) {
    t.dt = length / static_cast<double>(maxSamples - 1);
    t.count = maxSamples;
  } else {
    t.count = static_cast<std::size_t>(samples);
  }
  return t;
}

}  // namespace tarnex
