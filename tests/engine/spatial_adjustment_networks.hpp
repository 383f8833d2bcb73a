#pragma once
// Test networks for the three-dimensional adjustment, described once by
// their true geodetic positions and turned both into the program-wide 3D
// lists (what the adjustment reads) and into an independent dense
// Gauss-Newton solution written here: the unknowns are the earth-centred
// X, Y, Z of each adjustable station; its own ellipsoid conversions, its own
// observation functions (GPS vectors as earth-centred differences weighted by
// the inverse of their earth-centred covariance), a Jacobian by central
// differences, dense normal equations in long double solved by its own
// Cholesky, Q by solving for the unit vectors, ellipses from the eigenvalues
// of each station's local north/east block, and the closed-form F quantile.
// Nothing of the adjustment's code is used.

#include "model/observation_records.hpp"
#include "model/point_name.hpp"
#include "model/point_records.hpp"
#include "model/program_lists.hpp"

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace net3d {

using Real = long double;

inline constexpr double pi = 3.14159265358979323846;
inline constexpr double rho = 648000.0 / pi;
// GRS 80, the ellipsoid of State Plane 1983.
inline constexpr double semiMajor = 6378137.0;
inline constexpr double flattening = 1.0 / 298.257222101;
inline constexpr double e2 = flattening * (2.0 - flattening);

using Vec3 = std::array<Real, 3>;

inline Vec3 toEcef(Real lat, Real lon, Real h) {
    const Real n = semiMajor / std::sqrt(1.0L - e2 * std::sin(lat) * std::sin(lat));
    return {(n + h) * std::cos(lat) * std::cos(lon), (n + h) * std::cos(lat) * std::sin(lon),
            (n * (1.0L - e2) + h) * std::sin(lat)};
}

struct Geodetic {
    Real lat, lon, h;
};

inline Geodetic toGeodetic(const Vec3& p) {
    const Real xy = std::hypot(p[0], p[1]);
    Real lat = std::atan2(p[2], xy * (1.0L - e2));
    Real h = 0.0L;
    for (int i = 0; i < 20; ++i) {
        const Real n = semiMajor / std::sqrt(1.0L - e2 * std::sin(lat) * std::sin(lat));
        h = xy / std::cos(lat) - n;
        lat = std::atan2(p[2], xy * (1.0L - e2 * n / (n + h)));
    }
    return {lat, std::atan2(p[1], p[0]), h};
}

// Rows north, east, up of the local frame at (lat, lon).
inline std::array<Vec3, 3> axes(Real lat, Real lon) {
    const Real sp = std::sin(lat), cp = std::cos(lat), sl = std::sin(lon), cl = std::cos(lon);
    return {{{-sp * cl, -sp * sl, cp}, {-sl, cl, 0.0L}, {cp * cl, cp * sl, sp}}};
}

inline Vec3 rotate(const std::array<Vec3, 3>& r, const Vec3& v) {
    Vec3 out{};
    for (int a = 0; a < 3; ++a)
        out[a] = r[a][0] * v[0] + r[a][1] * v[1] + r[a][2] * v[2];
    return out;
}

// Moves a geodetic position by local (n, e, u) metres, exactly along a
// straight line in the local frame.
inline Vec3 displaced(const Geodetic& g, Real n, Real e, Real u) {
    const Vec3 p = toEcef(g.lat, g.lon, g.h);
    const auto r = axes(g.lat, g.lon);
    Vec3 out = p;
    for (int c = 0; c < 3; ++c)
        out[c] += r[0][c] * n + r[1][c] * e + r[2][c] * u;
    return out;
}

enum class Kind { distance, angle, azimuth, zenith, gps, level };

struct Station {
    std::string name;
    int type = 0; // 0 unknown, 1 weighted control, 4 fixed
    Geodetic truth{};
    std::array<double, 3> start{}; // local offset (n, e, u) of the start position
    std::array<double, 3> sigma{}; // weighted control: sigma north, east, up
    std::array<double, 3> given{}; // weighted control: local offset of the control position
};

struct Obs {
    Kind kind = Kind::distance;
    std::string a, b, c;         // from/to; backsight/instrument/foresight
    double sigma = 0.0;          // metres, or seconds of arc
    std::array<double, 6> cov{}; // GPS: XX, YY, ZZ, XY, XZ, YZ
    double convergence = 0.0;    // azimuth: grid convergence stored with the record
};

struct Network {
    std::vector<Station> stations;
    std::vector<Obs> obs;
    unsigned seed = 7;
    double noise = 1.0; // share of each sigma added as seeded normal noise
};

inline bool sameText(const std::string& a, const std::string& b) {
    return sameName(a, b);
}

inline int indexOf(const Network& net, const std::string& name) {
    for (std::size_t i = 0; i < net.stations.size(); ++i)
        if (sameText(net.stations[i].name, name))
            return static_cast<int>(i);
    return -1;
}

inline Vec3 truthOf(const Station& s) {
    return toEcef(s.truth.lat, s.truth.lon, s.truth.h);
}

// The observation functions on earth-centred positions.
inline Vec3 localBetween(const Vec3& i, const Vec3& j) {
    const Geodetic g = toGeodetic(i);
    return rotate(axes(g.lat, g.lon), {j[0] - i[0], j[1] - i[1], j[2] - i[2]});
}
inline Real azimuthOf(const Vec3& i, const Vec3& j) {
    const Vec3 l = localBetween(i, j);
    Real a = std::atan2(l[1], l[0]);
    return a < 0 ? a + 2 * pi : a;
}
inline Real elevationOf(const Vec3& i, const Vec3& j) {
    const Vec3 l = localBetween(i, j);
    return std::atan2(l[2], std::hypot(l[0], l[1]));
}
inline Real wrapped(Real a) {
    while (a > pi)
        a -= 2 * pi;
    while (a <= -pi)
        a += 2 * pi;
    return a;
}

// One scalar row of the reference: a value of the positions and a unit.
struct Observed {
    std::vector<Real> values; // one, or three for a GPS vector (dX, dY, dZ)
};

inline std::array<std::array<Real, 3>, 3> covOf(const std::array<double, 6>& c) {
    return {{{c[0], c[3], c[4]}, {c[3], c[1], c[5]}, {c[4], c[5], c[2]}}};
}

// The value of an observation at the given positions (metres, radians;
// three values for a GPS vector).
inline std::vector<Real> modelValue(const Network& net, const Obs& o,
                                    const std::vector<Vec3>& pos) {
    const Vec3& a = pos[indexOf(net, o.a)];
    const Vec3& b = pos[indexOf(net, o.b)];
    switch (o.kind) {
    case Kind::distance:
        return {std::sqrt((b[0] - a[0]) * (b[0] - a[0]) + (b[1] - a[1]) * (b[1] - a[1]) +
                          (b[2] - a[2]) * (b[2] - a[2]))};
    case Kind::angle: {
        const Vec3& f = pos[indexOf(net, o.c)];
        Real t = azimuthOf(b, f) - azimuthOf(b, a);
        return {t < 0 ? t + 2 * pi : t};
    }
    case Kind::azimuth:
        return {azimuthOf(a, b)};
    case Kind::zenith: // the elevation angle pi/2 - zenith, as the adjustment's row holds it
        return {elevationOf(a, b)};
    case Kind::gps:
        return {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    case Kind::level:
        return {toGeodetic(b).h - toGeodetic(a).h};
    }
    return {};
}

inline std::vector<Vec3> truthPositions(const Network& net) {
    std::vector<Vec3> pos;
    for (const Station& s : net.stations)
        pos.push_back(truthOf(s));
    return pos;
}

// The observed values: the truth plus seeded normal noise of the sigma
// (GPS components: of the root of each variance).
inline std::vector<std::vector<Real>> observe(const Network& net) {
    std::mt19937 gen(net.seed);
    std::normal_distribution<double> normal(0.0, 1.0);
    const std::vector<Vec3> truth = truthPositions(net);
    std::vector<std::vector<Real>> out;
    for (const Obs& o : net.obs) {
        std::vector<Real> v = modelValue(net, o, truth);
        if (o.kind == Kind::gps) {
            for (int c = 0; c < 3; ++c)
                v[c] += net.noise * std::sqrt(o.cov[c]) * normal(gen);
        } else {
            const bool angular =
                o.kind == Kind::angle || o.kind == Kind::azimuth || o.kind == Kind::zenith;
            v[0] += net.noise * o.sigma * normal(gen) / (angular ? rho : 1.0);
        }
        out.push_back(v);
    }
    return out;
}

// ------------------------------------------------------------------ lists

inline stationRec stationRecord(const std::string& name, const Vec3& p, int type) {
    stationRec r;
    initStationRec(r);
    setPointName(r.name, name);
    const Geodetic g = toGeodetic(p);
    r.latitude = static_cast<double>(g.lat);
    r.longitude = static_cast<double>(g.lon);
    r.elevation = static_cast<double>(g.h);
    r.ecefX = static_cast<double>(p[0]);
    r.ecefY = static_cast<double>(p[1]);
    r.ecefZ = static_cast<double>(p[2]);
    r.easting = 0.0;
    r.northing = 0.0;
    r.pointType = type;
    return r;
}

// Fills the 3D lists: stations at their start positions (fixed ones at the
// truth), the observations with their observed values.
inline void fillLists(const Network& net) {
    resetProgramLists();
    for (const Station& s : net.stations) {
        if (s.type == 4) {
            fixedStationList.append(stationRecord(s.name, truthOf(s), 4));
            continue;
        }
        stationRec r =
            stationRecord(s.name, displaced(s.truth, s.start[0], s.start[1], s.start[2]), s.type);
        if (s.type == 1) {
            r.stdErrN = s.sigma[0];
            r.stdErrE = s.sigma[1];
            r.stdErrZ = s.sigma[2];
            controlStationList.append(
                stationRecord(s.name, displaced(s.truth, s.given[0], s.given[1], s.given[2]), 1));
        }
        stationList.append(r);
    }
    const auto observed = observe(net);
    for (std::size_t i = 0; i < net.obs.size(); ++i) {
        const Obs& o = net.obs[i];
        const std::vector<Real>& v = observed[i];
        switch (o.kind) {
        case Kind::distance: {
            distanceObs d;
            setPointName(d.from, o.a);
            setPointName(d.to, o.b);
            d.reducedDist = static_cast<double>(v[0]);
            d.stdErr = o.sigma;
            distanceList.append(d);
            break;
        }
        case Kind::angle: {
            angleObs a;
            setPointName(a.backsight, o.a);
            setPointName(a.instrument, o.b);
            setPointName(a.foresight, o.c);
            a.angle = static_cast<double>(v[0]);
            a.stdErr = o.sigma;
            angleList.append(a);
            break;
        }
        case Kind::azimuth: {
            azimuthObs z;
            setPointName(z.from, o.a);
            setPointName(z.to, o.b);
            z.azimuth = static_cast<double>(v[0]) - o.convergence;
            z.convergence = o.convergence;
            z.stdErr = o.sigma;
            azimuthList.append(z);
            break;
        }
        case Kind::zenith: {
            verticalObs z;
            setPointName(z.from, o.a);
            setPointName(z.to, o.b);
            z.zenith = pi / 2 - static_cast<double>(v[0]);
            z.stdErr = o.sigma;
            verticalList.append(z);
            break;
        }
        case Kind::gps: {
            gpsVectorRec g;
            setPointName(g.from, o.a);
            setPointName(g.to, o.b);
            g.dX = static_cast<double>(v[0]);
            g.dY = static_cast<double>(v[1]);
            g.dZ = static_cast<double>(v[2]);
            g.varX = o.cov[0];
            g.varY = o.cov[1];
            g.varZ = o.cov[2];
            g.covXY = o.cov[3];
            g.covXZ = o.cov[4];
            g.covYZ = o.cov[5];
            gpsVectorList.append(g);
            break;
        }
        case Kind::level: {
            levelObs l;
            setPointName(l.from, o.a);
            setPointName(l.to, o.b);
            l.ellipsoidalDiff = static_cast<double>(v[0]);
            l.stdErr = o.sigma;
            levelList.append(l);
            break;
        }
        }
    }
}

// -------------------------------------------------------------- reference

// A scalar row of the reference in the adjustment's row order.
struct RefRow {
    int obs = -1;      // index into net.obs; -1 for a control row
    int component = 0; // GPS: X, Y, Z; control: north, east, up
    int station = -1;  // control rows
    bool angular = false;
};

struct Reference {
    std::vector<Vec3> positions;                       // every station, earth-centred
    std::vector<Real> residuals;                       // computed - observed, metres or seconds
    std::vector<std::array<Real, 3>> gpsResidualLocal; // per GPS vector, in the local frame
    Real referenceVariance = 0;
    std::vector<std::array<Real, 3>> sigmasNEU; // per adjustable station
    std::vector<Real> obsSigmas;                // per non-GPS row (metres or seconds)
    std::vector<std::array<Real, 3>> gpsSigmasLocal;
    struct Ellipse {
        Real orientation, major, minor, sigmaE, sigmaN;
    };
    std::vector<Ellipse> ellipses;
    int iterations = 0;
};

// sqrt(2 F) with F(2, d) the upper quantile at p = 0.05: (d/2)(p^(-2/d) - 1).
inline Real confidenceScale95(Real d) {
    return std::sqrt(2.0L * (d / 2.0L) * (std::pow(0.05L, -2.0L / d) - 1.0L));
}

// x with a x = b for a symmetric positive-definite a, by its Cholesky factor.
inline std::vector<Real> choleskySolve(std::vector<std::vector<Real>> a, std::vector<Real> b) {
    const std::size_t n = b.size();
    for (std::size_t j = 0; j < n; ++j) {
        for (std::size_t k = 0; k < j; ++k)
            a[j][j] -= a[j][k] * a[j][k];
        a[j][j] = std::sqrt(a[j][j]);
        for (std::size_t i = j + 1; i < n; ++i) {
            for (std::size_t k = 0; k < j; ++k)
                a[i][j] -= a[i][k] * a[j][k];
            a[i][j] /= a[j][j];
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t k = 0; k < i; ++k)
            b[i] -= a[i][k] * b[k];
        b[i] /= a[i][i];
    }
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t k = i + 1; k < n; ++k)
            b[i] -= a[k][i] * b[k];
        b[i] /= a[i][i];
    }
    return b;
}

