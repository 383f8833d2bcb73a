// Random operations on a data file and its index, checked at every step
// against a std::map holding what the files should hold, with the files
// closed and reopened now and then and their invariants checked after every
// batch.

#include "isam_support.hpp"

#include "ptbank/isam/isam_check.hpp"

#include <array>
#include <map>
#include <optional>
#include <random>

namespace {

using namespace ptbank;
using isamtest::IsamTest;

constexpr int keyLength = 10;
constexpr int recordLength = 16;
constexpr int dataFile = 0;
constexpr int indexFile = 1;
constexpr int batch = 1000;
constexpr int reopenEvery = 5000;
constexpr int keySpace = 6000;

using Key = std::array<std::uint8_t, keyLength>;

struct ModelConfig {
    const char* name;
    int sectors;
    int buffers;
    bool duplicates;
    int keyType;
    int operations;
};

// The engine's order: key types 0, 4, 8 and 12 compare unsigned bytes from
// the first, key type 1 from the last.
struct KeyOrder {
    int keyType;
    bool operator()(const Key& a, const Key& b) const {
        if (keyType == 1)
            return std::lexicographical_compare(a.rbegin(), a.rend(), b.rbegin(), b.rend());
        return a < b;
    }
};

// Where the model's walk stands: on `key`, or (after a missed exact find)
// just before where `key` would be.
struct Cursor {
    Key key;
    bool between;
};

class ModelRun {
public:
    explicit ModelRun(const ModelConfig& config)
        : config_(config), model_(KeyOrder{config.keyType}), rng_(20240611) {}

    void run(const isamtest::fs::path& data, const isamtest::fs::path& index) {
        data_ = data;
        index_ = index;
        ASSERT_EQ(isamCreateDataFile(dataFile, data_, recordLength, 1024, isamMode::permanent), 0);
        ASSERT_EQ(isamCreateIndexFile(indexFile, index_, keyLength, config_.keyType,
                                      config_.duplicates ? 1 : 0, 0, 2048, isamMode::permanent),
                  0);
        for (int step = 1; step <= config_.operations; ++step) {
            SCOPED_TRACE("operation " + std::to_string(step));
            randomOperation();
            if (::testing::Test::HasFatalFailure() || ::testing::Test::HasNonfatalFailure())
                return;
            if (step % batch == 0)
                checkInvariants();
            if (step % reopenEvery == 0)
                reopen();
        }
        EXPECT_GT(model_.size(), 1000u) << "the run should build a tree several levels deep";
    }

private:
    // Keys from an alphabet that holds the bytes where signed and unsigned
    // comparison part, drawn from a space small enough to repeat.
    Key keyNumber(int n) const {
        static constexpr std::uint8_t alphabet[] = {0x00, 0x01, 0x41, 0x7F, 0x80, 0xFE, 0xFF};
        std::uint64_t h = static_cast<std::uint64_t>(n) * 0x9E3779B97F4A7C15ull + 12345;
        Key key{};
        for (auto& byte : key) {
            h ^= h >> 29;
            h *= 0xBF58476D1CE4E5B9ull;
            byte = alphabet[(h >> 33) % std::size(alphabet)];
        }
        key[0] = key[0] == 0xFF ? 0xFE : key[0]; // never the all-0xFF edge key
        return key;
    }

    Key randomKey() { return keyNumber(std::uniform_int_distribution<int>(0, keySpace - 1)(rng_)); }

    // Under duplicates half the targets are stored keys, so equality is met.
    Key randomTarget() {
        if (config_.duplicates && !model_.empty() && coin(0.5)) {
            auto it = model_.lower_bound(randomKey());
            if (it == model_.end())
                it = model_.begin();
            return it->first;
        }
        return randomKey();
    }

    bool coin(double p) { return std::bernoulli_distribution(p)(rng_); }

    Key stored(Key key, std::uint32_t position) const {
        if (config_.duplicates)
            for (int i = 0; i < 4; ++i)
                key[static_cast<std::size_t>(keyLength - 4 + i)] =
                    static_cast<std::uint8_t>(position >> (24 - 8 * i));
        return key;
    }

    void randomOperation() {
        const int pick = std::uniform_int_distribution<int>(0, 99)(rng_);
        if (pick < 35)
            add();
        else if (pick < 55)
            remove();
        else if (pick < 63)
            findEqual();
        else if (pick < 69)
            findRelative(0);
        else if (pick < 75)
            findRelative(1);
        else if (pick < 81)
            findRelative(-1);
        else if (pick < 83)
            first();
        else if (pick < 85)
            last();
        else if (pick < 93)
            step(1);
        else
            step(-1);
    }

    void add() {
        const Key key = randomKey();
        const std::uint32_t position = isamNewRecord(dataFile);
        ASSERT_NE(position, 0u) << isamError;
        const Key full = stored(key, position);
        if (model_.count(full) != 0) {
            ASSERT_EQ(isamAddKey(indexFile, full, 77, isamSplit::half), isamErr::keyExists);
            ASSERT_EQ(isamReleaseRecord(dataFile, position), 0);
            expectRecord(full, model_.at(full));
            return;
        }
        std::array<std::uint8_t, recordLength> record{};
        std::copy(full.begin(), full.end(), record.begin());
        record[keyLength] = static_cast<std::uint8_t>(position);
        ASSERT_EQ(isamWriteRecord(dataFile, position, record), 0);
        const int splitMode = std::uniform_int_distribution<int>(0, 2)(rng_);
        ASSERT_EQ(isamAddKey(indexFile, key, position, splitMode), 0);
        model_[full] = position;
        cursor_.reset();
    }

