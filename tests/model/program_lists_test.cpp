#include "model/program_lists.hpp"

#include <gtest/gtest.h>

TEST(ProgramLists, ResetEmptiesEveryListAndTheCounters) {
    stationRec station;
    setPointName(station.name, "A");
    for (obsList<stationRec>* list : {&controlStationList, &givenStationList, &stationList,
                                      &fixedStationList, &allStationList, &savedStationList})
        list->append(station);
    coordRec point;
    setPointName(point.name, "A");
    for (obsList<coordRec>* list :
         {&controlPointList2D, &givenPointList2D, &pointList2D, &fixedPointList2D, &allPointList2D})
        list->append(point);
    angleList.append(angleObs{});
    distanceList.append(distanceObs{});
    verticalList.append(verticalObs{});
    azimuthList.append(azimuthObs{});
    levelList.append(levelObs{});
    angleList2D.append(angleObs2D{});
    distanceList2D.append(distanceObs2D{});
    azimuthList2D.append(azimuthObs{});
    gpsVectorList.append(gpsVectorRec{});
    gpsVectorList2D.append(gpsVectorRec{});
    ptDescList.append(ptDescRec{});
    pointAliasList.append(ptAliasRec{});
    trvPtList.append(ptNameRec{});
    writtenPointNames.append(ptNameRec{});
    rawDataList.append(rawRec{});
    tsConvertRawList.append(rawRec{});
    unknownCount = 12;
    obsCount = 20;
    const int taken = stationList.openCursor(0);
    ASSERT_EQ(taken, 0);

    resetProgramLists();

    for (int count :
         {controlStationList.count(), givenStationList.count(), stationList.count(),
          fixedStationList.count(),   allStationList.count(),   savedStationList.count(),
          controlPointList2D.count(), givenPointList2D.count(), pointList2D.count(),
          fixedPointList2D.count(),   allPointList2D.count(),   angleList.count(),
          distanceList.count(),       verticalList.count(),     azimuthList.count(),
          levelList.count(),          angleList2D.count(),      distanceList2D.count(),
          azimuthList2D.count(),      gpsVectorList.count(),    gpsVectorList2D.count(),
          ptDescList.count(),         pointAliasList.count(),   trvPtList.count(),
          writtenPointNames.count(),  rawDataList.count(),      tsConvertRawList.count()})
        EXPECT_EQ(count, 0);
    EXPECT_EQ(unknownCount, 0);
    EXPECT_EQ(obsCount, 0);
    stationList.append(station);
    EXPECT_EQ(stationList.openCursor(0), 0) << "the cursor taken before the reset is free again";
    resetProgramLists();
}
