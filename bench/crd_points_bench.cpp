// Reading and writing 100,000 points through CrdFile, in points per second,
// each beside the rate of a plain reference kernel measured in the same
// run: one pwrite (or pread) of a 56-byte record per point, the least any
// record-at-a-time file must do. "x_reference" is the ratio of the two.

#include "ptbank/crd_environment.hpp"
#include "ptbank/crd_file.hpp"
#include "ptbank/crd_file_type.hpp"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr int pointCount = 100000;
constexpr int numericLimit = 99999; // numeric files hold points 1 to 99999

std::filesystem::path scratchFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarnwell-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        return std::filesystem::path(pattern);
    }();
    return folder;
}

double secondsOf(const std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Records per second of the plain kernel: write, then read back, `count`
// 56-byte records one system call each.
std::pair<double, double> referenceRates(int count) {
    const std::string path = (scratchFolder() / "reference.bin").string();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    std::array<char, 56> record{};
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        record[0] = static_cast<char>(i);
        if (::pwrite(fd, record.data(), record.size(), static_cast<off_t>(i) * 56) != 56)
            std::abort();
    }
    const auto written = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        if (::pread(fd, record.data(), record.size(), static_cast<off_t>(i) * 56) != 56)
            std::abort();
        benchmark::DoNotOptimize(record);
    }
    const auto read = std::chrono::steady_clock::now();
    ::close(fd);
    std::filesystem::remove(path);
    return {count / secondsOf(written - start), count / secondsOf(read - written)};
}

const std::pair<double, double>& reference() {
    static const std::pair<double, double> rates = referenceRates(pointCount);
    return rates;
}

void report(benchmark::State& state, int points, double seconds, double referenceRate) {
    const double rate = points / seconds;
    state.counters["points_per_s"] = rate;
    state.counters["x_reference"] = rate / referenceRate;
}

ptbank::crdIoPointRec pointNamed(const std::string& name, int i) {
    ptbank::crdIoPointRec p;
    p.fill(1000.0 + i, 2000.0 + i, 100.0 + i * 0.001, name, "bench point", "CP");
    return p;
}

std::string nameFor(int type, int i) {
    std::string name(type == ptbank::crd_type::numeric ? "" : "P");
    return name.append(std::to_string(i));
}

int pointsOf(int type) {
    return type == ptbank::crd_type::numeric ? numericLimit : pointCount;
}

// Writes every point of a new file in ascending order (names of an
// alphanumeric file ascend in the point-name order too).
void writeFile(ptbank::CrdFile& file, const std::string& path, int type) {
    ptbank::setCurrentUserType(ptbank::crd_type::vkNumeric);
    if (file.open(path, 1, type) != 1)
        std::abort();
    for (int i = 1; i <= pointsOf(type); ++i) {
        if (file.write(pointNamed(nameFor(type, i), i), 1, 0, {}) != 1)
            std::abort();
    }
}

// A file of every point, written and then opened again as an existing file.
void openWrittenFile(ptbank::CrdFile& file, const std::string& path, int type) {
    writeFile(file, path, type);
    file.close();
    if (file.open(path, 0, -1) != 1)
        std::abort();
}

void BM_WritePoints(benchmark::State& state) {
    ptbank::crdEnvironment().console = [](std::string_view) {};
    const int type = static_cast<int>(state.range(0));
    const std::string path = (scratchFolder() / "write.crd").string();
    double seconds = 0.0;
    int points = 0;
    for (auto _ : state) {
        ptbank::CrdFile file;
        const auto start = std::chrono::steady_clock::now();
        writeFile(file, path, type);
        seconds += secondsOf(std::chrono::steady_clock::now() - start);
        points += pointsOf(type);
    }
    report(state, points, seconds, reference().first);
}

// Times `pass`, one reading of the whole file that returns the points it
// read, over the benchmark's iterations.
template <class Pass> void timeReads(benchmark::State& state, const char* fileName, Pass pass) {
    const int type = static_cast<int>(state.range(0));
    const std::string path = (scratchFolder() / fileName).string();
    ptbank::CrdFile file;
    openWrittenFile(file, path, type);
    double seconds = 0.0;
    int points = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        points += pass(file, type);
        seconds += secondsOf(std::chrono::steady_clock::now() - start);
    }
    report(state, points, seconds, reference().second);
}

void BM_WalkPoints(benchmark::State& state) {
    timeReads(state, "walk.crd", [](ptbank::CrdFile& file, int) {
        ptbank::crdIoPointRec p;
        int points = 0;
        file.setRange(nullptr);
        while (file.next(p) == 1)
            ++points;
        return points;
    });
}

void BM_ReadPointsByName(benchmark::State& state) {
    timeReads(state, "byname.crd", [](ptbank::CrdFile& file, int type) {
        ptbank::crdIoPointRec p;
        for (int i = 1; i <= pointsOf(type); ++i) {
            if (file.read(nameFor(type, i), p, 1) != 1)
                std::abort();
        }
        return pointsOf(type);
    });
}

} // namespace

// Argument: the file type (0 numeric, 1 alphanumeric).
BENCHMARK(BM_WritePoints)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkPoints)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPointsByName)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);
