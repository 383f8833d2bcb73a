#include "rw5_test_support.hpp"

#include "input/raw_aliases.hpp"
#include "model/progress.hpp"

namespace {

using namespace rw5test;

using Rw5Alias = Rw5ReaderTest;

// The marker is looked for in the upper-cased description; the point name
// after it keeps its case.
TEST_F(Rw5Alias, MarkerInADescriptionMakesTheForesightAnAlias) {
    ASSERT_EQ(read("alias.rw5", "Same as"), 0);
    ASSERT_EQ(pointAliasList.count(), 1);
    ptAliasRec alias;
    pointAliasList.getAt(0, alias);
    EXPECT_EQ(nameOf(alias.alias), "30");
    EXPECT_EQ(nameOf(alias.pointName), "7");
    const std::vector<rawRec> r = records();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_STREQ(r[1].description, "");
    EXPECT_STREQ(r[2].description, "curb");
    EXPECT_EQ(errorReport(), "");
}

TEST_F(Rw5Alias, WithoutAMarkerDescriptionsStayAsRead) {
    ASSERT_EQ(read("alias.rw5"), 0);
    EXPECT_EQ(pointAliasList.count(), 0);
    EXPECT_STREQ(records()[1].description, "Same as 7");
}

TEST_F(Rw5Alias, MarkerWithoutAPointNameEndsTheRead) {
    ASSERT_EQ(read("alias_without_point.rw5", "same as"), rw5ReadFailed);
    const std::string where = "  File: " + fixture("alias_without_point.rw5") + ", line 4";
    EXPECT_EQ(errorReport(), "Found the alias: SAME AS but no point name: \r\n" + where +
                                 "\r\n"
                                 "\r\n");
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text, "Found the alias: SAME AS but no point name: \n" + where);
    EXPECT_EQ(records().size(), 2u); // the records before it stay; the alias sight is not stored
}

TEST_F(Rw5Alias, AliasForTwoPointsEndsTheRead) {
    ASSERT_EQ(read("alias_for_two_points.rw5", "SAME AS"), rw5ReadFailed);
    EXPECT_EQ(errorReport(), "Invalid Point alias: 30 cannot be alias for two points: 8 & 7\r\n"
                             "  File: " +
                                 fixture("alias_for_two_points.rw5") +
                                 ", line 4\r\n"
                                 "\r\n");
    // The run says no more than the reader: the box names the cause itself.
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0].text, "Invalid Point alias: 30 cannot be alias for two points: 8 & "
                                   "7\n  File: " +
                                       fixture("alias_for_two_points.rw5") + ", line 4");
}

TEST_F(Rw5Alias, ReplacingAliasesListsThemAndRenamesTheirRecords) {
    ASSERT_EQ(read("alias.rw5", "Same as"), 0);
    startProgress(rawDataList.count());
    EXPECT_EQ(replaceRawAliases(), 0);
    EXPECT_EQ(errorReport(), "Point Aliases:\r\n"
                             "  Pt. 30 = Pt. 7\r\n"
                             "\r\n");
    const std::vector<rawRec> r = records();
    EXPECT_EQ(nameOf(r[1].foresightName), "7");
    EXPECT_EQ(nameOf(r[2].foresightName), "31");
}

TEST_F(Rw5Alias, NoAliasesNothingWrittenOrChanged) {
    ASSERT_EQ(read("alias.rw5"), 0);
    EXPECT_EQ(replaceRawAliases(), 1);
    EXPECT_EQ(errorReport(), "");
}

// Every kind of name is replaced: setup station and backsight, foresight,
// coordinate point, both azimuth ends; other names and kinds are left alone.
TEST_F(Rw5Alias, EveryNameOfEveryKindIsReplaced) {
    EXPECT_EQ(addPointAlias("a1", "P1"), "");
    EXPECT_EQ(addPointAlias("A1", "p1"), ""); // the same pair again, in other letter cases
    EXPECT_EQ(addPointAlias("a1", "P2"),
              "Invalid Point alias: a1 cannot be alias for two points: P2 & P1");
    rawRec setup;
    initRawSetup(setup);
    setPointName(setup.stationName, "A1");
    setPointName(setup.backsightName, "a1");
    rawRec coordinate;
    initRawCoord(coordinate);
    setPointName(coordinate.pointName, "a1");
    rawRec azimuth;
    initRawAzimuth(azimuth);
    setPointName(azimuth.fromName, "a1");
    setPointName(azimuth.toName, "B");
    for (const rawRec& r : {setup, coordinate, azimuth})
        rawDataList.append(r);
    ASSERT_EQ(replaceRawAliases(), 0);
    const std::vector<rawRec> r = records();
    EXPECT_EQ(nameOf(r[0].stationName), "P1");
    EXPECT_EQ(nameOf(r[0].backsightName), "P1");
    EXPECT_EQ(nameOf(r[1].pointName), "P1");
    EXPECT_EQ(nameOf(r[2].fromName), "P1");
    EXPECT_EQ(nameOf(r[2].toName), "B");
}

} // namespace