class ReferenceSolver {
public:
    explicit ReferenceSolver(const Network& net) : net_(net), observed_(observe(net)) {
        for (std::size_t i = 0; i < net.stations.size(); ++i) {
            column_.push_back(net.stations[i].type == 4 ? -1 : static_cast<int>(u_));
            if (net.stations[i].type != 4)
                u_ += 3;
        }
        buildRows();
    }

    Reference solve() {
        std::vector<Real> x(u_);
        for (std::size_t i = 0; i < net_.stations.size(); ++i)
            if (column_[i] >= 0) {
                const Station& s = net_.stations[i];
                const Vec3 p = displaced(s.truth, s.start[0], s.start[1], s.start[2]);
                for (int c = 0; c < 3; ++c)
                    x[column_[i] + c] = p[c];
            }
        Reference ref;
        for (int it = 0; it < 30; ++it) {
            ++ref.iterations;
            const auto J = jacobian(x);
            const auto L = misclosures(x);
            const auto N = normal(J);
            std::vector<Real> b(u_, 0.0L);
            const auto WL = weightedTimes(L);
            for (std::size_t r = 0; r < rows_.size(); ++r)
                for (std::size_t j = 0; j < u_; ++j)
                    b[j] += J[r][j] * WL[r];
            const auto dx = choleskySolve(N, b);
            Real largest = 0;
            for (std::size_t j = 0; j < u_; ++j) {
                x[j] += dx[j];
                largest = std::max(largest, std::fabs(dx[j]));
            }
            if (largest < 1e-11L)
                break;
        }
        finish(x, ref);
        return ref;
    }

