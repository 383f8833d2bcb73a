#pragma once
// Test networks for the horizontal adjustment, described once and turned both
// into the program-wide 2D lists (what the adjustment reads) and into an
// independent dense Gauss-Newton solution written here: its own observation
// functions and partial derivatives (angles in radians, not seconds), dense
// normal equations in long double solved by its own Cholesky, Q by solving
// for the unit vectors, ellipses from the eigenvalues of each 2 x 2 block and
// the closed-form F quantile. Nothing of the adjustment's code is used.

#include "model/program_lists.hpp"
#include "support/angles.hpp"

#include <array>
#include <cctype>
#include <cmath>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace testnet {

using testsupport::pi;
inline constexpr double rho = 648000.0 / pi; // seconds of arc per radian

enum class Kind { distance, angle, azimuth, gps };

struct Point {
    std::string name;
    double e = 0.0, n = 0.0;           // true position
    int type = 4;                      // 0 unknown, 1 weighted control, 4 fixed
    double sigmaE = 0.0, sigmaN = 0.0; // weighted control
    double startE = 0.0, startN = 0.0; // offset of the starting position from the truth
    double givenE = 0.0, givenN = 0.0; // offset of the control value from the truth
};

struct Obs {
    Kind kind;
    std::vector<std::string>
        at;              // distance/azimuth/gps: from, to; angle: backsight, instrument, foresight
    double sigma = 0.0;  // metres, or seconds of arc; gps: sigma of the easting component
    double sigma2 = 0.0; // gps: sigma of the northing component
    double correlation = 0.0; // gps
    double blunder = 0.0;     // added to the observed value (m or seconds; gps: its easting)
};

struct Network {
    std::vector<Point> points;
    std::vector<Obs> obs;
    unsigned seed = 1;
    double lengthScale = 1.0; // lists get every length divided by it (0.3048006096012192: US feet)
    double noiseScale = 1.0;  // 0: the observations are exact
};

inline double normalized(double a) {
    a = std::fmod(a, 2.0 * pi);
    return a < 0.0 ? a + 2.0 * pi : a;
}

inline double azimuthOf(double e1, double n1, double e2, double n2) {
    return normalized(std::atan2(e2 - e1, n2 - n1));
}

// Names compare without regard to ASCII case, as the lists compare them.
inline bool sameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

inline const Point& pointNamed(const Network& net, const std::string& name) {
    for (const Point& p : net.points)
        if (sameText(p.name, name))
            return p;
    throw std::runtime_error("no point " + name);
}

// The observed values: the truth plus seeded normal noise of the observation's sigma.
struct Observed {
    double value = 0.0;  // metres or radians
    double value2 = 0.0; // gps northing component
};

inline std::vector<Observed> observe(const Network& net) {
    std::mt19937 random(net.seed);
    std::normal_distribution<double> normal(0.0, 1.0);
    const auto unit = [&](std::mt19937& r) { return net.noiseScale * normal(r); };
    std::vector<Observed> values;
    for (const Obs& o : net.obs) {
        const Point& a = pointNamed(net, o.at[0]);
        const Point& b = pointNamed(net, o.at[1]);
        Observed v;
        switch (o.kind) {
        case Kind::distance:
            v.value = std::hypot(b.e - a.e, b.n - a.n) + o.sigma * unit(random) + o.blunder;
            break;
        case Kind::azimuth:
            v.value = normalized(azimuthOf(a.e, a.n, b.e, b.n) + o.sigma / rho * unit(random) +
                                 o.blunder / rho);
            break;
        case Kind::angle: {
            const Point& f = pointNamed(net, o.at[2]);
            v.value = normalized(azimuthOf(b.e, b.n, f.e, f.n) - azimuthOf(b.e, b.n, a.e, a.n) +
                                 o.sigma / rho * unit(random) + o.blunder / rho);
            break;
        }
        case Kind::gps: {
            const double z1 = unit(random), z2 = unit(random);
            const double r = o.correlation;
            v.value = b.e - a.e + o.sigma * z1 + o.blunder;
            v.value2 = b.n - a.n + o.sigma2 * (r * z1 + std::sqrt(1.0 - r * r) * z2);
            break;
        }
        }
        values.push_back(v);
    }
    return values;
}

