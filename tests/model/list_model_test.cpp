// Drives each list shape through thousands of mixed operations with a fixed
// seed and checks every result against a plain std::vector model written from
// the rules the lists follow: name keys of 10 characters compared without
// regard to case, cursor numbering and positions, the reversal rules of the
// 2D distances, merging and copying.

#include "model/list_containers.hpp"
#include "model/observation_records.hpp"
#include "model/point_records.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double unset = -999999999.0;
constexpr int operationCount = 20000;

// Names chosen to collide: case variants, and 11-character names that are
// the same point as a 10-character one.
const char* const namePool[] = {"P1",          "p1",        "P2",         "CP10",
                                "cp10",        "Q",         "ABCDEFGHIJ", "abcdefghijK",
                                "ABCDEFGHIJZ", "ABCDEFGHI", "TRAV-3",     "trav-3"};

std::string key(std::string_view name) {
    std::string k(name.substr(0, 10));
    for (char& c : k)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return k;
}

bool same(std::string_view a, std::string_view b) {
    return key(a) == key(b);
}

class dice {
public:
    explicit dice(unsigned seed) : engine_(seed) {}
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }
    int between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(engine_);
    }
    const char* name() { return namePool[below(static_cast<int>(std::size(namePool)))]; }
    double value() { return below(20001) / 100.0 - 100.0; }

private:
    std::mt19937 engine_;
};

// A cursor of the model: the record it stands on is items[position] while
// onRecord holds.
struct cursorModel {
    bool onRecord = false;
    int position = 0;
    bool inUse = false;
};

template <class Record, class List>
void expectSameContents(const List& list, const std::vector<Record>& items) {
    ASSERT_EQ(list.count(), static_cast<int>(items.size()));
    Record out;
    for (int i = 0; i < list.count(); ++i) {
        ASSERT_EQ(list.getAt(i, out), 0);
        ASSERT_EQ(out, items[i]) << "record " << i;
    }
    EXPECT_EQ(list.getAt(list.count(), out), 1);
}

// --- obsList<stationRec> ------------------------------------------------

stationRec randomStation(dice& d) {
    stationRec r;
    setPointName(r.name, d.name());
    r.easting = d.value();
    r.northing = d.value();
    const int types[] = {ptUnknown, ptWeightedControl, ptGiven, ptFixed};
    r.pointType = types[d.below(4)];
    r.description = d.below(2) ? "PIN" : "";
    return r;
}

struct stationModel {
    std::vector<stationRec> items;
    cursorModel cursors[5];

    int indexOf(std::string_view name) const {
        for (std::size_t i = 0; i < items.size(); ++i)
            if (same(items[i].name, name))
                return static_cast<int>(i);
        return -1;
    }
    void clear() {
        items.clear();
        for (cursorModel& c : cursors)
            c = cursorModel{};
    }
    bool valid(int c) const { return c >= 0 && c < 5; }
    int size() const { return static_cast<int>(items.size()); }
};

} // namespace