    std::size_t rows() const { return rows_.size(); }
    std::size_t unknowns() const { return u_; }

private:
    void buildRows() {
        const Kind order[] = {Kind::distance, Kind::angle, Kind::azimuth, Kind::zenith};
        for (const Kind k : order)
            for (std::size_t i = 0; i < net_.obs.size(); ++i)
                if (net_.obs[i].kind == k)
                    rows_.push_back({static_cast<int>(i), 0, -1, k != Kind::distance});
        for (std::size_t s = 0; s < net_.stations.size(); ++s)
            if (net_.stations[s].type == 1)
                for (int c = 0; c < 3; ++c)
                    rows_.push_back({-1, c, static_cast<int>(s), false});
        for (std::size_t i = 0; i < net_.obs.size(); ++i)
            if (net_.obs[i].kind == Kind::gps)
                for (int c = 0; c < 3; ++c)
                    rows_.push_back({static_cast<int>(i), c, -1, false});
        for (std::size_t i = 0; i < net_.obs.size(); ++i)
            if (net_.obs[i].kind == Kind::level)
                rows_.push_back({static_cast<int>(i), 0, -1, false});
    }

    std::vector<Vec3> positions(const std::vector<Real>& x) const {
        std::vector<Vec3> pos = truthPositions(net_);
        for (std::size_t i = 0; i < pos.size(); ++i)
            if (column_[i] >= 0)
                pos[i] = {x[column_[i]], x[column_[i] + 1], x[column_[i] + 2]};
        return pos;
    }

