// BM_Adjustment3D: the three-dimensional adjustment with every report
// section it writes (geographic, grid and earth-centred coordinates, error
// ellipses and the .EEL file, adjusted observations, statistics), from
// starting positions near the truth, on generated networks of 1,000 and
// 20,000 stations.
//
// The network is a grid of stations 150 m apart near 39.7 N, 105 W at
// heights of 1,500 to 1,700 m: distances and zenith angles to the east and
// north neighbours, the angles between neighbours at every station, a GPS
// vector (correlated 3 x 3 covariance) from every fifth station to its
// north-east neighbour, three fixed stations at one corner, seeded noise.
// Each run reports its seconds, `peak_MB` the peak resident memory of the
// run and `seconds_per_n1.5` the total over (n / 1000)^1.5, flat from size to
// size when the time grows as n^1.5, so the sizes are each other's
// reference. BLAS runs on one thread.

#include "adjustment_bench_runs.hpp"
#include "model/program_lists.hpp"
#include "model/settings/global_vars.hpp"
#include "model/station_lists.hpp"
#include "one_thread_main.hpp"
#include "platform/shell_services.hpp"
#include "run/adjustment_3d.hpp"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace adjustment_bench;

constexpr double a = 6378137.0;
constexpr double f = 0.0033528106811836675;
constexpr double e2 = f * (2.0 - f);

using Vec3 = std::array<double, 3>;

struct Truth {
    double lat, lon, h;
    Vec3 xyz;
};

Vec3 toEcef(double lat, double lon, double h) {
    const double n = a / std::sqrt(1.0 - e2 * std::sin(lat) * std::sin(lat));
    return {(n + h) * std::cos(lat) * std::cos(lon), (n + h) * std::cos(lat) * std::sin(lon),
            (n * (1.0 - e2) + h) * std::sin(lat)};
}

// North, east, up of the vector from i to j in the frame of i.
Vec3 localVector(const Truth& i, const Truth& j) {
    const double sp = std::sin(i.lat), cp = std::cos(i.lat);
    const double sl = std::sin(i.lon), cl = std::cos(i.lon);
    const Vec3 d = {j.xyz[0] - i.xyz[0], j.xyz[1] - i.xyz[1], j.xyz[2] - i.xyz[2]};
    return {-sp * cl * d[0] - sp * sl * d[1] + cp * d[2], -sl * d[0] + cl * d[1],
            cp * cl * d[0] + cp * sl * d[1] + sp * d[2]};
}

double azimuth(const Truth& i, const Truth& j) {
    const Vec3 l = localVector(i, j);
    const double t = std::atan2(l[1], l[0]);
    return t < 0 ? t + 2 * pi : t;
}

std::string nameOf(int i) {
    return std::string("S").append(std::to_string(i));
}

class GridNetwork3D {
public:
    GridNetwork3D(int count, unsigned seed)
        : count_(count), side_(static_cast<int>(std::sqrt(static_cast<double>(count)))),
          random_(seed) {
        std::uniform_real_distribution<double> jitter(-20.0, 20.0), height(1500.0, 1700.0);
        const double lat0 = 39.7 * pi / 180.0, lon0 = -105.0 * pi / 180.0;
        for (int i = 0; i < count; ++i) {
            const double n = 150.0 * (i / side_) + jitter(random_);
            const double e = 150.0 * (i % side_) + jitter(random_);
            Truth t{lat0 + n / 6.36e6, lon0 + e / (6.387e6 * std::cos(lat0)), height(random_), {}};
            t.xyz = toEcef(t.lat, t.lon, t.h);
            truth_.push_back(t);
        }
    }

