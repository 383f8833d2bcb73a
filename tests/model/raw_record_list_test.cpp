// The raw-record list: its three cursors on a hand-made list, then thousands
// of mixed operations against a std::vector model with a fixed seed.

#include "model/raw_record.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

rawRec foresight(int n) {
    rawRec r;
    initRawForesight(r);
    setPointName(r.foresightName, "P" + std::to_string(n));
    r.distance = n;
    return r;
}

std::string nameOf(const rawRec& r) {
    return r.foresightName;
}

} // namespace

TEST(RawRecordList, CursorZeroSeeksStepsBothWaysAndReplaces) {
    rawRecList list;
    rawRec r;
    EXPECT_EQ(list.get(r), 1);
    EXPECT_EQ(list.seek(0), 1);
    for (int n = 0; n < 4; ++n)
        ASSERT_EQ(list.append(foresight(n)), 0);
    EXPECT_EQ(list.count(), 4);

    EXPECT_EQ(list.seek(4), 1) << "index equal to count";
    EXPECT_EQ(list.get(r), 1) << "cursor 0 left where it was (empty)";
    ASSERT_EQ(list.seek(3), 0);
    std::vector<std::string> backwards;
    int result = 0;
    while (list.get(r) == 0) {
        backwards.push_back(nameOf(r));
        result = list.back();
        EXPECT_EQ(result, 0);
    }
    EXPECT_EQ(backwards, (std::vector<std::string>{"P3", "P2", "P1", "P0"}));
    EXPECT_EQ(list.cursorIndex(), -1);
    EXPECT_EQ(list.back(), 1) << "already empty";

    ASSERT_EQ(list.seek(2), 0);
    EXPECT_EQ(list.get(r), 0);
    EXPECT_EQ(list.get(r), 0) << "get does not move";
    EXPECT_EQ(list.cursorIndex(), 2);
    EXPECT_EQ(list.advance(), 0);
    EXPECT_EQ(list.replaceAtCursor(foresight(30)), 0);
    EXPECT_EQ(list.advance(), 1) << "off the last record";
    EXPECT_EQ(list.cursorIndex(), 4) << "the position grew all the same";
    EXPECT_EQ(list.get(r), 1);
    EXPECT_EQ(list.advance(), 1);
    EXPECT_EQ(list.replaceAtCursor(foresight(9)), 1);

    ASSERT_EQ(list.seek(3), 0);
    ASSERT_EQ(list.get(r), 0);
    EXPECT_EQ(nameOf(r), "P30");
    EXPECT_EQ(list.count(), 4);
}

TEST(RawRecordList, ForwardScansRunIndependently) {
    rawRecList list;
    for (int n = 0; n < 3; ++n)
        list.append(foresight(n));
    rawRec a;
    rawRec b;
    ASSERT_EQ(list.seek1(0), 0);
    ASSERT_EQ(list.seek2(1), 0);
    ASSERT_EQ(list.getNext1(a), 0);
    ASSERT_EQ(list.getNext2(b), 0);
    EXPECT_EQ(nameOf(a), "P0");
    EXPECT_EQ(nameOf(b), "P1");
    ASSERT_EQ(list.getNext2(b), 0);
    EXPECT_EQ(nameOf(b), "P2");
    EXPECT_EQ(list.getNext2(b), 1);
    EXPECT_EQ(nameOf(b), "P2") << "nothing copied at the end";
    EXPECT_EQ(list.cursorIndex1(), 1);
    ASSERT_EQ(list.getNext1(a), 0);
    EXPECT_EQ(nameOf(a), "P1");
    EXPECT_EQ(list.seek1(3), 1);
    EXPECT_EQ(list.cursorIndex1(), 2) << "unchanged by a seek past the end";
}

TEST(RawRecordList, ClearEmptiesTheCursorsAndAppendWorksAtOnce) {
    rawRecList list;
    list.append(foresight(1));
    list.seek(0);
    list.seek1(0);
    list.clear();
    rawRec r;
    EXPECT_EQ(list.get(r), 1);
    EXPECT_EQ(list.getNext1(r), 1);
    EXPECT_EQ(list.count(), 0);
    ASSERT_EQ(list.append(foresight(2)), 0);
    ASSERT_EQ(list.seek(0), 0);
    EXPECT_EQ(list.back(), 0);
    EXPECT_EQ(list.get(r), 1) << "the first record has no record before it";
}

namespace {

struct cursorModel {
    bool onRecord = false;
    int position = 0;
};

} // namespace

TEST(RawRecordList, AgreesWithAVectorOverMixedOperations) {
    std::mt19937 engine(4101);
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine); };
    rawRecList list;
    std::vector<rawRec> items;
    cursorModel cursors[3];
    const auto size = [&] { return static_cast<int>(items.size()); };

    for (int step = 0; step < 20000; ++step) {
        SCOPED_TRACE(step);
        rawRec out;
        const int which = below(3);
        cursorModel& c = cursors[which];
        switch (below(8)) {
        case 0:
        case 1: {
            const rawRec r = foresight(below(1000));
            ASSERT_EQ(list.append(r), 0);
            items.push_back(r);
            break;
        }
        case 2: {
            const int index = below(size() + 2) - 1;
            const bool ok = index >= 0 && index < size();
            const int result = which == 0   ? list.seek(index)
                               : which == 1 ? list.seek1(index)
                                            : list.seek2(index);
            ASSERT_EQ(result, ok ? 0 : 1);
            if (ok)
                c = {true, index};
            break;
        }
        case 3:
        case 4: {
            const bool on = c.onRecord;
            const rawRec expected = on ? items[c.position] : rawRec{};
            if (which == 0) {
                ASSERT_EQ(list.get(out), on ? 0 : 1);
                ASSERT_EQ(list.advance(), on && c.position + 1 < size() ? 0 : 1);
            } else {
                ASSERT_EQ(which == 1 ? list.getNext1(out) : list.getNext2(out), on ? 0 : 1);
            }
            ASSERT_EQ(out, expected);
            if (on) {
                ++c.position;
                c.onRecord = c.position < size();
            }
            break;
        }
        case 5: {
            const bool on = cursors[0].onRecord;
            ASSERT_EQ(list.back(), on ? 0 : 1);
            if (on) {
                --cursors[0].position;
                cursors[0].onRecord = cursors[0].position >= 0;
            }
            break;
        }
        case 6: {
            const rawRec r = foresight(below(1000));
            ASSERT_EQ(list.replaceAtCursor(r), cursors[0].onRecord ? 0 : 1);
            if (cursors[0].onRecord)
                items[cursors[0].position] = r;
            break;
        }
        case 7:
            if (below(25) == 0) {
                list.clear();
                items.clear();
                for (cursorModel& m : cursors)
                    m = cursorModel{};
            }
            break;
        }
        if (step % 50 == 0 && size() > 0) {
            // The converters' walk: cursor 1 from the start to the end.
            ASSERT_EQ(list.seek1(0), 0);
            std::vector<rawRec> seen;
            while (list.getNext1(out) == 0)
                seen.push_back(out);
            ASSERT_EQ(seen, items);
            cursors[1] = {false, size()};
        }
        ASSERT_EQ(list.count(), size());
        ASSERT_EQ(list.cursorIndex(), cursors[0].position);
        ASSERT_EQ(list.cursorIndex1(), cursors[1].position);
    }
}