    // The weighted control model: the control position's offset from the
    // station, ((M + dh) dphi, cos phi_c (N + dh) dlambda, dh) at the control.
    Vec3 controlOffset(const Station& s, const Vec3& at) const {
        const Geodetic c = toGeodetic(displaced(s.truth, s.given[0], s.given[1], s.given[2]));
        const Geodetic g = toGeodetic(at);
        const Real w2 = 1.0L - e2 * std::sin(c.lat) * std::sin(c.lat);
        const Real m = semiMajor * (1.0L - e2) / std::pow(w2, 1.5L);
        const Real n = semiMajor / std::sqrt(w2);
        const Real dh = c.h - g.h;
        return {(m + dh) * (c.lat - g.lat), std::cos(c.lat) * (n + dh) * (c.lon - g.lon), dh};
    }

    // observed - computed of every scalar row (radians for angular rows).
    std::vector<Real> misclosures(const std::vector<Real>& x) const {
        const auto pos = positions(x);
        std::vector<Real> L;
        for (const RefRow& row : rows_) {
            if (row.obs < 0) {
                L.push_back(
                    controlOffset(net_.stations[row.station], pos[row.station])[row.component]);
                continue;
            }
            const Obs& o = net_.obs[row.obs];
            const Real computed = modelValue(net_, o, pos)[row.component];
            const Real d = observed_[row.obs][row.component] - computed;
            L.push_back(row.angular ? wrapped(d) : d);
        }
        return L;
    }