TEST(ListModel, ObsListOfStationsAgreesWithAVector) {
    dice d(20240611);
    obsList<stationRec> list;
    obsList<stationRec> other;
    stationModel model;
    std::vector<stationRec> otherItems;

    for (int step = 0; step < operationCount; ++step) {
        SCOPED_TRACE(step);
        stationRec out;
        const int c = d.between(-1, 5);
        switch (d.below(17)) {
        case 0:
        case 1:
        case 2: {
            const stationRec r = randomStation(d);
            ASSERT_EQ(list.append(r), 0);
            model.items.push_back(r);
            break;
        }
        case 3: {
            const char* name = d.name();
            const int expected = model.indexOf(name);
            out = stationRec{};
            ASSERT_EQ(list.find(name, out), expected);
            ASSERT_EQ(out, expected < 0 ? stationRec{} : model.items[expected]);
            ASSERT_EQ(list.indexOf(name), expected);
            break;
        }
        case 4: {
            const stationRec r = randomStation(d);
            const int expected = model.indexOf(r.name);
            ASSERT_EQ(list.replace(r), expected);
            if (expected >= 0)
                model.items[expected] = r;
            break;
        }
        case 5: {
            const int start = d.between(-1, model.size());
            int expected = -1;
            for (int k = 0; k < 5; ++k)
                if (!model.cursors[k].inUse) {
                    if (start >= 0 && start < model.size()) {
                        expected = k;
                        model.cursors[k] = {true, start, true};
                    }
                    break;
                }
            ASSERT_EQ(list.openCursor(start), expected);
            break;
        }
        case 6:
            ASSERT_EQ(list.closeCursor(c), 0);
            if (model.valid(c))
                model.cursors[c].inUse = false;
            break;
        case 7: {
            const int index = d.between(-1, model.size());
            const bool ok = model.valid(c) && index >= 0 && index < model.size();
            ASSERT_EQ(list.seekCursor(c, index), ok ? 0 : 1);
            if (ok) {
                model.cursors[c].onRecord = true;
                model.cursors[c].position = index;
            }
            break;
        }
        case 8:
        case 9: {
            const bool on = model.valid(c) && model.cursors[c].onRecord;
            out = stationRec{};
            ASSERT_EQ(list.getAtCursor(c, out), on ? 0 : 1);
            ASSERT_EQ(out, on ? model.items[model.cursors[c].position] : stationRec{});
            ASSERT_EQ(list.advanceCursor(c), on ? 0 : 1);
            if (on) {
                cursorModel& m = model.cursors[c];
                ++m.position;
                m.onRecord = m.position < model.size();
            }
            ASSERT_EQ(list.cursorIndex(c), model.valid(c) ? model.cursors[c].position : -1);
            break;
        }
        case 10: {
            const stationRec r = randomStation(d);
            const bool on = model.valid(c) && model.cursors[c].onRecord;
            ASSERT_EQ(list.replaceAtCursor(c, r), on ? 0 : 1);
            if (on)
                model.items[model.cursors[c].position] = r;
            break;
        }
        case 11: {
            int control = 0;
            for (const stationRec& r : model.items)
                control += r.pointType == ptWeightedControl;
            ASSERT_EQ(list.countControl(), control);
            break;
        }
        case 12: {
            const stationRec r = randomStation(d);
            other.append(r);
            otherItems.push_back(r);
            break;
        }
        case 13:
            list.mergeFrom(other);
            for (const stationRec& r : otherItems)
                if (model.indexOf(r.name) < 0)
                    model.items.push_back(r);
            break;
        case 14:
            if (d.below(8) == 0) {
                list.copyFrom(other);
                model.clear();
                model.items = otherItems;
            }
            break;
        case 15:
            if (d.below(20) == 0) {
                list.clear();
                model.clear();
            }
            if (d.below(10) == 0) {
                other.clear();
                otherItems.clear();
            }
            break;
        case 16: {
            // The standard walk on a fresh cursor sees every record in order.
            int free = -1;
            for (int k = 0; k < 5 && free < 0; ++k)
                if (!model.cursors[k].inUse)
                    free = k;
            const int walker = list.openCursor(0);
            ASSERT_EQ(walker, model.items.empty() ? -1 : free);
            std::vector<stationRec> seen;
            while (list.getAtCursor(walker, out) == 0) {
                seen.push_back(out);
                list.advanceCursor(walker);
            }
            list.closeCursor(walker);
            if (walker >= 0) {
                ASSERT_EQ(seen, model.items);
                model.cursors[walker] = {false, model.size(), false};
            } else {
                ASSERT_TRUE(seen.empty());
            }
            break;
        }
        }
        if (step % 10 == 0) {
            ASSERT_NO_FATAL_FAILURE(expectSameContents(list, model.items));
        }
    }
}

namespace {

// --- seqList<distanceObs2D> ---------------------------------------------

distanceObs2D randomDistance(dice& d) {
    distanceObs2D r;
    setPointName(r.from, d.name());
    setPointName(r.to, d.name());
    r.distance = 100.0 + d.value();
    r.vertDiff = d.below(4) == 0 ? unset : d.value();
    r.stdErrDist = 0.01;
    r.vertType = r.vertDiff > unset ? 0 : -1;
    return r;
}

double negatedWhenSet(double v) {
    return v > unset ? -v : v;
}

struct distanceModel {
    std::vector<distanceObs2D> items;
    cursorModel cursor;

