#pragma once
// A user-defined projection: its ellipsoid, a datum shift carried through
// unchanged, the projection type and its parameters, and the .udp file it was
// loaded from. Angles are radians; longitudes east-positive.

#include <string>
#include <utility>
#include <vector>

enum class SettingLine; // key_value_file.hpp

// Projection types of `udpRec::ProjInt`.
enum udpProjection : int {
    udpTransverseMercator = 0,
    udpLambertOneParallel = 1,
    udpLambertTwoParallels = 2,
    udpDoubleStereographic = 3,
    udpObliqueMercatorAzimuth = 4,
    udpObliqueMercatorCentre = 5,
};

class udpRec {
public:
    // Results of the file operations.
    static constexpr int ok = 0;
    static constexpr int failed = 1;
    // Key indexes of readKeyLine beyond the 23 keys.
    static constexpr int keyCount = 23;
    static constexpr int unknownKey = 23;
    // A recognised key whose value is not wholly what its field holds (a
    // number, a dd.mmss angle, a code of its list): the field keeps its value.
    static constexpr int refusedValue = 24;
    static constexpr int endOfFile = -1;

    udpRec() { reset(); }

    // Every number 0 and both names empty; the path stays.
    void reset();

    // Writes the record to `path`, one "key=value" CR LF line per field.
    // 0 on success; 1 on failure, with the message in the error report and a box.
    int writeFile();
    // Reads `path` over the record (fields absent from the file keep their
    // values). 0 when read; 1, with the message, when the path is empty, the
    // file cannot be opened or a value is refused (the others are read); a
    // missing file is never created.
    int readFile();
    // Sets the path, then readFile().
    int load(const std::string& filePath);
    // Applies one line of a .udp file: the key index 0-22 when recognised (the
    // field is set), 23 for a line without "=" or an unknown key, 24 for a
    // value refused.
    int readKeyLine(const std::string& line);

    int EllipsInt;
    double EllipseA;
    double EllipseF;
    double K;
    double DX;
    double DY;
    double DZ;
    double RX;
    double RY;
    double RZ;
    int ProjInt;
    std::string ProjName;
    std::string DatumName;
    double FalseEastings;
    double FalseNorthings;
    double CentralMeridian;
    double CentralOrNorthLatitude;
    double ScaleOrRefLatitude;
    double SkewOrSouthLatitude;
    double zone_width;
    double projection_scale;
    double latOrigin;
    double lonOrigin;
    std::string path;

private:
    std::vector<std::pair<std::string, std::string>> fileEntries() const;
    // readKeyLine, with the reason of a refused value in `refusal`.
    int keyIndexOf(const std::string& line, std::string& refusal);
    SettingLine applyLine(const std::string& line, std::string& refusal);
};
