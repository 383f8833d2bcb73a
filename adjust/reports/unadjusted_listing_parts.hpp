#pragma once
// Pieces the 2D and 3D unadjusted-observation listings share.

#include "model/list_containers.hpp"
#include "model/observation_records.hpp"
#include "model/progress.hpp"
#include "output/report_writer.hpp"

// Calls `write(record)` for each record of an obsList while the writer has
// not failed. A listing of a big network takes its time: a cancel asked for
// meanwhile ends the run (endRunWhenCancelled), the cursor given back.
template <class Record, class Write> void eachRecord(obsList<Record>& list, Write write) {
    struct heldCursor {
        obsList<Record>& list;
        int number;
        ~heldCursor() { list.closeCursor(number); }
    } cursor{list, list.openCursor(0)};
    Record record;
    while (list.getAtCursor(cursor.number, record) == 0) {
        endRunWhenCancelled();
        write(record);
        list.advanceCursor(cursor.number);
    }
}

// The same for a seqList.
template <class Record, class Write> void eachRecord(seqList<Record>& list, Write write) {
    Record record;
    for (int end = list.seekCursor(0); end == 0; end = list.advanceCursor()) {
        if (list.getAtCursor(record) != 0)
            break;
        endRunWhenCancelled();
        write(record);
    }
}

// The heading and one line per angle of the 2D and 3D angle listings.
void writeAngleRows(ReportWriter& out, obsList<angleObs2D>& angles);
void writeAngleRows(ReportWriter& out, obsList<angleObs>& angles);
// The heading and one line per azimuth.
void writeAzimuthRows(ReportWriter& out, seqList<azimuthObs>& azimuths);
void writeAzimuthRows(ReportWriter& out, obsList<azimuthObs>& azimuths);
// The distance heading of a local system, and one line per distance.
inline constexpr const char* distanceHeading =
    " From Sta.   To Sta.             Dist.        StErr";
std::string distanceRow(const pointNameField& from, const pointNameField& to, double distance,
                        double stdErr);
