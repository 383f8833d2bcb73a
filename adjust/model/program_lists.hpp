#pragma once
// The program-wide lists and counters of the survey data model. They live for
// the whole run of the program; a processing run clears the lists of its
// chain, the readers and builders fill them, and the adjustment, the reports,
// the dialogs and the network graphics read them. `allStationList` and
// `allPointList2D` keep the last run's points until the next run.

#include "model/list_containers.hpp"
#include "model/observation_records.hpp"
#include "model/point_records.hpp"
#include "model/raw_record.hpp"

#include <vector>

// 3D chain.
extern obsList<stationRec> controlStationList; // control and coordinate points as read
extern obsList<stationRec> givenStationList;   // given points that are not control (type 3)
extern obsList<stationRec> stationList;        // the run's points that are not fixed
extern obsList<stationRec> fixedStationList;   // fixed points and azimuth dummies
extern obsList<stationRec> allStationList;     // the last run's stations
extern obsList<stationRec> savedStationList;   // stationList kept by the blunder passes
extern obsList<angleObs> angleList;
extern obsList<distanceObs> distanceList;
extern obsList<verticalObs> verticalList;
extern obsList<azimuthObs> azimuthList;
extern obsList<levelObs> levelList;

// 2D chain: twins of the 3D point lists, and the observations.
extern obsList<coordRec> controlPointList2D;
extern obsList<coordRec> givenPointList2D;
extern obsList<coordRec> pointList2D;
extern obsList<coordRec> fixedPointList2D;
extern obsList<coordRec> allPointList2D;
extern obsList<angleObs2D> angleList2D;
extern seqList<distanceObs2D> distanceList2D;
extern seqList<azimuthObs> azimuthList2D;

// Both chains.
extern seqList<gpsVectorRec> gpsVectorList;     // GPS vectors as read
extern seqList<gpsVectorRec> gpsVectorList2D;   // GPS vectors as the 2D adjustment uses them
extern simpleList<ptDescRec> ptDescList;        // descriptions collected from the raw records
extern simpleList<ptAliasRec> pointAliasList;   // aliases met in the raw data
extern simpleList<ptNameRec> trvPtList;         // point sequence of the closure being computed
extern simpleList<ptNameRec> writtenPointNames; // names already written by the GPS converters
// Earth-centred control points of the GPS files and .RW5 base records.
extern std::vector<ptGPSXYZCntrl> gpsXyzControlArray;

// Raw records: the project's, and the total-station converters' own list.
extern rawRecList rawDataList;
extern rawRecList tsConvertRawList;

// Unknowns and observations of the current run; their difference is the
// number of degrees of freedom.
extern int unknownCount;
extern int obsCount;

// Empties every list above and sets the counters to 0; gives a test a clean
// program state.
void resetProgramLists();