// Fills the 2D lists (lengths divided by `lengthScale`) and the counts.
inline void fillLists(const Network& net) {
    resetProgramLists();
    const double s = net.lengthScale;
    int unknowns = 0, rows = 0;
    for (const Point& p : net.points) {
        coordRec r;
        setPointName(r.name, p.name);
        r.pointType = p.type;
        if (p.type == 4) {
            r.easting = p.e / s;
            r.northing = p.n / s;
            fixedPointList2D.append(r);
            continue;
        }
        r.easting = (p.e + p.startE) / s;
        r.northing = (p.n + p.startN) / s;
        pointList2D.append(r);
        unknowns += 2;
        if (p.type == 1) {
            coordRec c = r;
            c.easting = (p.e + p.givenE) / s;
            c.northing = (p.n + p.givenN) / s;
            c.stdErrE = p.sigmaE / s;
            c.stdErrN = p.sigmaN / s;
            controlPointList2D.append(c);
            rows += 2;
        }
    }
    const std::vector<Observed> values = observe(net);
    for (std::size_t i = 0; i < net.obs.size(); ++i) {
        const Obs& o = net.obs[i];
        switch (o.kind) {
        case Kind::distance: {
            distanceObs2D d;
            setPointName(d.from, o.at[0]);
            setPointName(d.to, o.at[1]);
            d.distance = values[i].value / s;
            d.stdErrDist = o.sigma / s;
            distanceList2D.append(d);
            ++rows;
            break;
        }
        case Kind::angle: {
            angleObs2D a;
            setPointName(a.backsight, o.at[0]);
            setPointName(a.instrument, o.at[1]);
            setPointName(a.foresight, o.at[2]);
            a.angle = values[i].value;
            a.stdErr = o.sigma;
            angleList2D.append(a);
            ++rows;
            break;
        }
        case Kind::azimuth: {
            azimuthObs z;
            setPointName(z.from, o.at[0]);
            setPointName(z.to, o.at[1]);
            z.azimuth = values[i].value;
            z.stdErr = o.sigma;
            azimuthList2D.append(z);
            ++rows;
            break;
        }
        case Kind::gps: {
            gpsVectorRec g;
            setPointName(g.from, o.at[0]);
            setPointName(g.to, o.at[1]);
            g.dX = values[i].value / s;
            g.dY = values[i].value2 / s;
            g.varX = o.sigma * o.sigma / (s * s);
            g.varY = o.sigma2 * o.sigma2 / (s * s);
            g.covXY = o.correlation * o.sigma * o.sigma2 / (s * s);
            gpsVectorList2D.append(g);
            rows += 2;
            break;
        }
        }
    }
    unknownCount = unknowns;
    obsCount = rows;
}

// ---------------------------------------------------------------- reference

using Real = long double;
using Dense = std::vector<std::vector<Real>>;

struct ReferenceRow {
    enum Type { distance, angle, azimuth, controlE, controlN, gpsE, gpsN } type;
    std::array<int, 3> p = {-1, -1, -1}; // indices into Network::points
    Real observed = 0;                   // metres or radians
};

struct Reference {
    std::vector<double> coordinates; // E, N of each adjustable point, metres
    std::vector<double> residuals;   // f(x) - observed; angles and azimuths in seconds
    double referenceVariance = 0;
    std::vector<double> unknownSigmas;     // metres
    std::vector<double> observationSigmas; // metres or seconds
    struct Ellipse {
        double major, minor, orientation;
    };
    std::vector<Ellipse> ellipses;
    std::vector<std::vector<double>> covariance; // s0^2 Q of the unknowns
    int iterations = 0;
};

// The ellipse of the covariance [[a, b], [b, n]] (easting, northing): semi-axes
// the roots of its eigenvalues times `scale`, orientation the azimuth of the
// eigenvector of the larger one, in [0, pi).
inline Reference::Ellipse ellipseOf(Real a, Real b, Real n, Real scale) {
    const Real mid = (a + n) / 2, radius = std::hypot((a - n) / 2, b);
    const Real big = mid + radius, small = mid - radius;
    // Eigenvector of the larger eigenvalue: (b, big - a) in (E, N).
    Real vE = b, vN = big - a;
    if (std::fabs(vE) + std::fabs(vN) < 1e-30L) {
        vE = a >= n ? 1 : 0;
        vN = a >= n ? 0 : 1;
    }
    Real az = std::atan2(vE, vN);
    if (az < 0)
        az += Real(pi);
    if (az >= Real(pi))
        az -= Real(pi);
    return {double(std::sqrt(big) * scale), double(std::sqrt(std::max(small, Real(0))) * scale),
            double(az)};
}

