#pragma once
// Window ids of the main window's commands and of the dialogs' controls: the
// program's own command and control numbers. A menu id must stay below
// 0x7FFF, so a command number of 0x8000 and above (the program's commands and
// the framework's standard ones) keeps its low 15 bits; no two commands meet
// that way. OK and Cancel buttons are wxID_OK and wxID_CANCEL.

namespace shellid {

constexpr int folded(int commandNumber) {
    return commandNumber & 0x7FFF;
}

enum Command : int {
    // File
    newProject = folded(57600),
    openProject = folded(57601),
    closeProject = folded(57602),
    saveProject = folded(57603),
    saveProjectAs = folded(57604),
    openClosureFile = folded(32791),
    newClosureFile = folded(32792),
    openAltaFile = 169,
    newAltaFile = 170,
    editStdErrFile = folded(32820),
    newStdErrFile = folded(32819),
    recentProject = folded(32778),
    recentProjectFile = folded(57616),
    // The older recent projects, below the newest (recentProject).
    recentProject2 = 2782,
    recentProject3 = 2783,
    recentProject4 = 2784,
    saveAsDefault = folded(32777),
    print = folded(32787),
    printButton = folded(32781),
    printFile = folded(57607),
    exitProgram = folded(57665),
    // Settings
    projectSettings = folded(32772),
    globalSettings = 307,
    stdErrSettingsButton = folded(32786),
    // Process
    networkAdjustment = folded(32773),
    networkAdjustmentButton = folded(32785),
    preprocess = folded(32812),
    blunderDetection = folded(32795),
    // Tools
    inverse = folded(32793),
    inverseButton = folded(32774),
    relErrEllipse = folded(32794),
    relErrEllipseButton = folded(32779),
    convertGpsFiles = folded(32816),
    convertLevelFiles = folded(32817),
    editRawFiles = folded(32790),
    editRawFilesButton = 300,
    collectorTransfer = folded(32818),
    collectorTransferButton = 301,
    createUdp = 304,
    edmCalibration = folded(32822),
    editReportFile = 311,
    editErrorFile = 314,
    editNezFile = 312,
    editFormattedNezFile = 313,
    // View
    viewToolbar = folded(59392),
    viewStatusBar = folded(59393),
    // Window
    windowCascade = folded(57650),
    windowTile = folded(57651),
    closeAll = folded(32771),
    lsReport = folded(32796),
    errReport = folded(32797),
    nezReport = folded(32798),
    graphics = folded(32799),
    graphicsButton = folded(32808),
    // Help
    help = folded(32821),
    about = folded(32848),
    // From the graphics window: a point was picked (its name in the event's text).
    graphicsPointPicked = 1324,
};

// The dialogs.
enum Dialog : int {
    aboutDialog = 100,
    startUpDialog = 306,
    globalSettingsDialog = 308,
};

// Controls of the start-up, About and Global Program Settings dialogs.
enum Control : int {
    createNewButton = 1041,
    openExistingButton = 1054,
    showAtStartUpCheck = 1059,
    productLine = 1182,
    buildLine = 1163,
    useVkToolsRadio = 1214,
    useVelmoraToolsRadio = 1215,
};

} // namespace shellid
