#pragma once
// Window ids of the project settings sheet, its pages, the standard-error
// file dialog and the user-defined projection dialog: the program's own
// control numbers. Pages are separate windows, so a number may serve on
// more than one page.

namespace settingsid {

// The pages in the order the sheet shows them.
enum Page : int {
    coordinateSystemPage = 0,
    inputFilesPage = 1,
    preprocessingPage = 2,
    standardErrorsPage = 3,
    adjustmentPage = 4,
    outputOptionsPage = 5,
    pageCount = 6,
};

enum Dialog : int {
    udpDialog = 305,
    stdErrFileDialog = 309,
};

// The sheet's own buttons.
enum SheetControl : int {
    saveProjectButton = 1223,
    saveAsDefaultButton = 1224,
    applyNowButton = 12321,
};

// Coordinate System page.
enum CoordinateSystemControl : int {
    computeFromProjectElevRadio = 1000,
    computeFromRawDataRadio = 1001,
    elevationFactorGroup = 1002,
    coordinateSystemList = 1006,
    elevationUnitsList = 1007,
    elevationFactorEdit = 1009,
    horizontalAdjustmentCheck = 1010,
    verticalAdjustmentCheck = 1011,
    scaleFactorEdit = 1013,
    scaleFactorLabel = 1014,
    zoneList = 1016,
    zoneLabel = 1017,
    ellipsoidList = 1018,
    projectionList = 1019,
    geoidSeparationEdit = 1026,
    udpPathEdit = 1027,
    ellipsoidUdpPathEdit = 1028,
    semiMajorEdit = 1029,
    inverseFlatteningEdit = 1030,
    horizontalUnitsList = 1034,
    udpSelectButton = 1041,
    ellipsoidUdpSelectButton = 1054,
    udpEditButton = 1055,
    geoidModelList = 1058,
    model2dRadio = 1159,
    model3dRadio = 1160,
    adjustmentGroup = 1161,
    elevationUnitsLabel = 1162,
    projectGeoidRadio = 1163,
    geoidFileRadio = 1164,
    projectionLabel = 1193,
    ellipsoidGroup = 1195,
    semiMajorLabel = 1196,
    inverseFlatteningLabel = 1197,
    ellipsoidUdpEditButton = 1213,
};

// Input Files page.
enum InputFilesControl : int {
    levelFileEdit = 1009,
    nezControlCheck = 1017,
    controlSelectButton = 1020,
    controlFormatList = 1021,
    levelFormatLabel = 1022,
    rawAddButton = 1023,
    gpsFormatLabel = 1024,
    gpsFormatList = 1025,
    controlFileEdit = 1027,
    gpsAddButton = 1041,
    rawDataCheck = 1043,
    gpsVectorFileCheck = 1044,
    levelSelectButton = 1054,
    rawRemoveButton = 1055,
    gpsRemoveButton = 1056,
    gpsEditButton = 1057,
    gpsUnitsList = 1058,
    levelRawFileCheck = 1059,
    rawFileList = 1165,
    gpsFileList = 1179,
    totalStationUnitsList = 1180,
    levelUnitsList = 1181,
    levelFormatList = 1183,
    totalStationUnitsLabel = 1189,
    gpsUnitsLabel = 1190,
    levelUnitsLabel = 1191,
    rw5VectorsCheck = 1217,
    controlFormatLabel = 1220,
    rw5VectorUnitsList = 1236,
    rw5VectorUnitsLabel = 1237,
};

// Preprocessing page.
enum PreprocessingControl : int {
    substitutionEdit = 1009,
    vertAngleToleranceEdit = 1026,
    distanceToleranceEdit = 1028,
    vertDistanceToleranceEdit = 1029,
    horizAngleToleranceEdit = 1030,
    curvatureRefractionCheck = 1033,
    closureEditButton = 1041,
    closuresCheck = 1050,
    closureFileEdit = 1051,
    closureSelectButton = 1052,
    horizAngleToleranceLabel = 1065,
};

// Standard Errors page and standard-error file dialog.
enum StandardErrorsControl : int {
    sefLoadButton = 1041,
    sefSaveAsButton = 1054,
    angleErrorGroup = 1066,
    directionLabel = 1067,
    collimationLabel = 1157,
};

// Adjustment page.
enum AdjustmentControl : int {
    maxIterationsEdit = 1026,
    altaToleranceEdit = 1027,
    relativeErrFileEdit = 1028,
    altaPpmEdit = 1029,
    convergenceEdit = 1009,
    relativeErrSelectButton = 1041,
    includeSideshotsCheck = 1042,
    relativeErrEditButton = 1055,
    confidenceEdit = 1058,
    relativeErrFileCheck = 1059,
    altaReportCheck = 1184,
};

// Output Options page.
enum OutputOptionsControl : int {
    nullElevationEdit = 1009,
    coordPrecList = 1012,
    distPrecList = 1013,
    directionPrecList = 1014,
    directionTypeList = 1015,
    coordinateOrderList = 1016,
    angleTypeList = 1017,
    elevPrecList = 1018,
    writeCoordinateFileCheck = 1026,
    coordinateFileSelectButton = 1027,
    coordinateFileEdit = 1028,
    neOutPrecList = 1029,
    zOutPrecList = 1030,
    asciiNezFormatList = 1058,
};

} // namespace settingsid