// sqrt(2 F) with F(2, d) upper quantile at p = 0.05: (d/2)(p^(-2/d) - 1).
inline Real confidenceScale95(Real d) {
    return std::sqrt(2 * (d / 2 * (std::pow(Real(0.05), -2 / d) - 1)));
}

// W of the reference: block diagonal, each block one row or the two rows of
// a GPS vector. Units of the reference: 1/m^2, and 1/rad^2 for angles and
// azimuths.
struct ReferenceWeights {
    std::vector<Real> diagonal;
    std::vector<Real> next; // W(r, r + 1)

    Real at(std::size_t r, std::size_t c) const {
        if (r == c)
            return diagonal[r];
        if (c == r + 1)
            return next[r];
        return r == c + 1 ? next[c] : 0;
    }
};

class ReferenceSolver {
public:
    explicit ReferenceSolver(const Network& net) : net_(net) {
        for (std::size_t i = 0; i < net.points.size(); ++i)
            if (net.points[i].type != 4) {
                column_.push_back(static_cast<int>(unknowns_));
                unknowns_ += 2;
            } else {
                column_.push_back(-1);
            }
        buildRows();
    }

    std::size_t unknowns() const { return unknowns_; }
    std::size_t rows() const { return rows_.size(); }

    // Positions (E, N) of every point for the unknown vector x.
    std::vector<std::array<Real, 2>> positions(const std::vector<Real>& x) const {
        std::vector<std::array<Real, 2>> pos;
        for (std::size_t i = 0; i < net_.points.size(); ++i) {
            const Point& p = net_.points[i];
            if (column_[i] < 0)
                pos.push_back({p.e, p.n});
            else
                pos.push_back({x[column_[i]], x[column_[i] + 1]});
        }
        return pos;
    }

    std::vector<Real> start() const {
        std::vector<Real> x(unknowns_);
        for (std::size_t i = 0; i < net_.points.size(); ++i)
            if (column_[i] >= 0) {
                x[column_[i]] = net_.points[i].e + net_.points[i].startE;
                x[column_[i] + 1] = net_.points[i].n + net_.points[i].startN;
            }
        return x;
    }

    // The value of row r at x (metres or radians).
    Real value(std::size_t r, const std::vector<Real>& x) const {
        const auto pos = positions(x);
        const ReferenceRow& row = rows_[r];
        auto az = [&](int a, int b) {
            Real t = std::atan2(pos[b][0] - pos[a][0], pos[b][1] - pos[a][1]);
            return t < 0 ? t + 2 * Real(pi) : t;
        };
        switch (row.type) {
        case ReferenceRow::distance:
            return std::hypot(pos[row.p[1]][0] - pos[row.p[0]][0],
                              pos[row.p[1]][1] - pos[row.p[0]][1]);
        case ReferenceRow::azimuth:
            return az(row.p[0], row.p[1]);
        case ReferenceRow::angle: {
            Real t = az(row.p[1], row.p[2]) - az(row.p[1], row.p[0]);
            return t < 0 ? t + 2 * Real(pi) : t;
        }
        case ReferenceRow::controlE:
            return pos[row.p[0]][0];
        case ReferenceRow::controlN:
            return pos[row.p[0]][1];
        case ReferenceRow::gpsE:
            return pos[row.p[1]][0] - pos[row.p[0]][0];
        case ReferenceRow::gpsN:
            return pos[row.p[1]][1] - pos[row.p[0]][1];
        }
        return 0;
    }

    // f(x) - observed, an angular difference taken into (-pi, pi].
    Real residual(std::size_t r, const std::vector<Real>& x) const {
        Real d = value(r, x) - rows_[r].observed;
        if (rows_[r].type == ReferenceRow::angle || rows_[r].type == ReferenceRow::azimuth) {
            while (d > Real(pi))
                d -= 2 * Real(pi);
            while (d <= -Real(pi))
                d += 2 * Real(pi);
        }
        return d;
    }

