// The behaviours of the three list shapes that callers rely on: cursor
// numbering, the walk protocol, keys per record type and the reversal rules
// of the 2D distances.

#include "model/list_containers.hpp"
#include "model/observation_records.hpp"
#include "model/point_records.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

stationRec station(const char* name, double easting = 0.0, int type = ptUnknown) {
    stationRec r;
    setPointName(r.name, name);
    r.easting = easting;
    r.pointType = type;
    return r;
}

distanceObs2D distance2D(const char* from, const char* to, double dist, double vertDiff) {
    distanceObs2D r;
    setPointName(r.from, from);
    setPointName(r.to, to);
    r.distance = dist;
    r.vertDiff = vertDiff;
    return r;
}

distanceObs distance3D(const char* from, const char* to, double meanHeightDiff) {
    distanceObs r;
    setPointName(r.from, from);
    setPointName(r.to, to);
    r.meanDist = 100.0;
    r.meanHeightDiff = meanHeightDiff;
    return r;
}

template <class Record> std::vector<std::string> walkNames(obsList<Record>& list) {
    std::vector<std::string> names;
    Record r;
    const int c = list.openCursor(0);
    while (list.getAtCursor(c, r) == 0) {
        names.emplace_back(r.name);
        list.advanceCursor(c);
    }
    list.closeCursor(c);
    return names;
}

constexpr double unset = -999999999.0;

} // namespace

TEST(ObsListCursors, EmptyListWalkSeesNothing) {
    obsList<stationRec> list;
    EXPECT_EQ(list.openCursor(0), -1);
    stationRec r;
    EXPECT_EQ(list.getAtCursor(-1, r), 1);
    EXPECT_EQ(list.advanceCursor(-1), 1);
    EXPECT_EQ(list.replaceAtCursor(-1, r), 1);
    EXPECT_EQ(list.closeCursor(-1), 0);
    EXPECT_TRUE(walkNames(list).empty());
}

TEST(ObsListCursors, FiveCursorsAtMostAndTheLowestFreeIsTaken) {
    obsList<stationRec> list;
    for (const char* name : {"A", "B", "C"})
        list.append(station(name));
    EXPECT_EQ(list.openCursor(3), -1) << "start equal to count";
    EXPECT_EQ(list.openCursor(-1), -1);
    for (int expected = 0; expected < 5; ++expected)
        EXPECT_EQ(list.openCursor(expected % 3), expected) << "failed opens mark nothing";
    EXPECT_EQ(list.openCursor(0), -1) << "a sixth cursor";
    EXPECT_TRUE(walkNames(list).empty()) << "no cursor left: the walk sees nothing";
    list.closeCursor(2);
    EXPECT_EQ(list.openCursor(1), 2);
    EXPECT_EQ(list.cursorIndex(2), 1);
    list.closeCursor(4);
    list.closeCursor(1);
    EXPECT_EQ(list.openCursor(0), 1);
}

TEST(ObsListCursors, CursorsWalkIndependently) {
    obsList<stationRec> list;
    for (const char* name : {"A", "B", "C", "D"})
        list.append(station(name));
    const int first = list.openCursor(0);
    const int second = list.openCursor(2);
    stationRec r;
    list.advanceCursor(first);
    ASSERT_EQ(list.getAtCursor(first, r), 0);
    EXPECT_STREQ(r.name, "B");
    ASSERT_EQ(list.getAtCursor(second, r), 0);
    EXPECT_STREQ(r.name, "C");
    EXPECT_EQ(list.advanceCursor(second), 0);
    EXPECT_EQ(list.advanceCursor(second), 0) << "off the last record";
    EXPECT_EQ(list.cursorIndex(second), 4);
    EXPECT_EQ(list.getAtCursor(second, r), 1);
    EXPECT_EQ(list.advanceCursor(second), 1) << "already at the end";
    EXPECT_EQ(list.cursorIndex(second), 4);
    EXPECT_EQ(list.seekCursor(second, 4), 1) << "past the end: unchanged";
    EXPECT_EQ(list.seekCursor(second, 0), 0);
    r = station("a", 99.0);
    EXPECT_EQ(list.replaceAtCursor(second, r), 0);
    EXPECT_EQ(list.find("A", r), 0);
    EXPECT_EQ(r.easting, 99.0);
}