    // d(computed) / dx by central differences.
    std::vector<std::vector<Real>> jacobian(const std::vector<Real>& x) const {
        std::vector<std::vector<Real>> J(rows_.size(), std::vector<Real>(u_));
        const Real step = 1e-3L;
        for (std::size_t j = 0; j < u_; ++j) {
            auto plus = x, minus = x;
            plus[j] += step;
            minus[j] -= step;
            const auto lp = misclosures(plus), lm = misclosures(minus);
            for (std::size_t r = 0; r < rows_.size(); ++r)
                J[r][j] = -(rows_[r].angular ? wrapped(lp[r] - lm[r]) : lp[r] - lm[r]) / (2 * step);
        }
        return J;
    }

    // W y: 1/sigma^2 (radians for angular rows), S^-1 blocks for GPS.
    std::vector<Real> weightedTimes(const std::vector<Real>& y) const {
        std::vector<Real> out(y.size());
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            const RefRow& row = rows_[r];
            if (row.obs < 0) {
                const Real s = net_.stations[row.station].sigma[row.component];
                out[r] = y[r] / (s * s);
                continue;
            }
            const Obs& o = net_.obs[row.obs];
            if (o.kind == Kind::gps) {
                if (row.component == 0) {
                    const auto w = inverse3(covOf(o.cov));
                    for (int a = 0; a < 3; ++a) {
                        out[r + a] = 0;
                        for (int b = 0; b < 3; ++b)
                            out[r + a] += w[a][b] * y[r + b];
                    }
                }
                continue;
            }
            const Real s = row.angular ? o.sigma / rho : o.sigma;
            out[r] = y[r] / (s * s);
        }
        return out;
    }

    static std::array<std::array<Real, 3>, 3>
    inverse3(const std::array<std::array<Real, 3>, 3>& m) {
        std::array<std::array<Real, 3>, 3> inv{};
        const Real det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                         m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
                inv[i][j] = (m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0]) / det;
            }
        return inv;
    }

    std::vector<std::vector<Real>> normal(const std::vector<std::vector<Real>>& J) const {
        std::vector<std::vector<Real>> N(u_, std::vector<Real>(u_, 0.0L));
        std::vector<Real> column(rows_.size());
        for (std::size_t j = 0; j < u_; ++j) {
            for (std::size_t r = 0; r < rows_.size(); ++r)
                column[r] = J[r][j];
            const auto wj = weightedTimes(column);
            for (std::size_t i = 0; i < u_; ++i)
                for (std::size_t r = 0; r < rows_.size(); ++r)
                    N[i][j] += J[r][i] * wj[r];
        }
        return N;
    }

    void finish(const std::vector<Real>& x, Reference& ref) const {
        ref.positions = positions(x);
        const auto J = jacobian(x);
        const auto N = normal(J);
        std::vector<std::vector<Real>> Q(u_, std::vector<Real>(u_));
        for (std::size_t j = 0; j < u_; ++j) {
            std::vector<Real> e(u_, 0.0L);
            e[j] = 1.0L;
            const auto q = choleskySolve(N, e);
            for (std::size_t i = 0; i < u_; ++i)
                Q[i][j] = q[i];
        }
        std::vector<Real> v = misclosures(x);
        for (Real& r : v)
            r = -r;
        const auto Wv = weightedTimes(v);
        Real vWv = 0;
        for (std::size_t r = 0; r < v.size(); ++r)
            vWv += v[r] * Wv[r];
        const Real dof = static_cast<Real>(rows_.size()) - static_cast<Real>(u_);
        ref.referenceVariance = vWv / dof;
        const Real s0 = std::sqrt(ref.referenceVariance);

        // A Q A^T of a row pair.
        const auto aqa = [&](std::size_t r1, std::size_t r2) {
            Real sum = 0;
            for (std::size_t i = 0; i < u_; ++i)
                for (std::size_t j = 0; j < u_; ++j)
                    sum += J[r1][i] * Q[i][j] * J[r2][j];
            return sum;
        };
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            const RefRow& row = rows_[r];
            const bool gps = row.obs >= 0 && net_.obs[row.obs].kind == Kind::gps;
            if (gps) {
                if (row.component != 0)
                    continue;
                const Obs& o = net_.obs[row.obs];
                const Geodetic g = toGeodetic(ref.positions[indexOf(net_, o.a)]);
                const auto R = axes(g.lat, g.lon);
                ref.gpsResidualLocal.push_back(rotate(R, {v[r], v[r + 1], v[r + 2]}));
                std::array<Real, 3> sig{};
                for (int a = 0; a < 3; ++a) {
                    Real sum = 0;
                    for (int p = 0; p < 3; ++p)
                        for (int q = 0; q < 3; ++q)
                            sum += R[a][p] * aqa(r + p, r + q) * R[a][q];
                    sig[a] = s0 * std::sqrt(sum);
                }
                ref.gpsSigmasLocal.push_back(sig);
                continue;
            }
            const Real scale = row.angular ? rho : 1.0L;
            ref.residuals.push_back(v[r] * scale);
            ref.obsSigmas.push_back(s0 * std::sqrt(aqa(r, r)) * scale);
        }
        const Real factor = confidenceScale95(dof);
        for (std::size_t i = 0; i < net_.stations.size(); ++i) {
            if (column_[i] < 0)
                continue;
            const Geodetic g = toGeodetic(ref.positions[i]);
            const auto R = axes(g.lat, g.lon);
            std::array<std::array<Real, 3>, 3> q{};
            for (int a = 0; a < 3; ++a)
                for (int b = 0; b < 3; ++b)
                    for (int p = 0; p < 3; ++p)
                        for (int s = 0; s < 3; ++s)
                            q[a][b] += R[a][p] * Q[column_[i] + p][column_[i] + s] * R[b][s];
            ref.sigmasNEU.push_back(
                {s0 * std::sqrt(q[0][0]), s0 * std::sqrt(q[1][1]), s0 * std::sqrt(q[2][2])});
            const Real qnn = q[0][0], qee = q[1][1], qne = q[0][1];
            const Real mean = (qnn + qee) / 2, diff = (qnn - qee) / 2;
            const Real root = std::sqrt(diff * diff + qne * qne);
            const Real big = mean + root, small = mean - root;
            // Eigenvector (n, e) of the larger eigenvalue of [[qnn, qne], [qne,
            // qee]]: (qne, big - qnn), or (big - qee, qne) when that vanishes.
            Real vn = qne, ve = big - qnn;
            if (std::fabs(ve) + std::fabs(vn) < 1e-30L) {
                vn = big - qee;
                ve = qne;
            }
            Real o = std::atan2(ve, vn);
            if (o < 0)
                o += pi;
            if (o >= pi)
                o -= pi;
            ref.ellipses.push_back({o, s0 * std::sqrt(big) * factor, s0 * std::sqrt(small) * factor,
                                    s0 * std::sqrt(qee) * factor, s0 * std::sqrt(qnn) * factor});
        }
    }

    const Network& net_;
    std::vector<std::vector<Real>> observed_;
    std::vector<int> column_;
    std::size_t u_ = 0;
    std::vector<RefRow> rows_;
};