    // Analytic partial derivatives of row r at x (per metre; radians per metre).
    std::vector<Real> partials(std::size_t r, const std::vector<Real>& x) const {
        const auto pos = positions(x);
        const ReferenceRow& row = rows_[r];
        std::vector<Real> j(unknowns_, 0);
        auto add = [&](int point, Real dE, Real dN) {
            if (column_[point] >= 0) {
                j[column_[point]] += dE;
                j[column_[point] + 1] += dN;
            }
        };
        // d az(a->b): with dE = Eb - Ea, dN = Nb - Na, az = atan2(dE, dN):
        // d az / d Eb = dN / d^2, d az / d Nb = -dE / d^2, the from point opposite.
        auto azimuthPartials = [&](int a, int b, Real sign) {
            const Real dE = pos[b][0] - pos[a][0], dN = pos[b][1] - pos[a][1];
            const Real d2 = dE * dE + dN * dN;
            add(b, sign * dN / d2, -sign * dE / d2);
            add(a, -sign * dN / d2, sign * dE / d2);
        };
        switch (row.type) {
        case ReferenceRow::distance: {
            const int a = row.p[0], b = row.p[1];
            const Real dE = pos[b][0] - pos[a][0], dN = pos[b][1] - pos[a][1];
            const Real d = std::hypot(dE, dN);
            add(b, dE / d, dN / d);
            add(a, -dE / d, -dN / d);
            break;
        }
        case ReferenceRow::azimuth:
            azimuthPartials(row.p[0], row.p[1], 1);
            break;
        case ReferenceRow::angle:
            azimuthPartials(row.p[1], row.p[2], 1);
            azimuthPartials(row.p[1], row.p[0], -1);
            break;
        case ReferenceRow::controlE:
            add(row.p[0], 1, 0);
            break;
        case ReferenceRow::controlN:
            add(row.p[0], 0, 1);
            break;
        case ReferenceRow::gpsE:
            add(row.p[1], 1, 0);
            add(row.p[0], -1, 0);
            break;
        case ReferenceRow::gpsN:
            add(row.p[1], 0, 1);
            add(row.p[0], 0, -1);
            break;
        }
        return j;
    }

    // How many row units make one unit of the adjustment's listing: seconds
    // of arc per radian for angles and azimuths, 1 for lengths.
    Real listingUnit(std::size_t r) const { return angular(r) ? Real(rho) : 1; }

    // W from the a-priori standard errors: 1/sigma^2 per row, and the
    // inverse covariance block of a GPS vector.
    ReferenceWeights aprioriWeights() const {
        ReferenceWeights w;
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            w.diagonal.push_back(weight(r, r));
            w.next.push_back(r + 1 < rows_.size() ? weight(r, r + 1) : 0);
        }
        return w;
    }

    Reference solve() const { return solve(aprioriWeights()); }

    Reference solve(const ReferenceWeights& w) const {
        Reference out;
        std::vector<Real> x = start();
        const std::size_t u = unknowns_, k = rows_.size();
        Dense N;
        for (int it = 0; it < 50; ++it) {
            N.assign(u, std::vector<Real>(u, 0));
            std::vector<Real> g(u, 0);
            normalEquations(x, w, N, g);
            const std::vector<Real> dx = choleskySolve(N, g);
            Real largest = 0;
            for (std::size_t i = 0; i < u; ++i) {
                x[i] += dx[i];
                largest = std::max(largest, std::fabs(dx[i]));
            }
            out.iterations = it + 1;
            if (largest < 1e-13)
                break;
        }
        N.assign(u, std::vector<Real>(u, 0));
        std::vector<Real> g(u, 0);
        normalEquations(x, w, N, g);
        const Dense Q = inverse(N);
        std::vector<Real> v(k);
        for (std::size_t r = 0; r < k; ++r)
            v[r] = residual(r, x);
        Real vWv = 0;
        for (std::size_t r = 0; r < k; ++r)
            for (std::size_t c = 0; c < k; ++c)
                vWv += v[r] * w.at(r, c) * v[c];
        const Real s02 = vWv / Real(k - u);
        out.referenceVariance = double(s02);
        for (std::size_t i = 0; i < u; ++i) {
            out.coordinates.push_back(double(x[i]));
            out.unknownSigmas.push_back(double(std::sqrt(Q[i][i] * s02)));
        }
        for (std::size_t r = 0; r < k; ++r) {
            const Real unit = listingUnit(r);
            out.residuals.push_back(double(v[r] * unit));
            const std::vector<Real> a = partials(r, x);
            Real aQa = 0;
            for (std::size_t i = 0; i < u; ++i)
                for (std::size_t j = 0; j < u; ++j)
                    if (a[i] != 0 && a[j] != 0)
                        aQa += a[i] * Q[i][j] * a[j];
            out.observationSigmas.push_back(double(std::sqrt(aQa * s02) * unit));
        }
        // Ellipses: eigenvalues of s0^2 times each 2 x 2 block, scaled by
        // sqrt(2 F) with F(2, d) upper quantile = (d/2)(p^(-2/d) - 1), p = 0.05.
        const Real scale = confidenceScale95(Real(k - u));
        for (std::size_t c = 0; c < u; c += 2)
            out.ellipses.push_back(
                ellipseOf(Q[c][c] * s02, Q[c][c + 1] * s02, Q[c + 1][c + 1] * s02, scale));
        for (std::size_t i = 0; i < u; ++i) {
            out.covariance.emplace_back();
            for (std::size_t j = 0; j < u; ++j)
                out.covariance.back().push_back(double(Q[i][j] * s02));
        }
        return out;
    }