TEST(ObsListCursors, ClearGivesBackEveryCursor) {
    obsList<stationRec> list;
    list.append(station("A"));
    const int c = list.openCursor(0);
    list.clear();
    list.append(station("B"));
    stationRec r;
    EXPECT_EQ(list.getAtCursor(c, r), 1) << "a cursor must be opened again after a clear";
    EXPECT_EQ(list.openCursor(0), 0) << "the cursor was given back";
    EXPECT_EQ(walkNames(list), std::vector<std::string>{"B"});
}

TEST(ListKeys, NamesAreFoundWithoutRegardToCase) {
    obsList<stationRec> list;
    list.append(station("CP1", 1.0));
    list.append(station("ABCDEFGHIJ", 2.0));
    stationRec r;
    EXPECT_EQ(list.find("cp1", r), 0);
    EXPECT_EQ(r.easting, 1.0);
    EXPECT_EQ(list.indexOf("abcdefghij"), 1);
    EXPECT_EQ(list.indexOf("ABCDEFGHIJK"), 1) << "the 11-character name stored as its first 10";
    EXPECT_EQ(list.indexOf("ABCDEFGHI"), -1);
    EXPECT_EQ(list.find("CP2", r), -1);
    EXPECT_STREQ(r.name, "CP1") << "out untouched when nothing is found";
}

TEST(ListKeys, ReplaceFindsByTheRecordsOwnName) {
    obsList<coordRec> list;
    coordRec a;
    setPointName(a.name, "A");
    list.append(a);
    setPointName(a.name, "B");
    list.append(a);
    a.easting = 5.0;
    setPointName(a.name, "b");
    EXPECT_EQ(list.replace(a), 1);
    setPointName(a.name, "C");
    EXPECT_EQ(list.replace(a), -1);
    coordRec out;
    list.getAt(1, out);
    EXPECT_STREQ(out.name, "b");
    EXPECT_EQ(out.easting, 5.0);
    EXPECT_EQ(list.count(), 2);
}

TEST(ListKeys, AnglesAreFoundByBacksightInstrumentForesight) {
    obsList<angleObs> list;
    angleObs a;
    setPointName(a.backsight, "BS");
    setPointName(a.foresight, "FS");
    setPointName(a.instrument, "IP");
    a.angle = 1.5;
    list.append(a);
    angleObs out;
    EXPECT_EQ(list.find("bs", "ip", "fs", out), 0);
    EXPECT_EQ(out, a);
    EXPECT_EQ(list.find("BS", "FS", "IP", out), -1) << "the record's field order is not the key's";
    EXPECT_EQ(list.find("FS", "IP", "BS", out), -1);
    a.angle = 2.0;
    EXPECT_EQ(list.replace(a), 0);
    list.getAt(0, out);
    EXPECT_EQ(out.angle, 2.0);
}

TEST(ListKeys, ZenithAnglesStoreTheToNameFirst) {
    obsList<verticalObs> list;
    verticalObs v;
    setPointName(v.from, "A");
    setPointName(v.to, "B");
    v.zenith = 1.5;
    list.append(v);
    verticalObs out;
    EXPECT_EQ(list.find("A", "B", out), 0);
    EXPECT_EQ(list.find("B", "A", out), -1);
    v.zenith = 1.6;
    EXPECT_EQ(list.replace(v), 0);
    std::swap(v.from, v.to);
    EXPECT_EQ(list.replace(v), -1);
}

TEST(ListKeys, AzimuthsAndVectorsAreFoundInTheirOwnOrderOnly) {
    seqList<azimuthObs> azimuths;
    azimuthObs az;
    setPointName(az.from, "A");
    setPointName(az.to, "B");
    azimuths.append(az);
    azimuthObs azOut;
    EXPECT_EQ(azimuths.find("a", "b", azOut), 0);
    EXPECT_EQ(azimuths.find("B", "A", azOut), -1);

    seqList<gpsVectorRec> vectors;
    gpsVectorRec v;
    setPointName(v.from, "A");
    setPointName(v.to, "B");
    vectors.append(v);
    gpsVectorRec vOut;
    EXPECT_EQ(vectors.find("A", "B", vOut), 0);
    EXPECT_EQ(vectors.find("B", "A", vOut), -1);
}

