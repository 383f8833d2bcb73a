// The ISAM engine against std::map and SQLite (an indexed table) on the
// same random keys: inserts of N keys and random lookups among N keys, for
// N from 10,000 to 1,000,000. The time reported is the engine's; the
// counters give its ratio to each reference measured in the same run.
//
// Every store works on files in $TMPDIR (else /tmp) without forcing them to
// disk: the engine writes through to the operating system at once, SQLite
// runs with synchronous=OFF inside one transaction.

#include "ptbank/isam/isam.hpp"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Key = std::array<std::uint8_t, 10>;
using Record = std::array<std::uint8_t, 48>;

constexpr int dataFile = 0;
constexpr int indexFile = 1;
constexpr int lookups = 100000;

std::vector<Key> randomKeys(std::size_t count, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::vector<Key> keys(count);
    for (Key& key : keys)
        for (auto& byte : key)
            byte = static_cast<std::uint8_t>('A' + rng() % 26);
    return keys;
}

fs::path scratch(const std::string& name) {
    const char* tmp = std::getenv("TMPDIR");
    const fs::path folder = fs::path(tmp != nullptr ? tmp : "/tmp") /
                            ("tarnwell-isam-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    fs::remove(folder / name);
    return folder / name;
}

double seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

class IsamStore {
public:
    IsamStore() {
        if (ptbank::isamInit(6, 14, 8) != 0 ||
            ptbank::isamCreateDataFile(dataFile, scratch("b.dat"), 48, 1024, 2) != 0 ||
            ptbank::isamCreateIndexFile(indexFile, scratch("b.idx"), 10, 0, 0, 0, 2048, 2) != 0)
            throw std::runtime_error("ISAM set-up failed: " + std::to_string(ptbank::isamError));
    }
    ~IsamStore() { ptbank::isamRelease(); }

    void insert(const Key& key, const Record& record) {
        const std::uint32_t position = ptbank::isamNewRecord(dataFile);
        ptbank::isamWriteRecord(dataFile, position, record);
        ptbank::isamAddKey(indexFile, key, position, ptbank::isamSplit::half);
    }

    bool find(const Key& key, Record& record) {
        const std::uint32_t position = ptbank::isamFindEqual(indexFile, key);
        return position != 0 && ptbank::isamReadRecord(dataFile, position, record) == 0;
    }
};

class SqliteStore {
public:
    SqliteStore() {
        sqlite3_open(scratch("b.sqlite").c_str(), &db_);
        exec("PRAGMA synchronous=OFF");
        exec("CREATE TABLE points(name BLOB, record BLOB)");
        exec("CREATE UNIQUE INDEX points_name ON points(name)");
        exec("BEGIN");
        sqlite3_prepare_v2(db_, "INSERT INTO points VALUES(?, ?)", -1, &insert_, nullptr);
        sqlite3_prepare_v2(db_, "SELECT record FROM points WHERE name = ?", -1, &select_, nullptr);
    }
    ~SqliteStore() {
        sqlite3_finalize(insert_);
        sqlite3_finalize(select_);
        exec("COMMIT");
        sqlite3_close(db_);
    }

    void insert(const Key& key, const Record& record) {
        sqlite3_bind_blob(insert_, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
        sqlite3_bind_blob(insert_, 2, record.data(), static_cast<int>(record.size()),
                          SQLITE_STATIC);
        sqlite3_step(insert_);
        sqlite3_reset(insert_);
    }

    bool find(const Key& key, Record& record) {
        sqlite3_bind_blob(select_, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
        const bool found = sqlite3_step(select_) == SQLITE_ROW;
        if (found)
            std::memcpy(record.data(), sqlite3_column_blob(select_, 0), record.size());
        sqlite3_reset(select_);
        return found;
    }

private:
    void exec(const char* sql) { sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* select_ = nullptr;
};

class MapStore {
public:
    void insert(const Key& key, const Record& record) { map_.emplace(key, record); }
    bool find(const Key& key, Record& record) {
        const auto it = map_.find(key);
        if (it == map_.end())
            return false;
        record = it->second;
        return true;
    }

private:
    std::map<Key, Record> map_;
};

template <typename Store> double timeInserts(Store& store, const std::vector<Key>& keys) {
    Record record{};
    const auto start = Clock::now();
    for (const Key& key : keys)
        store.insert(key, record);
    return seconds(start);
}

template <typename Store>
double timeLookups(Store& store, const std::vector<Key>& probes, std::size_t& found) {
    Record record{};
    const auto start = Clock::now();
    for (const Key& key : probes)
        found += store.find(key, record) ? 1 : 0;
    return seconds(start);
}

void report(benchmark::State& state, double isam, double map, double sqlite) {
    state.SetIterationTime(isam);
    state.counters["ratio_to_map"] = isam / map;
    state.counters["ratio_to_sqlite"] = isam / sqlite;
}

void IsamInsert(benchmark::State& state) {
    const auto keys = randomKeys(static_cast<std::size_t>(state.range(0)), 1);
    for (auto _ : state) {
        IsamStore isam;
        MapStore map;
        SqliteStore sqlite;
        report(state, timeInserts(isam, keys), timeInserts(map, keys), timeInserts(sqlite, keys));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void IsamLookup(benchmark::State& state) {
    const auto keys = randomKeys(static_cast<std::size_t>(state.range(0)), 1);
    // Half the probes are stored keys, half are absent.
    auto probes = randomKeys(lookups / 2, 2);
    std::mt19937 rng(3);
    for (int i = 0; i < lookups / 2; ++i)
        probes.push_back(keys[rng() % keys.size()]);
    IsamStore isam;
    MapStore map;
    SqliteStore sqlite;
    timeInserts(isam, keys);
    timeInserts(map, keys);
    timeInserts(sqlite, keys);
    std::size_t found = 0;
    for (auto _ : state)
        report(state, timeLookups(isam, probes, found), timeLookups(map, probes, found),
               timeLookups(sqlite, probes, found));
    benchmark::DoNotOptimize(found);
    state.SetItemsProcessed(state.iterations() * lookups);
}

BENCHMARK(IsamInsert)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(IsamLookup)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
