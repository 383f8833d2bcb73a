// Reading and writing 100,000 points through CrdFile, in points per second,
// each beside a plain reference kernel timed in the same iterations: one
// pwrite (or pread) of a 56-byte record per point, the least any
// record-at-a-time file must do. "reference_time_over_ours" is the
// reference's time divided by ours (1 would match the kernel). One thread;
// the files live in a fresh temporary folder removed at exit.

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
#include <vector>

namespace {

constexpr int pointCount = 100000;
constexpr int numericLimit = 99999; // numeric files hold points 1 to 99999
constexpr std::size_t referenceRecord = 56;

// The benchmark's own folder, removed with everything in it at exit.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarnwell-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        folder_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::filesystem::path& path() const { return folder_; }

private:
    std::filesystem::path folder_;
};

std::filesystem::path scratchFolder() {
    static const ScratchFolder folder;
    return folder.path();
}

double secondsOf(const std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// The plain kernel, one system call per record: `count` 56-byte records
// written with pwrite, or read back with pread. Returns its seconds.
double referencePass(int count, bool write) {
    static const std::string path = (scratchFolder() / "reference.bin").string();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0644);
    std::array<char, referenceRecord> record{};
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        const auto offset = static_cast<off_t>(i) * static_cast<off_t>(referenceRecord);
        record[0] = static_cast<char>(i);
        const ssize_t moved = write ? ::pwrite(fd, record.data(), record.size(), offset)
                                    : ::pread(fd, record.data(), record.size(), offset);
        if (moved != static_cast<ssize_t>(referenceRecord))
            std::abort();
        benchmark::DoNotOptimize(record);
    }
    const double seconds = secondsOf(std::chrono::steady_clock::now() - start);
    ::close(fd);
    return seconds;
}

// Our time and the reference's over the same points, summed over the
// iterations; the ratio is the reference's time over ours.
struct Timing {
    double ours = 0.0;
    double reference = 0.0;
    long points = 0;

    void report(benchmark::State& state) const {
        state.counters["points_per_s"] = static_cast<double>(points) / ours;
        state.counters["reference_time_over_ours"] = reference / ours;
    }
};

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
    Timing timing;
    for (auto _ : state) {
        ptbank::CrdFile file;
        const auto start = std::chrono::steady_clock::now();
        writeFile(file, path, type);
        timing.ours += secondsOf(std::chrono::steady_clock::now() - start);
        timing.reference += referencePass(pointsOf(type), true);
        timing.points += pointsOf(type);
    }
    timing.report(state);
}

// Times `pass`, one reading of the whole file that returns the points it
// read, and the reference reading as many records, over the iterations.
template <class Pass> void timeReads(benchmark::State& state, const char* fileName, Pass pass) {
    const int type = static_cast<int>(state.range(0));
    const std::string path = (scratchFolder() / fileName).string();
    ptbank::CrdFile file;
    openWrittenFile(file, path, type);
    referencePass(pointsOf(type), true);
    Timing timing;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int points = pass(file, type);
        timing.ours += secondsOf(std::chrono::steady_clock::now() - start);
        timing.reference += referencePass(points, false);
        timing.points += points;
    }
    timing.report(state);
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

// The names are made before the timing, as the reference has none to make.
void BM_ReadPointsByName(benchmark::State& state) {
    const int type = static_cast<int>(state.range(0));
    std::vector<std::string> names;
    for (int i = 1; i <= pointsOf(type); ++i)
        names.push_back(nameFor(type, i));
    timeReads(state, "byname.crd", [&names](ptbank::CrdFile& file, int) {
        ptbank::crdIoPointRec p;
        for (const std::string& name : names) {
            if (file.read(name, p, 1) != 1)
                std::abort();
        }
        return static_cast<int>(names.size());
    });
}

} // namespace

// Argument: the file type (0 numeric, 1 alphanumeric).
BENCHMARK(BM_WritePoints)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkPoints)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPointsByName)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);