TEST(ListKeys, AliasesAreFoundByTheAlias) {
    simpleList<ptAliasRec> aliases;
    ptAliasRec a;
    setPointName(a.alias, "OLD7");
    setPointName(a.pointName, "NEW7");
    aliases.append(a);
    ptAliasRec out;
    EXPECT_EQ(aliases.find("old7", out), 0);
    EXPECT_STREQ(out.pointName, "NEW7");
    EXPECT_EQ(aliases.find("NEW7", out), -1);
}

TEST(Distances3D, FoundEitherWayUnchangedButReplacedOnlyInOrder) {
    obsList<distanceObs> list;
    list.append(distance3D("A", "B", 1.25));
    distanceObs out;
    EXPECT_EQ(list.find("B", "A", out), 0);
    EXPECT_STREQ(out.from, "A");
    EXPECT_EQ(out.meanHeightDiff, 1.25) << "no negation in the 3D chain";
    EXPECT_EQ(list.replace(distance3D("B", "A", -1.25)), -1);
    EXPECT_EQ(list.replace(distance3D("a", "b", 1.30)), 0);
    list.getAt(0, out);
    EXPECT_EQ(out.meanHeightDiff, 1.30);
}

TEST(Distances2D, ReversedFindNegatesASetVerticalDifference) {
    struct Row {
        double stored;
        double reversed;
    };
    const Row rows[] = {{1.25, -1.25}, {-0.5, 0.5}, {0.0, -0.0}, {unset, unset}, {-1e12, -1e12}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored);
        seqList<distanceObs2D> list;
        list.append(distance2D("A", "B", 100.0, row.stored));
        distanceObs2D out;
        ASSERT_EQ(list.find("A", "B", out), 0);
        EXPECT_EQ(out.vertDiff, row.stored);
        ASSERT_EQ(list.find("b", "a", out), 0);
        EXPECT_EQ(out.vertDiff, row.reversed);
        EXPECT_STREQ(out.from, "A") << "the copy keeps the stored names";
        EXPECT_STREQ(out.to, "B");
    }
}

TEST(Distances2D, ReversedReplaceKeepsStoredNamesAndNegates) {
    seqList<distanceObs2D> list;
    list.append(distance2D("X", "Y", 50.0, 0.1));
    list.append(distance2D("A", "B", 100.0, 1.25));
    EXPECT_EQ(list.replace(distance2D("b", "a", 100.02, -1.27)), 1);
    distanceObs2D out;
    list.getAt(1, out);
    EXPECT_STREQ(out.from, "A");
    EXPECT_STREQ(out.to, "B");
    EXPECT_EQ(out.distance, 100.02);
    EXPECT_EQ(out.vertDiff, 1.27);

    EXPECT_EQ(list.replace(distance2D("B", "A", 100.0, unset)), 1);
    list.getAt(1, out);
    EXPECT_EQ(out.vertDiff, unset) << "an unset difference is not negated";
    EXPECT_EQ(list.count(), 2);
}

TEST(Distances2D, TheFirstNodeMatchingEitherWayIsTaken) {
    seqList<distanceObs2D> list;
    list.append(distance2D("B", "A", 100.0, 2.0));
    list.append(distance2D("A", "B", 100.0, 3.0));
    distanceObs2D out;
    EXPECT_EQ(list.find("A", "B", out), 0);
    EXPECT_EQ(out.vertDiff, -2.0);
}

TEST(ListCopies, MergeTakesTheFirstRecordOfEachNewName) {
    obsList<stationRec> into;
    into.append(station("A", 1.0));
    obsList<stationRec> from;
    from.append(station("a", 10.0));
    from.append(station("B", 2.0));
    from.append(station("b", 3.0));
    from.append(station("C", 4.0));
    into.mergeFrom(from);
    EXPECT_EQ(walkNames(into), (std::vector<std::string>{"A", "B", "C"}));
    stationRec r;
    into.find("A", r);
    EXPECT_EQ(r.easting, 1.0) << "records already present stay as they are";
    into.find("B", r);
    EXPECT_EQ(r.easting, 2.0);
    into.mergeFrom(into);
    EXPECT_EQ(into.count(), 3);
}

