#pragma once
// Helpers shared by the files of the 2D preliminary coordinates: walks over
// the program-wide lists, the progress bar, the write-back of a placed point
// and the reduction of a distance at a provisional position.

#include "model/list_containers.hpp"
#include "model/observation_records.hpp"
#include "model/point_records.hpp"

#include <string>

namespace prelim2d {

// Visits the records of an obsList in order with a cursor of its own, so it
// may run inside another walk of the same list. `visit(record, index)`
// returns false to stop the walk.
template <class Record, class Visit> void walk(obsList<Record>& list, Visit visit) {
    struct heldCursor {
        obsList<Record>& list;
        int number;
        ~heldCursor() { list.closeCursor(number); }
    } cursor{list, list.openCursor(0)};
    Record record;
    for (int index = 0; list.getAtCursor(cursor.number, record) == 0; ++index) {
        if (!visit(record, index))
            return;
        list.advanceCursor(cursor.number);
    }
}

// The same over a seqList with its one cursor: never nest two walks of the
// same seqList.
template <class Record, class Visit> void walk(seqList<Record>& list, Visit visit) {
    if (list.seekCursor(0) != 0)
        return;
    Record record;
    for (int index = 0; list.getAtCursor(record) == 0; ++index) {
        if (!visit(record, index))
            return;
        list.advanceCursor();
    }
}

// Number of records of the list that `accept` takes.
template <class Record, class Accept> int countWhere(obsList<Record>& list, Accept accept) {
    int count = 0;
    walk(list, [&](const Record& record, int) {
        if (accept(record))
            ++count;
        return true;
    });
    return count;
}

// Visits the records of an obsList in order and writes back, in place, each
// one that `change(record)` changed (returned true for).
template <class Record, class Change> void rewrite(obsList<Record>& list, Change change) {
    const int number = list.openCursor(0);
    Record record;
    while (list.getAtCursor(number, record) == 0) {
        if (change(record))
            list.replaceAtCursor(number, record);
        list.advanceCursor(number);
    }
    list.closeCursor(number);
}

// Posts index x 100 / count to the progress bar and lets the shell's waiting
// events run; a cancel asked for meanwhile ends the run (endRunWhenCancelled).
void postProgress(int index, int count);

std::string nameOf(const pointNameField& field);

// True when `pointList2D` holds a point with an unset easting of a type other
// than carried.
bool needsComputing(const coordRec& point);
// Number of such points.
int countPointsToCompute();

// The point's geoid separation from its position (through the geodetic
// conversion of the project's grid system).
void refreshGeodeticContext(coordRec& point);
// Refreshes the point's geodetic context and writes it into `pointList2D`.
void storePlacedPoint(coordRec& point);

// A record that carries only a height difference has no distance to place
// a point with.
bool hasDistance(const distanceObs2D& line);

// Puts the point at `distance` from `from` in the grid direction `direction`.
void placePolar(coordRec& point, const coordRec& from, double distance, double direction);

// The elevation that a point without one takes from a known point and the
// height difference known -> point; unset when either is.
double carriedElevation(const coordRec& known, double vertDiff);

// Reduces `line` (a copy) to grid and ellipsoid between `known` and the
// provisional position of `point`, which gets its geodetic context there.
// False when an elevation factor cannot be computed.
bool reduceAtProvisionalPosition(coordRec known, coordRec& point, distanceObs2D& line);

// True when the project has a grid system (the distances then need reducing).
bool projectHasGrid();

} // namespace prelim2d
