#pragma once
// Independent references for the 3D transformation tests, written without
// anything from the library: the seven-parameter map from elementary
// rotation matrices, a closed-form weighted least-squares fit of the
// four-parameter model, and Horn's closed-form absolute orientation with
// scale (B. K. P. Horn, "Closed-form solution of absolute orientation using
// unit quaternions", J. Opt. Soc. Am. A 4(4), 1987) for equal weights.

#include <array>
#include <cmath>
#include <vector>

namespace geodetic_test {

using Vec3 = std::array<double, 3>;
using Mat3 = std::array<Vec3, 3>;

inline Mat3 product(const Mat3& a, const Mat3& b) {
    Mat3 c{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                c[i][j] += a[i][k] * b[k][j];
    return c;
}

inline Mat3 transposed(const Mat3& a) {
    Mat3 t{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            t[i][j] = a[j][i];
    return t;
}

inline Vec3 rotate(const Mat3& m, const Vec3& p) {
    return {m[0][0] * p[0] + m[0][1] * p[1] + m[0][2] * p[2],
            m[1][0] * p[0] + m[1][1] * p[1] + m[1][2] * p[2],
            m[2][0] * p[0] + m[2][1] * p[1] + m[2][2] * p[2]};
}

// Active rotations of a point about X, Y and Z by t radians.
inline Mat3 rotX(double t) {
    return {{{1, 0, 0}, {0, std::cos(t), -std::sin(t)}, {0, std::sin(t), std::cos(t)}}};
}
inline Mat3 rotY(double t) {
    return {{{std::cos(t), 0, std::sin(t)}, {0, 1, 0}, {-std::sin(t), 0, std::cos(t)}}};
}
inline Mat3 rotZ(double t) {
    return {{{std::cos(t), -std::sin(t), 0}, {std::sin(t), std::cos(t), 0}, {0, 0, 1}}};
}

// The coordinate-frame rotation of reported angles rx, ry, rz: the transpose
// of Rz(rz) Ry(ry) Rx(rx).
inline Mat3 coordinateFrameRotation(double rx, double ry, double rz) {
    return transposed(product(rotZ(rz), product(rotY(ry), rotX(rx))));
}

struct Similarity {
    double scale;
    Mat3 rotation;
    Vec3 shift;

    Vec3 operator()(const Vec3& p) const {
        const Vec3 r = rotate(rotation, p);
        return {scale * r[0] + shift[0], scale * r[1] + shift[1], scale * r[2] + shift[2]};
    }
};

// Weighted least squares of P2 = s P1 + T with weights w = 1/sigma2^2
// (system 1 taken as error-free), in closed form: with m1, m2 the weighted
// means of each axis, s = sum w (P1 - m1)(P2 - m2) / sum w (P1 - m1)^2 over
// all coordinates, and T = m2 - s m1 per axis. Returns s, Tx, Ty, Tz.
inline std::vector<double> scaleShiftFit(const std::vector<Vec3>& p1, const std::vector<Vec3>& p2,
                                         const std::vector<Vec3>& sigma2) {
    Vec3 m1{}, m2{}, sumW{};
    for (std::size_t i = 0; i < p1.size(); ++i)
        for (int c = 0; c < 3; ++c) {
            const double w = 1.0 / (sigma2[i][c] * sigma2[i][c]);
            sumW[c] += w;
            m1[c] += w * p1[i][c];
            m2[c] += w * p2[i][c];
        }
    for (int c = 0; c < 3; ++c) {
        m1[c] /= sumW[c];
        m2[c] /= sumW[c];
    }
    double cross = 0.0, square = 0.0;
    for (std::size_t i = 0; i < p1.size(); ++i)
        for (int c = 0; c < 3; ++c) {
            const double w = 1.0 / (sigma2[i][c] * sigma2[i][c]);
            cross += w * (p1[i][c] - m1[c]) * (p2[i][c] - m2[c]);
            square += w * (p1[i][c] - m1[c]) * (p1[i][c] - m1[c]);
        }
    const double s = cross / square;
    return {s, m2[0] - s * m1[0], m2[1] - s * m1[1], m2[2] - s * m1[2]};
}

// The eigenvector of the largest eigenvalue of a symmetric 4 x 4 matrix, by
// cyclic Jacobi rotations.
inline std::array<double, 4> largestEigenvector(std::array<std::array<double, 4>, 4> a) {
    std::array<std::array<double, 4>, 4> v{};
    for (int i = 0; i < 4; ++i)
        v[i][i] = 1.0;
    for (int sweep = 0; sweep < 50; ++sweep)
        for (int p = 0; p < 3; ++p)
            for (int q = p + 1; q < 4; ++q) {
                if (a[p][q] == 0.0)
                    continue;
                const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
                const double t =
                    (theta >= 0 ? 1.0 : -1.0) / (std::abs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0), s = t * c;
                for (int k = 0; k < 4; ++k) {
                    const double akp = a[k][p], akq = a[k][q];
                    a[k][p] = c * akp - s * akq;
                    a[k][q] = s * akp + c * akq;
                }
                for (int k = 0; k < 4; ++k) {
                    const double apk = a[p][k], aqk = a[q][k];
                    a[p][k] = c * apk - s * aqk;
                    a[q][k] = s * apk + c * aqk;
                }
                for (int k = 0; k < 4; ++k) {
                    const double vkp = v[k][p], vkq = v[k][q];
                    v[k][p] = c * vkp - s * vkq;
                    v[k][q] = s * vkp + c * vkq;
                }
            }
    int best = 0;
    for (int i = 1; i < 4; ++i)
        if (a[i][i] > a[best][best])
            best = i;
    return {v[0][best], v[1][best], v[2][best], v[3][best]};
}

// Horn's solution minimising sum |P2 - (s R P1 + T)|^2.
inline Similarity hornAbsoluteOrientation(const std::vector<Vec3>& p1,
                                          const std::vector<Vec3>& p2) {
    const double count = static_cast<double>(p1.size());
    Vec3 c1{}, c2{};
    for (std::size_t i = 0; i < p1.size(); ++i)
        for (int k = 0; k < 3; ++k) {
            c1[k] += p1[i][k] / count;
            c2[k] += p2[i][k] / count;
        }
    Mat3 m{};
    double norm1 = 0.0;
    for (std::size_t i = 0; i < p1.size(); ++i)
        for (int a = 0; a < 3; ++a) {
            norm1 += (p1[i][a] - c1[a]) * (p1[i][a] - c1[a]);
            for (int b = 0; b < 3; ++b)
                m[a][b] += (p1[i][a] - c1[a]) * (p2[i][b] - c2[b]);
        }
    const double sxx = m[0][0], sxy = m[0][1], sxz = m[0][2], syx = m[1][0], syy = m[1][1],
                 syz = m[1][2], szx = m[2][0], szy = m[2][1], szz = m[2][2];
    const std::array<std::array<double, 4>, 4> n = {{
        {sxx + syy + szz, syz - szy, szx - sxz, sxy - syx},
        {syz - szy, sxx - syy - szz, sxy + syx, szx + sxz},
        {szx - sxz, sxy + syx, -sxx + syy - szz, syz + szy},
        {sxy - syx, szx + sxz, syz + szy, -sxx - syy + szz},
    }};
    const auto q = largestEigenvector(n);
    const double q0 = q[0], qx = q[1], qy = q[2], qz = q[3];
    Similarity s{};
    s.rotation = {
        {{q0 * q0 + qx * qx - qy * qy - qz * qz, 2 * (qx * qy - q0 * qz), 2 * (qx * qz + q0 * qy)},
         {2 * (qy * qx + q0 * qz), q0 * q0 - qx * qx + qy * qy - qz * qz, 2 * (qy * qz - q0 * qx)},
         {2 * (qz * qx - q0 * qy), 2 * (qz * qy + q0 * qx),
          q0 * q0 - qx * qx - qy * qy + qz * qz}}};
    double dot = 0.0;
    for (std::size_t i = 0; i < p1.size(); ++i) {
        const Vec3 r = rotate(s.rotation, {p1[i][0] - c1[0], p1[i][1] - c1[1], p1[i][2] - c1[2]});
        for (int k = 0; k < 3; ++k)
            dot += (p2[i][k] - c2[k]) * r[k];
    }
    s.scale = dot / norm1;
    const Vec3 rc1 = rotate(s.rotation, c1);
    for (int k = 0; k < 3; ++k)
        s.shift[k] = c2[k] - s.scale * rc1[k];
    return s;
}

} // namespace geodetic_test