TEST(ListCopies, CopyReplacesTheContentsAndCopyOntoItselfKeepsThem) {
    obsList<stationRec> into;
    into.append(station("Z"));
    const int c = into.openCursor(0);
    obsList<stationRec> from;
    from.append(station("A", 0.0, ptWeightedControl));
    from.append(station("B", 0.0, ptFixed));
    from.append(station("C", 0.0, ptWeightedControl));
    const int held = from.openCursor(1);
    into.copyFrom(from);
    stationRec r;
    EXPECT_EQ(into.getAtCursor(c, r), 1) << "the copy cleared the list's cursors";
    EXPECT_EQ(walkNames(into), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(into.countControl(), 2);
    EXPECT_EQ(from.cursorIndex(held), 1) << "the source's cursors are not used";
    into.copyFrom(into);
    EXPECT_EQ(into.count(), 3);
}

TEST(ListCopies, SeqListCopyLeavesTheSourceCursorAtItsEnd) {
    seqList<azimuthObs> from;
    azimuthObs az;
    for (const char* to : {"B", "C"}) {
        setPointName(az.from, "A");
        setPointName(az.to, to);
        from.append(az);
    }
    from.seekCursor(0);
    seqList<azimuthObs> into;
    into.copyFrom(from);
    EXPECT_EQ(into.count(), 2);
    EXPECT_EQ(from.cursorIndex(), 2);
    EXPECT_EQ(from.getAtCursor(az), 1);
    azimuthObs out;
    ASSERT_EQ(into.getAt(1, out), 0);
    EXPECT_STREQ(out.to, "C");
    EXPECT_EQ(into.getAt(2, out), 1);
}

TEST(SeqList, TheOneCursorWalksAndReplaces) {
    seqList<distanceObs2D> list;
    distanceObs2D out;
    EXPECT_EQ(list.seekCursor(0), 1);
    EXPECT_EQ(list.getAtCursor(out), 1);
    list.append(distance2D("A", "B", 1.0, unset));
    list.append(distance2D("B", "C", 2.0, unset));
    ASSERT_EQ(list.seekCursor(1), 0);
    EXPECT_EQ(list.cursorIndex(), 1);
    EXPECT_EQ(list.replaceAtCursor(distance2D("B", "C", 2.5, 0.1)), 0);
    EXPECT_EQ(list.advanceCursor(), 0);
    EXPECT_EQ(list.advanceCursor(), 1);
    EXPECT_EQ(list.replaceAtCursor(out), 1);
    list.getAt(1, out);
    EXPECT_EQ(out.distance, 2.5);
    list.clear();
    EXPECT_EQ(list.getAtCursor(out), 1);
    EXPECT_EQ(list.append(distance2D("C", "D", 3.0, unset)), 0);
    EXPECT_EQ(list.count(), 1);
}

TEST(SimpleList, DescriptionsByIndexAndName) {
    simpleList<ptDescRec> list;
    ptDescRec d;
    setPointName(d.name, "P1");
    d.description = "IRON PIN";
    list.append(d);
    d.description2 = "SET";
    EXPECT_EQ(list.replace(d), 0);
    ptDescRec out;
    EXPECT_EQ(list.getAt(0, out), 0);
    EXPECT_EQ(out.description2, "SET");
    EXPECT_EQ(list.getAt(1, out), 1);
    EXPECT_EQ(list.getAt(-1, out), 1);
    EXPECT_EQ(list.find("p1", out), 0);
    list.freeNodes();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.append(d), 0) << "the list stays usable after its teardown";
}