private:
    int indexOf(const std::string& name) const {
        for (std::size_t i = 0; i < net_.points.size(); ++i)
            if (net_.points[i].name == name)
                return static_cast<int>(i);
        throw std::runtime_error("no point " + name);
    }

    // Rows in the adjustment's order: distances, angles, azimuths, control, GPS.
    void buildRows() {
        const std::vector<Observed> values = observe(net_);
        auto rowsOfKind = [&](Kind kind, ReferenceRow::Type type) {
            for (std::size_t i = 0; i < net_.obs.size(); ++i) {
                const Obs& o = net_.obs[i];
                if (o.kind != kind)
                    continue;
                ReferenceRow row{type};
                for (std::size_t k = 0; k < o.at.size(); ++k)
                    row.p[k] = indexOf(o.at[k]);
                row.observed = values[i].value;
                rows_.push_back(row);
                const Real sigma =
                    kind == Kind::distance ? Real(o.sigma) : Real(o.sigma) / Real(rho);
                sigmas_.push_back({sigma, 0, 0});
            }
        };
        rowsOfKind(Kind::distance, ReferenceRow::distance);
        rowsOfKind(Kind::angle, ReferenceRow::angle);
        rowsOfKind(Kind::azimuth, ReferenceRow::azimuth);
        for (std::size_t i = 0; i < net_.points.size(); ++i) {
            const Point& p = net_.points[i];
            if (p.type != 1)
                continue;
            rows_.push_back({ReferenceRow::controlE, {int(i), -1, -1}, p.e + p.givenE});
            sigmas_.push_back({p.sigmaE, 0, 0});
            rows_.push_back({ReferenceRow::controlN, {int(i), -1, -1}, p.n + p.givenN});
            sigmas_.push_back({p.sigmaN, 0, 0});
        }
        for (std::size_t i = 0; i < net_.obs.size(); ++i) {
            const Obs& o = net_.obs[i];
            if (o.kind != Kind::gps)
                continue;
            const int a = indexOf(o.at[0]), b = indexOf(o.at[1]);
            rows_.push_back({ReferenceRow::gpsE, {a, b, -1}, values[i].value});
            rows_.push_back({ReferenceRow::gpsN, {a, b, -1}, values[i].value2});
            const Real cov = Real(o.correlation) * o.sigma * o.sigma2;
            sigmas_.push_back({Real(o.sigma), Real(o.sigma2), cov});
            sigmas_.push_back({0, 0, 0});
        }
    }

    bool angular(std::size_t r) const {
        return rows_[r].type == ReferenceRow::angle || rows_[r].type == ReferenceRow::azimuth;
    }

    // W(r, c): 1/sigma^2, and the inverse covariance block of a GPS vector.
    Real weight(std::size_t r, std::size_t c) const {
        const auto block = [&](std::size_t first, std::size_t i, std::size_t j) {
            const Sigma s = sigmas_[first];
            const Real va = s.a * s.a, vb = s.b * s.b, det = va * vb - s.cov * s.cov;
            const Real inv[2][2] = {{vb / det, -s.cov / det}, {-s.cov / det, va / det}};
            return inv[i - first][j - first];
        };
        if (rows_[r].type == ReferenceRow::gpsE || rows_[r].type == ReferenceRow::gpsN) {
            const std::size_t first = rows_[r].type == ReferenceRow::gpsE ? r : r - 1;
            if (c == first || c == first + 1)
                return block(first, r, c);
            return 0;
        }
        return r == c ? 1 / (sigmas_[r].a * sigmas_[r].a) : 0;
    }

    void normalEquations(const std::vector<Real>& x, const ReferenceWeights& weights, Dense& N,
                         std::vector<Real>& g) const {
        const std::size_t k = rows_.size(), u = unknowns_;
        std::vector<std::vector<Real>> J;
        std::vector<Real> v;
        for (std::size_t r = 0; r < k; ++r) {
            J.push_back(partials(r, x));
            v.push_back(residual(r, x));
        }
        for (std::size_t r = 0; r < k; ++r)
            for (std::size_t c = 0; c < k; ++c) {
                const Real w = weights.at(r, c);
                if (w == 0)
                    continue;
                // Zero partials add nothing; skipping them keeps large networks quick.
                for (std::size_t i = 0; i < u; ++i) {
                    if (J[r][i] == 0)
                        continue;
                    g[i] -= J[r][i] * w * v[c];
                    for (std::size_t j = 0; j < u; ++j)
                        if (J[c][j] != 0)
                            N[i][j] += J[r][i] * w * J[c][j];
                }
            }
    }

    static std::vector<Real> choleskySolve(const Dense& N, std::vector<Real> b) {
        return substitute(choleskyFactor(N), std::move(b));
    }

    static Dense choleskyFactor(const Dense& N) {
        const std::size_t n = N.size();
        Dense L(n, std::vector<Real>(n, 0));
        for (std::size_t j = 0; j < n; ++j) {
            Real sum = N[j][j];
            for (std::size_t k = 0; k < j; ++k)
                sum -= L[j][k] * L[j][k];
            L[j][j] = std::sqrt(sum);
            for (std::size_t i = j + 1; i < n; ++i) {
                Real s = N[i][j];
                for (std::size_t k = 0; k < j; ++k)
                    s -= L[i][k] * L[j][k];
                L[i][j] = s / L[j][j];
            }
        }
        return L;
    }

    // L L^T x = b.
    static std::vector<Real> substitute(const Dense& L, std::vector<Real> b) {
        const std::size_t n = L.size();
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t k = 0; k < i; ++k)
                b[i] -= L[i][k] * b[k];
            b[i] /= L[i][i];
        }
        for (std::size_t i = n; i-- > 0;) {
            for (std::size_t k = i + 1; k < n; ++k)
                b[i] -= L[k][i] * b[k];
            b[i] /= L[i][i];
        }
        return b;
    }

    static Dense inverse(const Dense& N) {
        const std::size_t n = N.size();
        Dense Q(n, std::vector<Real>(n, 0));
        const Dense L = choleskyFactor(N);
        for (std::size_t c = 0; c < n; ++c) {
            std::vector<Real> e(n, 0);
            e[c] = 1;
            const std::vector<Real> col = substitute(L, e);
            for (std::size_t r = 0; r < n; ++r)
                Q[r][c] = col[r];
        }
        return Q;
    }

    const Network& net_;
    std::vector<int> column_;
    std::size_t unknowns_ = 0;
    std::vector<ReferenceRow> rows_;
    struct Sigma {
        Real a, b, cov;
    };
    std::vector<Sigma> sigmas_;
};