// ---------------------------------------------------------------- networks

inline constexpr double deg = pi / 180.0;

// A station about (dn, de) metres from 39.7 N, 105.0 W at height h.
inline Geodetic near(double dn, double de, double h) {
    const double lat0 = 39.7 * deg, lon0 = -105.0 * deg;
    const double m = 6.36e6, n = 6.387e6; // rough radii: the truth need not be a grid
    return {lat0 + dn / m, lon0 + de / (n * std::cos(lat0)), h};
}

inline Station fixedAt(const std::string& name, Geodetic g) {
    Station s;
    s.name = name;
    s.type = 4;
    s.truth = g;
    return s;
}
inline Station unknownAt(const std::string& name, Geodetic g, std::array<double, 3> start) {
    Station s;
    s.name = name;
    s.type = 0;
    s.truth = g;
    s.start = start;
    return s;
}
inline Station controlAt(const std::string& name, Geodetic g, std::array<double, 3> start,
                         std::array<double, 3> sigma, std::array<double, 3> given) {
    Station s = unknownAt(name, g, start);
    s.type = 1;
    s.sigma = sigma;
    s.given = given;
    return s;
}
inline Obs dist(const std::string& a, const std::string& b, double sigma = 0.003) {
    return {Kind::distance, a, b, "", sigma, {}, 0.0};
}
inline Obs ang(const std::string& bs, const std::string& at, const std::string& fs,
               double sigma = 2.0) {
    return {Kind::angle, bs, at, fs, sigma, {}, 0.0};
}
inline Obs azi(const std::string& a, const std::string& b, double sigma = 3.0,
               double convergence = 0.0) {
    return {Kind::azimuth, a, b, "", sigma, {}, convergence};
}
inline Obs zen(const std::string& a, const std::string& b, double sigma = 3.0) {
    return {Kind::zenith, a, b, "", sigma, {}, 0.0};
}
inline Obs gps(const std::string& a, const std::string& b, std::array<double, 6> cov) {
    return {Kind::gps, a, b, "", 0.0, cov, 0.0};
}
inline Obs lev(const std::string& a, const std::string& b, double sigma = 0.002) {
    return {Kind::level, a, b, "", sigma, {}, 0.0};
}