// The point lists find names through an index: it must answer as the walk
// from the head would, through every way a list changes.
TEST(ListKeys, PointNamesStayFoundAsTheListChanges) {
    obsList<stationRec> list;
    list.append(station("A", 1.0));
    list.append(station("B", 2.0));
    list.append(station("a", 3.0)); // the second of one name: never the one found
    stationRec r;
    EXPECT_EQ(list.find("A", r), 0);
    EXPECT_EQ(r.easting, 1.0);

    // A record renamed under a cursor: found by its new name only, and the
    // next record of its old name takes over.
    const int c = list.openCursor(0);
    list.replaceAtCursor(c, station("Z", 4.0));
    list.closeCursor(c);
    EXPECT_EQ(list.indexOf("Z"), 0);
    EXPECT_EQ(list.find("A", r), 2);
    EXPECT_EQ(r.easting, 3.0);
    // Replace by name writes the first record of the name.
    EXPECT_EQ(list.replace(station("a", 7.0)), 2);
    EXPECT_EQ(list.find("A", r), 2);
    EXPECT_EQ(r.easting, 7.0);

    seqList<stationRec> sequence;
    sequence.append(station("P", 1.0));
    sequence.seekCursor(0);
    sequence.replaceAtCursor(station("Q", 1.0));
    EXPECT_EQ(sequence.indexOf("P"), -1);
    EXPECT_EQ(sequence.indexOf("q"), 0);

    obsList<stationRec> copy;
    copy.append(station("OLD"));
    copy.copyFrom(list);
    EXPECT_EQ(copy.indexOf("OLD"), -1);
    EXPECT_EQ(copy.indexOf("B"), 1);
    copy.mergeFrom(sequence);
    EXPECT_EQ(copy.indexOf("Q"), 3);
    list.clear();
    EXPECT_EQ(list.indexOf("B"), -1);
    list.append(station("B"));
    EXPECT_EQ(list.indexOf("b"), 0);
}

// The observation lists visit and search only the records naming a point,
// in list order, as a walk from the head would find them.
TEST(ListKeys, ObservationsNamingAPointAreVisitedInListOrder) {
    obsList<distanceObs2D> list;
    list.append(distance2D("A", "B", 1.0, unset));
    list.append(distance2D("C", "D", 2.0, unset));
    list.append(distance2D("b", "a", 3.0, 0.5)); // the same line measured back
    list.append(distance2D("D", "B", 4.0, unset));
    std::vector<double> seen;
    list.visitNaming("B", [&](const distanceObs2D& d) {
        seen.push_back(d.distance);
        return true;
    });
    EXPECT_EQ(seen, (std::vector<double>{1.0, 3.0, 4.0}));
    seen.clear();
    list.visitNaming("b", [&](const distanceObs2D& d) {
        seen.push_back(d.distance);
        return false; // the first only
    });
    EXPECT_EQ(seen, (std::vector<double>{1.0}));

    distanceObs2D found;
    EXPECT_EQ(list.find("B", "D", found), 3) << "found reversed";
    EXPECT_STREQ(found.from, "D") << "the stored names are kept";
    EXPECT_EQ(list.find("B", "A", found), 0) << "the first record either way";
    EXPECT_EQ(list.find("A", "D", found), -1);

    // Renamed under a cursor: visited under its new names only.
    const int c = list.openCursor(1);
    list.replaceAtCursor(c, distance2D("C", "B", 2.0, unset));
    list.closeCursor(c);
    seen.clear();
    list.visitNaming("B", [&](const distanceObs2D& d) {
        seen.push_back(d.distance);
        return true;
    });
    EXPECT_EQ(seen, (std::vector<double>{1.0, 2.0, 3.0, 4.0}));
    EXPECT_EQ(list.find("D", "C", found), -1);
    list.append(distance2D("E", "B", 5.0, unset));
    EXPECT_EQ(list.find("E", "B", found), 4);
}

// A change through the name index reaches every record naming the point
// (either end, any letter case), in list order, and no other; the records
// stay found by their names afterwards.
TEST(ListKeys, RecordsNamingAPointAreChangedWhereTheyStand) {
    seqList<distanceObs2D> list;
    list.append(distance2D("A", "B", 1.0, 0.1));
    list.append(distance2D("C", "D", 2.0, 0.2));
    list.append(distance2D("b", "E", 3.0, 0.3));
    std::vector<double> order;
    list.changeNaming("B", [&](distanceObs2D& d) {
        order.push_back(d.distance);
        d.vertType = 2;
        return true;
    });
    EXPECT_EQ(order, (std::vector<double>{1.0, 3.0}));
    std::vector<int> types;
    list.visitAll([&](const distanceObs2D& d) { types.push_back(d.vertType); });
    EXPECT_EQ(types[0], 2);
    EXPECT_NE(types[1], 2);
    EXPECT_EQ(types[2], 2);
    distanceObs2D found;
    EXPECT_EQ(list.find("E", "B", found), 2);
    EXPECT_EQ(found.vertType, 2);
}