// ---------------------------------------------------------------- networks

inline Point fixedAt(const std::string& name, double e, double n) {
    return {name, e, n, 4};
}
inline Point unknownAt(const std::string& name, double e, double n, double startE, double startN) {
    Point p{name, e, n, 0};
    p.startE = startE;
    p.startN = startN;
    return p;
}
inline Point controlAt(const std::string& name, double e, double n, double sigma, double givenE,
                       double givenN, double startE, double startN) {
    Point p{name, e, n, 1, sigma, sigma, startE, startN, givenE, givenN};
    return p;
}
inline Obs dist(const std::string& a, const std::string& b, double sigma = 0.005) {
    return {Kind::distance, {a, b}, sigma};
}
inline Obs ang(const std::string& bs, const std::string& at, const std::string& fs,
               double sigma = 3.0) {
    return {Kind::angle, {bs, at, fs}, sigma};
}
inline Obs azi(const std::string& a, const std::string& b, double sigma = 2.0) {
    return {Kind::azimuth, {a, b}, sigma};
}
inline Obs gps(const std::string& a, const std::string& b, double sE, double sN, double r) {
    return {Kind::gps, {a, b}, sE, sN, r};
}

// Two fixed corners, two unknown; every side and diagonal measured, the
// angles between side and diagonal at each corner.
inline Network bracedQuadrilateral() {
    Network n;
    n.points = {fixedAt("A", 1000, 1000), fixedAt("B", 1300, 1020),
                unknownAt("C", 1290, 1310, 0.4, -0.3), unknownAt("D", 990, 1280, -0.25, 0.35)};
    n.obs = {dist("A", "C"),     dist("A", "D"),     dist("B", "C"),     dist("B", "D"),
             dist("C", "D"),     ang("B", "A", "C"), ang("C", "A", "D"), ang("D", "B", "A"),
             ang("C", "B", "D"), ang("A", "C", "B"), ang("D", "C", "A"), ang("B", "D", "C"),
             ang("A", "D", "B")};
    n.seed = 11;
    return n;
}

