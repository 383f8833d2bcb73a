#include "model/program_lists.hpp"

obsList<stationRec> controlStationList;
obsList<stationRec> givenStationList;
obsList<stationRec> stationList;
obsList<stationRec> fixedStationList;
obsList<stationRec> allStationList;
obsList<stationRec> savedStationList;
obsList<angleObs> angleList;
obsList<distanceObs> distanceList;
obsList<verticalObs> verticalList;
obsList<azimuthObs> azimuthList;
obsList<levelObs> levelList;

obsList<coordRec> controlPointList2D;
obsList<coordRec> givenPointList2D;
obsList<coordRec> pointList2D;
obsList<coordRec> fixedPointList2D;
obsList<coordRec> allPointList2D;
obsList<angleObs2D> angleList2D;
seqList<distanceObs2D> distanceList2D;
seqList<azimuthObs> azimuthList2D;

seqList<gpsVectorRec> gpsVectorList;
seqList<gpsVectorRec> gpsVectorList2D;
simpleList<ptDescRec> ptDescList;
simpleList<ptAliasRec> pointAliasList;
simpleList<ptNameRec> trvPtList;
simpleList<ptNameRec> writtenPointNames;
std::vector<ptGPSXYZCntrl> gpsXyzControlArray;

rawRecList rawDataList;
rawRecList tsConvertRawList;

int unknownCount = 0;
int obsCount = 0;

namespace {

template <class... Lists> void clearAll(Lists&... lists) {
    (lists.clear(), ...);
}

} // namespace

void resetProgramLists() {
    clearAll(controlStationList, givenStationList, stationList, fixedStationList, allStationList,
             savedStationList, angleList, distanceList, verticalList, azimuthList, levelList,
             controlPointList2D, givenPointList2D, pointList2D, fixedPointList2D, allPointList2D,
             angleList2D, distanceList2D, azimuthList2D, gpsVectorList, gpsVectorList2D, ptDescList,
             pointAliasList, trvPtList, writtenPointNames, rawDataList, tsConvertRawList,
             gpsXyzControlArray);
    unknownCount = 0;
    obsCount = 0;
}
