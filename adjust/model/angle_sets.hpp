#pragma once
// Horizontal angles from the instrument setups of the raw data (`rawDataList`).
//
// A setup record (kind 0) opens a setup and carries the backsight sight; the
// foresight records (kind 1) after it belong to it until the next setup. For
// every point sighted from a setup the direct and reverse circle readings to
// the backsight and to that point are paired, the clockwise angles from
// backsight to foresight averaged, their spread tested against the project's
// `hAngTol`, and the a-priori standard error composed from the pointing,
// reading, target-centering and instrument-centering errors in force. The 3D
// chain appends `angleObs` to `angleList`, the 2D chain `angleObs2D` to
// `angleList2D`.
//
// The builder of the observation lists drives a pass:
//     setupRec setup;  int at;
//     rawDataList.seek(0);
//     while (readNextSetup3D(setup, at) == setupRead) addAngleObs3D(setup, at);
// Cursors of `rawDataList`: 0 for the setups, 1 for collecting readings, 2 for
// the sight lengths.
//
// Standard errors: a reading takes the pointing, reading and target-centering
// errors in force at its own raw record, a setup the instrument-centering
// error in force at its setup record; a standard-error record changes the
// errors from its position on, also when it stands between the foresights of
// a setup. Angles in radians, standard errors of readings and angles in
// seconds of arc, lengths in the raw list's unit.

#include "model/list_containers.hpp"
#include "model/observation_records.hpp"
#include "model/point_name.hpp"

#include <string_view>

// One circle reading of a setup.
struct hzReadingRec {
    double reading = 0.0;            // radians, as recorded
    double pointingErr = 0.0;        // seconds of arc
    double readingErr = 0.0;         // seconds of arc
    double targetCenteringErr = 0.0; // linear
    int face = -1;                   // -1 not recorded, 0 direct, 1 reverse
    int rawIndex = 0;                // position of its record in rawDataList
};

using hzReadingList = seqList<hzReadingRec>;

// The setup in hand, refilled for each setup of a pass.
struct setupRec {
    pointNameField instrument = {};
    pointNameField backsight = {};
    double HI = 0.0;
    double bsTargetHeight = 0.0;
    double instrumentCenteringErr = 0.0; // linear
    hzReadingList backsightReadings;
};

// Results.
inline constexpr int setupRead = 0;
inline constexpr int noSetupLeft = 1;
inline constexpr int readingsFound = 0;
inline constexpr int noReadings = 1;
inline constexpr int angleReduced = 0;
inline constexpr int noValidAngle = 1;

// Reads the next setup from cursor 0 of rawDataList: its names, HI, backsight
// target height and instrument-centering error, and the backsight readings of
// the whole setup (its own backsight reading when set, and every foresight to
// the backsight point). Advances the progress counter per record walked.
// Returns setupRead with the setup's raw index in `setupIndex`, or
// noSetupLeft at the end of the data, and also when the user cancelled (the
// caller ends the run with `userAbortedText`). Cursor 0 is left past the next
// setup record; foresights met before any setup record are not readings of
// any setup and are passed over.
int readNextSetup3D(setupRec& setup, int& setupIndex);
int readNextSetup2D(setupRec& setup, int& setupIndex);

// Appends the angles of the setup read last (raw index `setupIndex`): one per
// point sighted in the setup other than the backsight, from all its readings
// in the setup. Sets the progress counter to the record after the setup and
// leaves cursor 0 on the next setup record (or at the end). Returns 0.
int addAngleObs3D(setupRec& setup, int setupIndex);
int addAngleObs2D(setupRec& setup, int setupIndex);

// Fills `readings` with the readings to `pointName` from the foresight
// records from raw index `startIndex` up to the next setup record, each with
// the errors in force at its record. The standard errors in force are the same
// afterwards as before. readingsFound, or noReadings when there is none.
int collectSetupReadings(int startIndex, std::string_view pointName, hzReadingList& readings);

// Reduces the readings to one foresight point against the setup's backsight
// readings; `angle.foresight` is set by the caller. Writes the warnings of
// unpaired readings and of a spread at or above `hAngTol`. angleReduced with
// the names, the mean angle and its standard error filled, or noValidAngle
// when no reading pairs (warning written). The mean lies in [0, 2pi], or
// slightly above 2pi for a set straddling zero.
int reduceAngleSet3D(angleObs& angle, setupRec& setup, hzReadingList& foresightReadings);
int reduceAngleSet2D(angleObs2D& angle, setupRec& setup, hzReadingList& foresightReadings);

// The index in `backsightReadings` of the reading that pairs with a
// foresight reading of the given face at raw index `rawIndex`: for a direct
// reading the last direct backsight reading not after it; for a reverse
// reading the first reverse backsight reading from that direct one on (which
// may lie after it). -1 when there is none.
int findReadingByFace(int face, int rawIndex, hzReadingList& backsightReadings);

// The lengths of the backsight and foresight sights of an angle: the last
// horizontal distance recorded between the instrument and each target in
// either direction anywhere in the raw data, else the distance between the
// coordinates the raw coordinate records give them; 0 when neither exists.
// The backsight-to-foresight length follows from both and the angle (law of
// cosines) when both are positive, else 0. Reads the raw data through the raw
// sight index (raw_sight_index.hpp). Returns 0.
int angleSightLengths(double& backsightLength, double& foresightLength,
                      double& backsightForesightLength, std::string_view backsight,
                      std::string_view foresight, std::string_view instrument, double angle_rad);