    // Stations at the truth moved up to 5 cm, the three fixed ones at it.
    void fillLists() {
        resetProgramLists();
        std::uniform_real_distribution<double> offset(-0.05, 0.05);
        for (int i = 0; i < count_; ++i) {
            const bool fixed = i == 0 || i == 1 || i == side_;
            Truth t = truth_[static_cast<std::size_t>(i)];
            if (!fixed) {
                t.lat += offset(random_) / 6.36e6;
                t.lon += offset(random_) / 4.9e6;
                t.h += offset(random_);
            }
            stationRec s;
            initStationRec(s);
            setPointName(s.name, nameOf(i));
            s.latitude = t.lat;
            s.longitude = t.lon;
            s.elevation = t.h;
            const Vec3 xyz = toEcef(t.lat, t.lon, t.h);
            s.ecefX = xyz[0];
            s.ecefY = xyz[1];
            s.ecefZ = xyz[2];
            s.easting = s.northing = 0.0;
            s.pointType = fixed ? ptFixed : ptUnknown;
            (fixed ? fixedStationList : stationList).append(s);
        }
        for (int i = 0; i < count_; ++i) {
            for (const int j : {i + 1, i + side_})
                if (j < count_ && !(j == i + 1 && j % side_ == 0)) {
                    addDistance(i, j);
                    addZenith(i, j);
                }
            const std::vector<int> around = neighbours(i);
            for (std::size_t k = 0; around.size() > 1 && k < around.size(); ++k)
                addAngle(around[k], i, around[(k + 1) % around.size()]);
            const int ne = i + side_ + 1;
            if (i % 5 == 0 && ne < count_ && ne % side_ != 0)
                addVector(i, ne);
        }
        countUnknownsObs3D(unknownCount, obsCount);
    }

private:
    std::vector<int> neighbours(int i) const { return gridNeighbours(i, side_, count_); }
    const Truth& at(int i) const { return truth_[static_cast<std::size_t>(i)]; }

    void addDistance(int i, int j) {
        distanceObs d;
        setPointName(d.from, nameOf(i));
        setPointName(d.to, nameOf(j));
        const Vec3 l = localVector(at(i), at(j));
        d.reducedDist =
            std::sqrt(l[0] * l[0] + l[1] * l[1] + l[2] * l[2]) + 0.003 * noise_(random_);
        d.stdErr = 0.003;
        distanceList.append(d);
    }
    void addZenith(int i, int j) {
        verticalObs z;
        setPointName(z.from, nameOf(i));
        setPointName(z.to, nameOf(j));
        const Vec3 l = localVector(at(i), at(j));
        z.zenith = pi / 2 - std::atan2(l[2], std::hypot(l[0], l[1])) +
                   5.0 / secondsPerRadian * noise_(random_);
        z.stdErr = 5.0;
        verticalList.append(z);
    }
    void addAngle(int b, int i, int f) {
        angleObs an;
        setPointName(an.backsight, nameOf(b));
        setPointName(an.instrument, nameOf(i));
        setPointName(an.foresight, nameOf(f));
        const double t = azimuth(at(i), at(f)) - azimuth(at(i), at(b)) +
                         3.0 / secondsPerRadian * noise_(random_);
        an.angle = t < 0 ? t + 2 * pi : t;
        an.stdErr = 3.0;
        angleList.append(an);
    }
    void addVector(int i, int j) {
        gpsVectorRec g;
        setPointName(g.from, nameOf(i));
        setPointName(g.to, nameOf(j));
        const double s = 0.005;
        g.dX = at(j).xyz[0] - at(i).xyz[0] + s * noise_(random_);
        g.dY = at(j).xyz[1] - at(i).xyz[1] + s * noise_(random_);
        g.dZ = at(j).xyz[2] - at(i).xyz[2] + s * noise_(random_);
        g.varX = g.varY = g.varZ = s * s;
        g.covXY = 0.2 * s * s;
        g.covXZ = -0.1 * s * s;
        g.covYZ = 0.3 * s * s;
        gpsVectorList.append(g);
    }

    int count_;
    int side_;
    std::mt19937 random_;
    std::normal_distribution<double> noise_{0.0, 1.0};
    std::vector<Truth> truth_;
};

void BM_Adjustment3D(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    setProject(gridStatePlane83, 502);
    ProjectFolder folder;
    RecordingShell shell;
    const ActiveShellScope activeShell(shell);
    RunContext context{shell};
    context.temporaryFolder = folder.folder();
    GridNetwork3D network(count, 2026);
    timeAdjustment(
        state, count, [&] { network.fillLists(); },
        [&] {
            return adjust3D(context) == adjustment3DConverged
                       ? std::string()
                       : "the 3D adjustment did not converge: " + folder.lastError();
        });
}

BENCHMARK(BM_Adjustment3D)->Arg(1000)->Arg(20000)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    return runOnOneThread(argc, argv);
}