// Correlated covariance of a vector: sigmas sX, sY, sZ and correlations.
inline std::array<double, 6> covariance(double sX, double sY, double sZ, double rXY, double rXZ,
                                        double rYZ) {
    return {sX * sX, sY * sY, sZ * sZ, rXY * sX * sY, rXZ * sX * sZ, rYZ * sY * sZ};
}

// Three fixed stations, three new ones: distances, angles, zeniths and one
// azimuth with a stored convergence.
inline Network terrestrial() {
    Network net;
    net.stations = {fixedAt("A", near(0, 0, 1600)),
                    fixedAt("B", near(620, 180, 1612)),
                    fixedAt("C", near(-90, 710, 1595)),
                    unknownAt("P1", near(310, 420, 1630), {0.4, -0.3, 0.5}),
                    unknownAt("P2", near(520, 640, 1641), {-0.2, 0.6, -0.4}),
                    unknownAt("P3", near(180, 900, 1622), {0.3, 0.2, 0.3})};
    net.obs = {dist("A", "P1"),       dist("B", "P1"),
               dist("P1", "P2"),      dist("B", "P2"),
               dist("P2", "P3"),      dist("C", "P3"),
               dist("P1", "P3"),      dist("C", "P1"),
               ang("A", "P1", "B"),   ang("B", "P1", "P2"),
               ang("P1", "P2", "P3"), ang("P2", "P3", "C"),
               ang("C", "A", "P1"),   azi("A", "B", 3.0, 0.012),
               zen("A", "P1"),        zen("P1", "P2"),
               zen("P2", "P3"),       zen("C", "P3"),
               zen("B", "P1"),        zen("P1", "A")};
    return net;
}

