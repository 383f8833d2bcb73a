#pragma once
// The settings of the open project, and a few values of the running program.
// The whole program works on one instance, `projectVars`; every subsystem
// reads and writes its fields directly. Angles are radians in memory; lengths
// are in the project's horizontal unit unless a field says otherwise.

#include "model/settings/udp_record.hpp"

#include <istream>
#include <string>
#include <vector>

namespace platform {
class ByteReader;
}

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
// `ellipsoid` of a new project: the ellipsoid of WGS 84, on which UTM
// coordinates are usually given (the list's first entries, Airy 1830 and
// Modified Airy, belong to the British and Irish grids only).
inline constexpr int wgs84Ellipsoid = 15;

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

    // Project file (.prj): the "TARNWELL_PROJECT_VERSION=7" line, then one
    // "key=value" line per stored setting, every line ended by CR LF; the
    // file lists hold each name followed by a lone LF.
    //
    // Writes the settings to `path` (by temporary file and rename). Non-zero
    // on success; 0 when the file cannot be written, with nothing shown.
    int writeProjectFile(const std::string& path) const;
    // Reads a text project over the settings: settings the file does not
    // mention keep their values; unknown keys and lines without "=" are
    // skipped. Non-zero when the file could be opened, 0 when not.
    int readProjectFile(const std::string& path);
    // As above; a value that is not wholly a number (an integer for an int
    // setting), or out of its setting's range (precisions, the confidence
    // interval, standard errors, the codes of a setting with a list of
    // codes), is refused: the setting keeps its value and `refusals` gets
    // "Project file <path>, line <n>: <key>=<value> refused (<why>)". The
    // version line gives `version` unless a `version` line follows it.
    int readProjectFile(const std::string& path, std::vector<std::string>& refusals);
    // Reads one line of a project file (LF, CR LF or CR ends a line; a last line
    // without either is read too). A file list's key takes the lines after
    // it that have no "=" as further names. Returns the key id 0-85 and sets
    // `id` and `value`; otherwise leaves them and returns unknownProjectKey,
    // projectLineWithoutEquals or, at the end of the file, projectFileEnd.
    static int readKeyLine(std::istream& file, int& id, std::string& value);
    static constexpr int unknownProjectKey = 86;
    static constexpr int projectLineWithoutEquals = 87;
    static constexpr int projectFileEnd = -1;

    // Loads a project archive of the older binary form (versions 0 to 6).
    // Returns true when the whole archive was read; a truncated or foreign
    // archive returns false and leaves every setting as it was.
    bool Serialize(platform::ByteReader& archive);
    // Opens `path` as a legacy project archive. Non-zero when loaded; 0 when
    // the file cannot be read or is refused, after showing "Unable to open
    // %s" with the path and the reason (the system's, or that the file is
    // not a project file), every setting left as it was.
    int readLegacyProjectFile(const std::string& path);
    // As above; number settings that readProjectFile would refuse keep the
    // values held before, each named in `refusals`.
    int readLegacyProjectFile(const std::string& path, std::vector<std::string>& refusals);

    // Takes over the settings of another program's instance, as the network
    // graphics library does with the main program's on every hand-over: the
    // stored settings, the open project's path, the editor and transfer
    // switches and the blunder-detection options. The folders of the INI
    // file, the start-up dialog option, `blunderMethod`, the embedded `udp`
    // (read again from `UDPFilePath` where needed) and the main program's
    // shared-memory handles keep this instance's values.
    void copySettings(const globalVars& source);

    // Stores these settings as the defaults of new projects in the user
    // profile (section "Version 1.00"). 0 on success; 1 when the profile
    // cannot be written (the previous defaults stay).
    int saveAsDefault() const;

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
    // Lets the .RW5 reader store azimuths to the points that its dummy
    // backsights stand for, and coordinates for the dummies themselves.
    int useDummyBacksightCoords = 0;
    std::string projectFileName; // path of the open project file
    udpRec udp;
};

// The settings of the open project.
extern globalVars projectVars;
