// The ISAM engine against SQLite (one table, one unique index) and std::map
// on the same random keys: inserts of N keys and random look-ups among N
// keys, for N from 10,000 to 1,000,000. The time reported is the engine's;
// the counters give the reference's time divided by ours (above 1: the
// engine is faster), summed over every iteration.
//
// Both stores work on the same terms. The engine's inserts end with both
// files closed (every held change written); SQLite's run in one transaction
// and end with its COMMIT. Neither forces data to the disk
// (synchronous=OFF), neither keeps a journal (the engine has none:
// journal_mode=OFF), each holds its file alone (locking_mode=EXCLUSIVE, as
// the engine's process does) and each caches up to 32 MiB of pages (the
// engine's node cache grows to 32 MiB; cache_size=-32768 KiB). Look-ups read the record of each key
// found; SQLite's run in one read transaction. SQLite runs without helper threads, like the engine.
// The files live in a fresh folder under the temporary folder, removed when the program ends.

#include "ptbank/isam/isam.hpp"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <stdlib.h>

#include <array>
#include <chrono>
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

// The benchmark's own folder, removed with everything in it at exit.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "tarnwell-isam-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder");
        folder_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    // A fresh path in the folder: any file left at it is removed.
    fs::path file(const std::string& name) const {
        std::error_code ignored;
        fs::remove(folder_ / name, ignored);
        return folder_ / name;
    }

private:
    fs::path folder_;
};

const ScratchFolder& scratch() {
    static const ScratchFolder folder;
    return folder;
}

double seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

class IsamStore {
public:
    IsamStore() : dataPath_(scratch().file("b.dat")), indexPath_(scratch().file("b.idx")) {
        if (ptbank::isamInit(6, 14, 8) != 0 ||
            ptbank::isamCreateDataFile(dataFile, dataPath_, 48, 1024, 2) != 0 ||
            ptbank::isamCreateIndexFile(indexFile, indexPath_, 10, 0, 0, 0, 2048, 2) != 0)
            throw std::runtime_error("ISAM set-up failed: " + std::to_string(ptbank::isamError));
    }
    ~IsamStore() { ptbank::isamRelease(); }

    void insert(const Key& key, const Record& record) {
        const std::uint32_t position = ptbank::isamNewRecord(dataFile);
        ptbank::isamWriteRecord(dataFile, position, record);
        ptbank::isamAddKey(indexFile, key, position, ptbank::isamSplit::half);
    }

    // The end of the inserts: both files closed, all written.
    void finish() {
        ptbank::isamCloseFile(dataFile, 1);
        ptbank::isamCloseFile(indexFile, 1);
    }

    void reopen() {
        if (ptbank::isamOpenFile(dataFile, dataPath_, 2) != 0 ||
            ptbank::isamOpenFile(indexFile, indexPath_, 2) != 0)
            throw std::runtime_error("ISAM reopen failed: " + std::to_string(ptbank::isamError));
    }

    bool find(const Key& key, Record& record) {
        const std::uint32_t position = ptbank::isamFindEqual(indexFile, key);
        return position != 0 && ptbank::isamReadRecord(dataFile, position, record) == 0;
    }

private:
    fs::path dataPath_;
    fs::path indexPath_;
};

class SqliteStore {
public:
    SqliteStore() : path_(scratch().file("b.sqlite")) {
        if (sqlite3_open(path_.c_str(), &db_) != SQLITE_OK)
            throw std::runtime_error("SQLite open failed");
        setPragma("synchronous", "OFF", "0");
        setPragma("journal_mode", "OFF", "off");
        setPragma("locking_mode", "EXCLUSIVE", "exclusive");
        setPragma("cache_size", "-32768", "-32768");
        setPragma("threads", "0", "0");
        exec("CREATE TABLE points(name BLOB, record BLOB)");
        exec("CREATE UNIQUE INDEX points_name ON points(name)");
        sqlite3_prepare_v2(db_, "INSERT INTO points VALUES(?, ?)", -1, &insert_, nullptr);
        sqlite3_prepare_v2(db_, "SELECT record FROM points WHERE name = ?", -1, &select_, nullptr);
        exec("BEGIN");
    }
    ~SqliteStore() {
        sqlite3_finalize(insert_);
        sqlite3_finalize(select_);
        sqlite3_close(db_);
    }