    // First index matching (a, b) in either order, the same order tested first.
    int match(std::string_view a, std::string_view b, bool& reversed) const {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (same(items[i].from, a) && same(items[i].to, b)) {
                reversed = false;
                return static_cast<int>(i);
            }
            if (same(items[i].from, b) && same(items[i].to, a)) {
                reversed = true;
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    int size() const { return static_cast<int>(items.size()); }
};

} // namespace

TEST(ListModel, SeqListOfDistancesAgreesWithAVector) {
    dice d(7151);
    seqList<distanceObs2D> list;
    seqList<distanceObs2D> other;
    distanceModel model;
    distanceModel otherModel;

    for (int step = 0; step < operationCount; ++step) {
        SCOPED_TRACE(step);
        distanceObs2D out;
        switch (d.below(11)) {
        case 0:
        case 1:
        case 2: {
            const distanceObs2D r = randomDistance(d);
            ASSERT_EQ(list.append(r), 0);
            model.items.push_back(r);
            break;
        }
        case 3: {
            const char* a = d.name();
            const char* b = d.name();
            bool reversed = false;
            const int expected = model.match(a, b, reversed);
            out = distanceObs2D{};
            ASSERT_EQ(list.find(a, b, out), expected);
            distanceObs2D wanted;
            if (expected >= 0) {
                wanted = model.items[expected];
                if (reversed)
                    wanted.vertDiff = negatedWhenSet(wanted.vertDiff);
            }
            ASSERT_EQ(out, wanted);
            break;
        }
        case 4: {
            const distanceObs2D r = randomDistance(d);
            bool reversed = false;
            const int expected = model.match(r.from, r.to, reversed);
            ASSERT_EQ(list.replace(r), expected);
            if (expected >= 0) {
                distanceObs2D stored = r;
                if (reversed) {
                    std::copy(std::begin(model.items[expected].from),
                              std::end(model.items[expected].from), stored.from);
                    std::copy(std::begin(model.items[expected].to),
                              std::end(model.items[expected].to), stored.to);
                    stored.vertDiff = negatedWhenSet(r.vertDiff);
                }
                model.items[expected] = stored;
            }
            break;
        }
        case 5: {
            const int index = d.between(-1, model.size());
            const bool ok = index >= 0 && index < model.size();
            ASSERT_EQ(list.seekCursor(index), ok ? 0 : 1);
            if (ok)
                model.cursor = {true, index, false};
            break;
        }
        case 6:
        case 7: {
            const bool on = model.cursor.onRecord;
            out = distanceObs2D{};
            ASSERT_EQ(list.getAtCursor(out), on ? 0 : 1);
            ASSERT_EQ(out, on ? model.items[model.cursor.position] : distanceObs2D{});
            if (d.below(3) == 0) {
                const distanceObs2D r = randomDistance(d);
                ASSERT_EQ(list.replaceAtCursor(r), on ? 0 : 1);
                if (on)
                    model.items[model.cursor.position] = r;
            }
            ASSERT_EQ(list.advanceCursor(), on ? 0 : 1);
            if (on) {
                ++model.cursor.position;
                model.cursor.onRecord = model.cursor.position < model.size();
            }
            ASSERT_EQ(list.cursorIndex(), model.cursor.position);
            break;
        }
        case 8: {
            const distanceObs2D r = randomDistance(d);
            other.append(r);
            otherModel.items.push_back(r);
            if (d.below(4) == 0 && otherModel.size() > 0) {
                const int index = d.below(otherModel.size());
                other.seekCursor(index);
                otherModel.cursor = {true, index, false};
            }
            break;
        }
        case 9:
            if (d.below(6) == 0) {
                list.copyFrom(other);
                model.items = otherModel.items;
                model.cursor.onRecord = false; // a clear leaves the position
                if (otherModel.size() > 0)
                    otherModel.cursor = {false, otherModel.size(), false};
                ASSERT_EQ(other.cursorIndex(), otherModel.cursor.position);
                ASSERT_EQ(other.getAtCursor(out), otherModel.cursor.onRecord ? 0 : 1);
            }
            break;
        case 10:
            if (d.below(20) == 0) {
                list.clear();
                model.items.clear();
                model.cursor.onRecord = false;
            }
            if (d.below(10) == 0) {
                other.clear();
                otherModel.items.clear();
                otherModel.cursor.onRecord = false;
            }
            break;
        }
        if (step % 10 == 0) {
            ASSERT_NO_FATAL_FAILURE(expectSameContents(list, model.items));
        }
    }
}

namespace {

ptDescRec randomDescription(dice& d) {
    ptDescRec r;
    setPointName(r.name, d.name());
    r.description = std::to_string(d.below(1000));
    r.description2 = d.below(2) ? "FOUND" : "";
    return r;
}

int firstNamed(const std::vector<ptDescRec>& items, std::string_view name) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (same(items[i].name, name))
            return static_cast<int>(i);
    return -1;
}

} // namespace

TEST(ListModel, SimpleListOfDescriptionsAgreesWithAVector) {
    dice d(99);
    simpleList<ptDescRec> list;
    std::vector<ptDescRec> items;
    for (int step = 0; step < operationCount; ++step) {
        SCOPED_TRACE(step);
        ptDescRec out;
        switch (d.below(5)) {
        case 0:
        case 1: {
            const ptDescRec r = randomDescription(d);
            ASSERT_EQ(list.append(r), 0);
            items.push_back(r);
            break;
        }
        case 2: {
            const char* name = d.name();
            const int expected = firstNamed(items, name);
            ASSERT_EQ(list.find(name, out), expected);
            ASSERT_EQ(out, expected < 0 ? ptDescRec{} : items[expected]);
            break;
        }
        case 3: {
            const ptDescRec r = randomDescription(d);
            const int expected = firstNamed(items, r.name);
            ASSERT_EQ(list.replace(r), expected);
            if (expected >= 0)
                items[expected] = r;
            break;
        }
        case 4:
            if (d.below(20) == 0) {
                list.clear();
                items.clear();
            }
            break;
        }
        if (step % 10 == 0) {
            ASSERT_NO_FATAL_FAILURE(expectSameContents(list, items));
        }
    }
}