// One fixed station and four new ones joined by correlated GPS vectors only.
inline Network gpsOnly() {
    Network net;
    net.seed = 11;
    net.stations = {fixedAt("G1", near(0, 0, 1500)),
                    unknownAt("G2", near(4200, 1500, 1530), {1.2, -0.8, 0.9}),
                    unknownAt("G3", near(2500, 6100, 1490), {-0.7, 1.1, -1.0}),
                    unknownAt("G4", near(-3100, 5200, 1555), {0.5, 0.5, 0.5}),
                    unknownAt("G5", near(-2000, -2600, 1510), {-1.0, -0.4, 0.8})};
    net.obs = {gps("G1", "G2", covariance(0.004, 0.005, 0.006, 0.3, -0.2, 0.4)),
               gps("G2", "G3", covariance(0.005, 0.004, 0.007, -0.1, 0.25, 0.2)),
               gps("G3", "G4", covariance(0.006, 0.005, 0.006, 0.2, 0.1, -0.3)),
               gps("G4", "G1", covariance(0.004, 0.006, 0.005, 0.35, -0.15, 0.1)),
               gps("G1", "G5", covariance(0.005, 0.005, 0.008, 0.1, 0.3, 0.2)),
               gps("G5", "G4", covariance(0.006, 0.004, 0.006, -0.2, 0.2, 0.1)),
               gps("G2", "G4", covariance(0.007, 0.006, 0.008, 0.15, 0.05, 0.25)),
               gps("G5", "G2", covariance(0.005, 0.006, 0.007, 0.2, -0.1, 0.3))};
    return net;
}

// No fixed station: a weighted control station holds the datum, GPS vectors
// and sights tie the rest, levelled height differences join two stations.
inline Network mixed() {
    Network net;
    net.seed = 23;
    net.stations = {controlAt("K1", near(0, 0, 1580), {0.05, -0.04, 0.03}, {0.01, 0.01, 0.01},
                              {0.004, -0.003, 0.006}),
                    controlAt("K2", near(900, 1300, 1610), {-0.03, 0.02, 0.05}, {0.02, 0.02, 0.03},
                              {-0.01, 0.008, -0.012}),
                    unknownAt("M1", near(400, 600, 1602), {0.3, 0.2, -0.2}),
                    unknownAt("M2", near(-200, 1100, 1590), {-0.25, 0.3, 0.2}),
                    unknownAt("M3", near(750, -300, 1575), {0.2, -0.3, 0.25})};
    net.obs = {dist("K1", "M1"),
               dist("M1", "K2"),
               dist("M1", "M2"),
               dist("M2", "K2"),
               dist("K1", "M3"),
               dist("M3", "M1"),
               ang("K1", "M1", "K2"),
               ang("K2", "M1", "M2"),
               ang("M3", "M1", "K1"),
               zen("K1", "M1"),
               zen("M1", "K2"),
               zen("M1", "M2"),
               zen("M3", "M1"),
               gps("K1", "K2", covariance(0.004, 0.005, 0.006, 0.2, -0.1, 0.3)),
               gps("K1", "M2", covariance(0.005, 0.004, 0.007, 0.1, 0.2, -0.2)),
               gps("M3", "K2", covariance(0.006, 0.005, 0.006, -0.25, 0.1, 0.15)),
               lev("K1", "M1"),
               lev("M1", "M2"),
               lev("M3", "K1")};
    return net;
}

} // namespace net3d