    void remove() {
        const bool existing = !model_.empty() && coin(0.7);
        auto it = existing ? model_.lower_bound(randomKey()) : model_.end();
        if (existing && it == model_.end())
            it = model_.begin();
        if (it == model_.end()) {
            const Key key = randomKey();
            if (model_.count(stored(key, 12345)) == 0) {
                ASSERT_EQ(isamDeleteKey(indexFile, key, 12345), isamErr::keyNotFound);
            }
            return;
        }
        const auto [key, position] = *it;
        if (!config_.duplicates && coin(0.05)) {
            ASSERT_EQ(isamDeleteKey(indexFile, key, position + recordLength),
                      isamErr::keyPositionDiffers);
            return;
        }
        ASSERT_EQ(isamDeleteKey(indexFile, key, position), 0);
        ASSERT_EQ(isamReleaseRecord(dataFile, position), 0);
        model_.erase(it);
        cursor_.reset();
    }

    void findEqual() {
        const Key target = randomTarget();
        const auto it = model_.find(target);
        const std::uint32_t got = isamFindEqual(indexFile, target);
        ASSERT_EQ(isamError, 0);
        ASSERT_EQ(got, it == model_.end() ? 0u : it->second);
        cursor_ = Cursor{target, it == model_.end()};
    }

    // direction 0: at least, 1: greater, -1: less.
    void findRelative(int direction) {
        const Key target = randomTarget();
        Key out{};
        std::uint32_t got = 0;
        auto expected = model_.end();
        if (direction == 0) {
            got = isamFindAtLeast(indexFile, target, out);
            expected = model_.lower_bound(target);
        } else if (direction == 1) {
            got = isamFindGreater(indexFile, target, out);
            expected = model_.upper_bound(target);
        } else {
            got = isamFindLess(indexFile, target, out);
            expected = before(model_.lower_bound(target));
        }
        expectResult(got, out, expected);
    }

    void first() {
        Key out{};
        expectResult(isamFirstKey(indexFile, out), out, model_.begin());
    }

    void last() {
        Key edge;
        edge.fill(0xFF);
        Key out{};
        expectResult(isamFindLess(indexFile, edge, out), out, before(model_.end()));
    }

    void step(int direction) {
        if (!cursor_)
            return;
        Key out{};
        if (direction > 0) {
            const std::uint32_t got = isamNextKey(indexFile, out);
            expectResult(got, out,
                         cursor_->between ? model_.lower_bound(cursor_->key)
                                          : model_.upper_bound(cursor_->key));
        } else {
            const std::uint32_t got = isamPrevKey(indexFile, out);
            expectResult(got, out, before(model_.lower_bound(cursor_->key)));
        }
    }

    using Iterator = std::map<Key, std::uint32_t, KeyOrder>::iterator;

    Iterator before(Iterator it) { return it == model_.begin() ? model_.end() : std::prev(it); }

    void expectResult(std::uint32_t got, const Key& out, Iterator expected) {
        ASSERT_EQ(isamError, 0);
        if (expected == model_.end()) {
            ASSERT_EQ(got, 0u);
            ASSERT_EQ(out[0], 0);
            cursor_.reset();
            return;
        }
        ASSERT_EQ(got, expected->second);
        ASSERT_EQ(out, expected->first);
        expectRecord(expected->first, got);
        cursor_ = Cursor{expected->first, false};
    }

    void expectRecord(const Key& key, std::uint32_t position) {
        std::array<std::uint8_t, recordLength> record{};
        ASSERT_EQ(isamReadRecord(dataFile, position, record), 0);
        ASSERT_TRUE(std::equal(key.begin(), key.end(), record.begin()));
        ASSERT_EQ(record[keyLength], static_cast<std::uint8_t>(position));
    }

    void checkInvariants() {
        const IsamCheckReport report = isamCheckPair(dataFile, indexFile);
        ASSERT_TRUE(report.ok()) << report.text();
    }

    void reopen() {
        ASSERT_EQ(isamCloseFile(dataFile, 1), 0);
        ASSERT_EQ(isamCloseFile(indexFile, 1), 0);
        ASSERT_EQ(isamOpenFile(dataFile, data_, isamMode::permanent), 0);
        ASSERT_EQ(isamOpenFile(indexFile, index_, isamMode::permanent), 0);
        cursor_.reset();
        checkInvariants();
    }

    ModelConfig config_;
    std::map<Key, std::uint32_t, KeyOrder> model_;
    std::mt19937 rng_;
    std::optional<Cursor> cursor_;
    isamtest::fs::path data_;
    isamtest::fs::path index_;
};

void PrintTo(const ModelConfig& config, std::ostream* out) {
    *out << config.name;
}

class IsamModel : public IsamTest, public ::testing::WithParamInterface<ModelConfig> {};

TEST_P(IsamModel, AgreesWithAMapAtEveryStep) {
    const ModelConfig& config = GetParam();
    startEngine(config.buffers, 4, config.sectors);
    ModelRun(config).run(file("points.dat"), file("points.idx"));
}

// 128-byte nodes (7 keys a leaf) give deep trees and many splits; 1024-byte
// nodes are what the point database uses.
INSTANTIATE_TEST_SUITE_P(
    Configurations, IsamModel,
    ::testing::Values(ModelConfig{"SmallNodesUnique", 1, 3, false, 0, 100000},
                      ModelConfig{"PointDatabaseNodes", 8, 6, false, 0, 40000},
                      ModelConfig{"DuplicatesReverseKeys", 1, 4, true, 1, 40000},
                      // Compressed entries: both counts, leading only
                      // with duplicates, trailing only in large nodes.
                      ModelConfig{"CompressedUnique", 1, 3, false, 12, 60000},
                      ModelConfig{"CompressedLeadingDuplicates", 1, 4, true, 4, 40000},
                      ModelConfig{"CompressedTrailingPointDatabaseNodes", 8, 6, false, 8, 40000}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
