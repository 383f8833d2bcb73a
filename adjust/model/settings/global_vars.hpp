#pragma once
// The settings of the open project, and a few values of the running program.
// The whole program works on one instance, `projectVars`; every subsystem
// reads and writes its fields directly. Angles are radians in memory; lengths
// are in the project's horizontal unit unless a field says otherwise.

#include "model/settings/udp_record.hpp"

#include <string>

// Coordinate systems of `gridSystem`.
enum gridSystemCode : int {
    gridLocal = 0,
    gridStatePlane83 = 1,
    gridStatePlane27 = 2,
    gridNewBrunswickStereographic = 3,
    gridUtm = 4,
    gridUserDefined = 5,
};

// `ellipsoid` value that takes the axis and flattening from the `udp` member.
inline constexpr int userDefinedEllipsoid = 16;

class globalVars {
public:
    globalVars();

    // Assigns every stored setting its default; leaves the file names,
    // `gridZone`, `version`, the format codes of the supplemental control,
    // geoid and GPS files, and the values of the running program alone.
    void setDefaults();

    // Folder of the geoid grid files: `exeDir` when set, else the program's
    // folder followed by "Geoid" and a separator.
    std::string getGeoidFolder() const;

    // Stored settings, in the order the project file lists them.
    std::string pInputFileName; // raw-data files, each followed by "\n"
    std::string reportFileName; // the report file of the last run
    std::string controlNEFileName;
    std::string nullElev; // text written for a missing elevation
    std::string crdFileName;
    double convergeLimit;
    int gridSystem; // gridSystemCode
    int gridZone;
    double SF; // scale factor of the local system
    double projZ;
    double stErrDist; // project distance unit
    double stErrDistPPM;
    double stErrAz; // seconds of arc
    double stErrX;
    double stErrY;
    double stErrZ;
    double stErrPoint; // seconds of arc
    double stErrRead;  // seconds of arc
    double stErrTrgtCentering;
    double stErrInstrCentering;
    int maxIterations;
    int neOutPrec;
    int zOutPrec;
    int useProjZ;
    int vertAdjust;
    int horizAdjust;
    int directionType; // 0 quadrant bearings, otherwise azimuths
    int curvRefract;
    int dUnits;
    int ZUnits;
    int HorizUnits; // 0 metres, 1 US survey feet, 2 international feet
    int NEDisplayType;
    int distPrec;
    int coordPrec;
    int directionPrec;
    int version;
    int supplamentalNE;
    int nezFileFmtType;
    int wrtToCrd;
    double vDistTol;
    double hDistTol;
    double hAngTol;     // radians
    double vStErrPoint; // seconds of arc
    double vStErrRead;  // seconds of arc
    double rodStErr;
    double HIStErr;
    int includeSS;
    int includeGPSVectors;
    int includeRawData;
    std::string pGPSFileName; // GPS vector files, each followed by "\n"
    double stErrGPSCentering;
    double stErrGPSMultFactor;
    int includeClosure;
    std::string pClosureFileName;
    double confidenceInterval; // per cent
    int angleType;             // 0 degrees (dd.mmss), 1 grads
    std::string PtSubstituteS;
    std::string pLevRawFileName;
    int includeLevData;
    double diffLevDistBSFS;
    double diffLevCollimation; // seconds of arc
    double diffLevRodRead;
    int geodeticModel; // 0 2D plus 1D, 1 3D
    double geoidHt;
    int geoidModel;
    int geoidModelType;
    int gpsFileFmtType;
    int elevDispPrec;
    double vAngTol; // radians
    int asciiNEZType;
    int crdFileType;
    int ttlStaUnits;
    int GPSUnits;
    int levelUnits;
    int defaultRawEditor;
    int ALTARptOn;
    std::string relativeErrFileNm;
    int relativeErrFileOn;
    double altaTolerance;
    int altaPPM;
    int ellipsoid; // 0-15, or userDefinedEllipsoid
    std::string UDPFilePath;
    int levelFileFmtType;
    int Rw5GPSUnits;
    int useRw5GPSVectors;

    // State of the running program, never written to the project file.
    void* glSettingsView = nullptr; // the "GL_Settings" block handed to a started program
    int glSettingsMapping = -1;     // its shared-memory descriptor
    int editorStarted = 0;
    int transferStarted = 0;
    int useVkTool = 0;
    std::string startFolder;
    std::string exeDir;  // with its trailing separator; also the geoid folder
    std::string tmpDir;  // with its trailing separator
    std::string helpDir; // with its trailing separator
    std::string helpFile;
    std::string helpTopic;
    int showStartUpDialog = 0;
    int blunderIterations = 0;
    int blunderFloatShoTtl = 0;
    int blunderFloatShoType = 0;
    int blunderMethod = 0;
    double blunderProximity = 0.0;
    std::string projectFileName; // path of the open project file
    udpRec udp;
};

// The settings of the open project.
extern globalVars projectVars;