// From A-B (fixed, B the start) through three new points to C-D (fixed).
inline Network traverseBetweenControl() {
    Network n;
    n.points = {fixedAt("A", 5000, 4800),
                fixedAt("B", 5000, 5000),
                unknownAt("P1", 5180, 5075, 0.2, -0.1),
                unknownAt("P2", 5390, 5060, -0.3, 0.2),
                unknownAt("P3", 5600, 5150, 0.1, 0.3),
                fixedAt("C", 5790, 5100),
                fixedAt("D", 5990, 5130)};
    n.obs = {ang("A", "B", "P1"),  ang("B", "P1", "P2"), ang("P1", "P2", "P3"),
             ang("P2", "P3", "C"), ang("P3", "C", "D"),  dist("B", "P1"),
             dist("P1", "P2"),     dist("P2", "P3"),     dist("P3", "C")};
    n.seed = 22;
    return n;
}

// No fixed point: two weighted control points hold the datum.
inline Network weightedControl() {
    Network n;
    n.points = {controlAt("W1", 2000, 2000, 0.01, 0.004, -0.006, 0.02, -0.01),
                controlAt("W2", 2400, 2050, 0.01, -0.005, 0.003, -0.03, 0.02),
                unknownAt("Q1", 2350, 2380, 0.5, -0.4), unknownAt("Q2", 2030, 2330, -0.3, 0.6)};
    n.obs = {dist("W1", "W2"), dist("W1", "Q1"), dist("W1", "Q2"),      dist("W2", "Q1"),
             dist("W2", "Q2"), dist("Q1", "Q2"), ang("W2", "W1", "Q2"), ang("Q2", "Q1", "W2")};
    n.seed = 33;
    return n;
}

// One fixed point; azimuths give the orientation.
inline Network azimuths() {
    Network n;
    n.points = {fixedAt("A", 3000, 3000), unknownAt("P", 3250, 3100, 0.3, 0.2),
                unknownAt("Q", 3320, 3400, -0.2, 0.4), unknownAt("R", 2950, 3350, 0.4, -0.3)};
    n.obs = {azi("A", "P"),  azi("P", "Q"),  azi("R", "A", 5.0), dist("A", "P"),    dist("P", "Q"),
             dist("Q", "R"), dist("R", "A"), dist("A", "Q"),     ang("P", "Q", "R")};
    n.seed = 44;
    return n;
}

// GPS vectors with correlated components (a full weight block each).
inline Network gpsVectors() {
    Network n;
    n.points = {fixedAt("G0", 10000, 20000), unknownAt("G1", 10500, 20300, 0.2, -0.2),
                unknownAt("G2", 10200, 20800, -0.1, 0.3)};
    n.obs = {gps("G0", "G1", 0.01, 0.012, 0.4), gps("G1", "G2", 0.015, 0.01, -0.3),
             gps("G0", "G2", 0.012, 0.012, 0.2), dist("G1", "G2", 0.01)};
    n.seed = 55;
    return n;
}

} // namespace testnet
