#pragma once
// One parsed raw-data record: a setup with its backsight, a foresight, a
// control coordinate, an azimuth or new standard errors, told apart by `kind`.
// The readers append them in file order to a raw-record list; the observation
// builders, the slope reduction, the preliminary coordinates and blunder
// detection walk them afterwards.
//
// The record holds the fields of every kind side by side and is copied whole.
// Lengths are in the project's linear unit (the 3D builders turn them into
// metres in place), angles in radians unless a field says otherwise, and a
// double not yet known holds `notComputed` (set means greater). Names are
// point names of at most 10 characters.

#include "model/point_name.hpp"
#include "model/raw_record_list.hpp"
#include "platform/sentinels.hpp"

#include <string>
#include <string_view>

// The kinds; the numbers are fixed.
enum rawKind : int {
    rawNoKind = -1, // a record no initialiser has given a kind yet
    rawSetup = 0,
    rawForesight = 1,
    rawCoord = 2,
    rawAzimuth = 4,
    rawStdErrs = 5,
};

// Faces of a sight.
enum rawFace : int { faceUnknown = -1, faceDirect = 0, faceReverse = 1 };

// Forms of a sight (`rawRec::sightForm`).
enum rawSightForm : int { sightSlopeZenith = 0, sightHorizVert = 1 };

struct rawRec {
    int kind = rawNoKind;

    // Setup (kind 0): the occupied point, the height of instrument and the
    // backsight with its target height and circle reading.
    pointNameField stationName = {};
    double instrumentHeight = notComputed;
    pointNameField backsightName = {};
    double bsTargetHeight = notComputed;
    double bsHorizontalReading = notComputed;

    // Foresight (kind 1): the target point with its target height and reading.
    pointNameField foresightName = {};
    double targetHeight = notComputed;
    double horizontalReading = notComputed;

    // The sight of a setup (to its backsight) or of a foresight. In records
    // read in the horizontal-distance/vertical-difference form
    // `zenithOrVertDiff` holds the vertical difference and `distance` the
    // horizontal distance as read; otherwise the zenith angle and the slope
    // distance.
    double zenithOrVertDiff = notComputed;
    double distance = notComputed;
    double horizDistance = notComputed; // the sight reduced (slopeToHzVert)
    double vertDifference =
        notComputed; // the sight reduced, with HI and target height when applied
    double vertDiffStdErr = notComputed;
    double distStdErr = notComputed;
    double zenithStdErr = notComputed; // seconds of arc
    double markZenith = notComputed;   // mark to mark, written by the slope reduction
    double markSlopeDistance = notComputed;
    int face = faceUnknown;
    int heightsApplied =
        0; // 1 when HI and target height were known, so vertDifference runs mark to mark
    // How `distance` and `zenithOrVertDiff` were read: the reader of a sight
    // recorded as horizontal distance and vertical difference sets
    // `sightHorizVert`, so the slope reduction does not take a vertical
    // difference for a zenith angle.
    int sightForm = 0; // rawSightForm

    // Foresight (kind 1: at most 100 characters kept, code at most 4) and
    // coordinate (kind 2: at most 170, code at most 4) texts.
    char description[171] = {};
    char code[8] = {};

    // Coordinate (kind 2): any of the three may stay unset.
    pointNameField pointName = {};
    double northing = notComputed;
    double easting = notComputed;
    double elevation = notComputed;

    // Azimuth (kind 4).
    pointNameField fromName = {};
    pointNameField toName = {};
    double azimuth = notComputed;

    // Standard errors (kind 5), in force from this record on; each is unset
    // (keep the current value) or a new value. Seconds of arc for the first
    // five; linear for the centerings, the control errors (-1 free, -2 fixed),
    // the distance constant and the heights; parts per million for the ppm.
    double stErrAz = notComputed;
    double stErrPoint = notComputed;
    double stErrRead = notComputed;
    double vStErrPoint = notComputed;
    double vStErrRead = notComputed;
    double stErrTrgtCentering = notComputed;
    double stErrInstrCentering = notComputed;
    double stErrX = notComputed;
    double stErrY = notComputed;
    double stErrZ = notComputed;
    double stErrDist = notComputed;
    double stErrDistPPM = notComputed;
    double HIStErr = notComputed;
    double rodStErr = notComputed;

    // 1 once the lengths of the record are in metres: the 3D builder turns a
    // record's lengths from the project's unit into metres only while this
    // is 0, so building twice on one loaded list does not convert twice.
    int lengthsInMetres = 0;

    // Where the record was read, for messages: its file (an index of
    // rawSourceFile) and line; -1 and 0 for a record no line of a raw file
    // made.
    int sourceFile = -1;
    int sourceLine = 0;

    friend bool operator==(const rawRec&, const rawRec&) = default;
};

// Notes that `record` was read from line `line` of the raw file `path`.
void setRawRecordSource(rawRec& record, const std::string& path, int line);

// "\nFile: <path>, line <n>" for a record read from a raw file; empty for
// one that was not.
std::string rawRecordPlace(const rawRec& record);

using rawRecList = rawRecListOf<rawRec>;

// The initialisers give the record its kind and a blank payload: every name
// and text empty, every double unset, `face` -1 and `heightsApplied` 0. They
// return the record.
rawRec& initRawSetup(rawRec& record);
rawRec& initRawForesight(rawRec& record);
rawRec& initRawCoord(rawRec& record);
rawRec& initRawStdErrs(rawRec& record);
// Kind 4 with `azimuth` preset to 1.0; the two names are left as they are
// (every caller fills both).
rawRec& initRawAzimuth(rawRec& record);

// The parser of records that carry nothing to store: touches neither the text
// nor the record and returns 1, telling the reader to store nothing.
int ignoreRawRecord(std::string_view text, rawRec& record);