    void insert(const Key& key, const Record& record) {
        sqlite3_bind_blob(insert_, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
        sqlite3_bind_blob(insert_, 2, record.data(), static_cast<int>(record.size()),
                          SQLITE_STATIC);
        sqlite3_step(insert_);
        sqlite3_reset(insert_);
    }

    // The end of the inserts: the transaction committed.
    void finish() { exec("COMMIT"); }

    // Look-ups run in one read transaction, as a program reading many rows would.
    void reopen() { exec("BEGIN"); }

    bool find(const Key& key, Record& record) {
        sqlite3_bind_blob(select_, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
        const bool found = sqlite3_step(select_) == SQLITE_ROW;
        if (found)
            std::memcpy(record.data(), sqlite3_column_blob(select_, 0), record.size());
        sqlite3_reset(select_);
        return found;
    }

private:
    // Sets a pragma and reads it back: a term SQLite did not take would make
    // the comparison unfair without a sign.
    void setPragma(const std::string& name, const std::string& value, const std::string& taken) {
        exec(("PRAGMA " + name + "=" + value).c_str());
        sqlite3_stmt* query = nullptr;
        sqlite3_prepare_v2(db_, ("PRAGMA " + name).c_str(), -1, &query, nullptr);
        const bool row = sqlite3_step(query) == SQLITE_ROW;
        const auto* text = row ? sqlite3_column_text(query, 0) : nullptr;
        const std::string now = text != nullptr ? reinterpret_cast<const char*>(text) : "";
        sqlite3_finalize(query);
        if (now != taken)
            throw std::runtime_error("SQLite did not take " + name + "=" + value + ": " + now);
    }

    void exec(const char* sql) {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("SQLite failed: ") + sql);
    }

    fs::path path_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* select_ = nullptr;
};

class MapStore {
public:
    void insert(const Key& key, const Record& record) { map_.emplace(key, record); }
    void finish() {}
    void reopen() {}
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
    store.finish();
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

// Times summed over the iterations of one benchmark.
struct Totals {
    double isam = 0.0;
    double map = 0.0;
    double sqlite = 0.0;

    void report(benchmark::State& state) const {
        state.counters["map_time_over_ours"] = map / isam;
        state.counters["sqlite_time_over_ours"] = sqlite / isam;
    }
};

void IsamInsert(benchmark::State& state) {
    const auto keys = randomKeys(static_cast<std::size_t>(state.range(0)), 1);
    Totals totals;
    for (auto _ : state) {
        double isamTime = 0.0;
        {
            IsamStore isam;
            isamTime = timeInserts(isam, keys);
        }
        MapStore map;
        SqliteStore sqlite;
        state.SetIterationTime(isamTime);
        totals.isam += isamTime;
        totals.map += timeInserts(map, keys);
        totals.sqlite += timeInserts(sqlite, keys);
    }
    totals.report(state);
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
    isam.reopen();
    map.reopen();
    sqlite.reopen();
    std::size_t found = 0;
    Totals totals;
    for (auto _ : state) {
        const double isamTime = timeLookups(isam, probes, found);
        state.SetIterationTime(isamTime);
        totals.isam += isamTime;
        totals.map += timeLookups(map, probes, found);
        totals.sqlite += timeLookups(sqlite, probes, found);
    }
    totals.report(state);
    benchmark::DoNotOptimize(found);
    state.SetItemsProcessed(state.iterations() * lookups);
}

BENCHMARK(IsamInsert)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(3)
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
