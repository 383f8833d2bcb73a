// The ALTA tolerance test's arithmetic and its table of worst connections.

#include "reports/alta_report.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(AltaReport, AllowableIsToleranceAndPartsPerMillionOfTheDistance) {
    // 0.07 + 200 x 50 / 1e6 = 0.07 + 0.01 = 0.08; an axis of 0.1 is 1.25 of it: it fails.
    const double allowable = altaAllowable(200.0, 0.07, 50);
    EXPECT_NEAR(allowable, 0.08, 1e-15);
    EXPECT_NEAR(altaRatio(0.1, allowable), 1.25, 1e-12);
    EXPECT_GT(altaRatio(0.1, allowable), 1.0);
}

// No tolerance and no ppm (or a negative tolerance) hold only a connection
// without error; a negative allowable must not turn a failure into a pass.
TEST(AltaReport, AnAllowableOfNothingFailsEveryConnectionWithError) {
    const struct {
        double semiMajor, tolerance;
        bool fails;
    } rows[] = {{0.01, 0.0, true}, {0.01, -0.07, true}, {0.0, 0.0, false}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.tolerance);
        const double ratio = altaRatio(r.semiMajor, altaAllowable(100.0, r.tolerance, 0));
        EXPECT_FALSE(std::isnan(ratio));
        EXPECT_EQ(ratio > 1.0, r.fails);
    }
}

altaRptPt row(const char* from, const char* to, double ratio) {
    altaRptPt r{from, to};
    r.semiMajor = ratio;
    r.ratio = ratio;
    return r;
}

std::vector<std::string> order(const std::vector<altaRptPt>& table) {
    std::vector<std::string> names;
    for (const altaRptPt& r : table)
        names.push_back(r.semiMajor > 0 ? r.from + r.to : "");
    return names;
}

TEST(AltaReport, TheTableKeepsTheLargestRatiosLargestFirst) {
    std::vector<altaRptPt> table(3);
    for (const altaRptPt& r : {row("1", "2", 1.5), row("1", "3", 2.0), row("2", "3", 1.5),
                               row("3", "4", 1.2), row("4", "5", 3.0)})
        insertAltaRptPt(table, r);
    // Equal ratios keep their order of arrival; the smallest fell off.
    EXPECT_EQ(order(table), (std::vector<std::string>{"45", "13", "12"}));
}

TEST(AltaReport, AnEmptyTableTakesNothing) {
    std::vector<altaRptPt> table;
    insertAltaRptPt(table, row("1", "2", 2.0));
    EXPECT_TRUE(table.empty());
}

TEST(AltaReport, AConnectionIsKnownEitherWayRoundWithoutCase) {
    std::vector<altaRptPt> table(2);
    insertAltaRptPt(table, row("cp1", "7", 2.0));
    EXPECT_EQ(altaPairIsNew(table, row("7", "CP1", 2.0)), 0);
    EXPECT_EQ(altaPairIsNew(table, row("CP1", "7", 2.0)), 0);
    EXPECT_EQ(altaPairIsNew(table, row("CP1", "8", 2.0)), 1);
}

} // namespace

// A file that repeats names costs the connections of its distinct names.
TEST(AltaReport, EachNameIsTakenOnceWhereItFirstStands) {
    std::vector<AltaEntry> entries;
    for (int i = 0; i < 3; ++i)
        for (const char* name : {"A", "b", "C", "B", "a"})
            entries.push_back({AltaEntry::name, name});
    entries.push_back({AltaEntry::description, "IRON"});
    takeEachAltaNameOnce(entries);
    EXPECT_EQ(entries, (std::vector<AltaEntry>{{AltaEntry::name, "A"},
                                               {AltaEntry::name, "b"},
                                               {AltaEntry::name, "C"},
                                               {AltaEntry::description, "IRON"}}));
}
