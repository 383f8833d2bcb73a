// The rows that take turns to float in mode 10: every row but the weighted
// control, wherever the control rows stand.

#include "run/blunder_passes_shared.hpp"

#include <gtest/gtest.h>

#include <vector>

TEST(FloatingRows, EveryRowButTheWeightedControl) {
    struct Row {
        const char* name;
        int rowCount;
        int controlRowsStart;
        int controlRowCount;
        std::vector<int> floating;
    };
    const Row rows[] = {
        {"no control", 3, 3, 0, {0, 1, 2}},
        {"control first", 4, 0, 2, {2, 3}},
        {"control between sights and vectors", 6, 2, 2, {0, 1, 4, 5}},
        {"control last", 4, 2, 2, {0, 1}},
        {"nothing but control", 2, 0, 2, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(floatingRows(row.rowCount, row.controlRowsStart, row.controlRowCount),
                  row.floating);
    }
}
