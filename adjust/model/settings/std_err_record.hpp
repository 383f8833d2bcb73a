#pragma once
// A set of a-priori standard errors kept in a .sef file, for an instrument or
// a crew: one "key=value" line per error (value "%f"), CR LF line ends. Angles
// in seconds of arc, lengths in the project's distance unit.

#include <string>

class stdErrRec {
public:
    // Results of the file operations.
    static constexpr int ok = 0;
    static constexpr int failed = 1;
    // Key indexes of readKeyLine beyond the 19 keys.
    static constexpr int keyCount = 19;
    static constexpr int unknownKey = 19;
    // A recognised key whose value is not wholly a number: the error keeps
    // its value.
    static constexpr int refusedValue = 20;

    stdErrRec() { setDefaults(); }

    // Every error its default; the path stays.
    void setDefaults();

    // Writes the record to `path`. 0 on success; 1 on failure, with the
    // message in the error report of the run and a box.
    int writeFile();
    // Reads `path` over the record (errors absent from the file keep their
    // values). 0 when read (lines that are no setting are reported); 1, with
    // the message, when the path is empty, the file cannot be opened or a
    // value is not wholly a number (the others are read); a missing file is
    // never created.
    int readFile();
    // Sets the path, then readFile().
    int load(const std::string& filePath);
    // Applies one line of a .sef file: the key index 0-18 when recognised
    // (the field is set), 19 for a line without "=" or an unknown key, 20
    // for a value refused.
    int readKeyLine(const std::string& line);

    double SEDistCnstn;    // constant part of the distance error
    double SEDistPPM;      // parts per million
    double SEHAngPoint;    // horizontal pointing, seconds
    double SEHAngRead;     // horizontal reading, seconds
    double SEVAngPoint;    // vertical pointing, seconds
    double SEVAngRead;     // vertical reading, seconds
    double SETSTrgtCntr;   // total station target centering
    double SETSInstCntr;   // total station instrument centering
    double SETrgtHght;     // target height
    double SEInstHght;     // instrument height
    double SEAz;           // azimuth, seconds
    double SENorth;        // control northing
    double SEEast;         // control easting
    double SEElev;         // control elevation
    double AvgDistToBS;    // differential levelling: distance to the backsight
    double SELevelRodRead; // differential levelling: rod reading
    double SECollimation;  // differential levelling: collimation, seconds
    double GPSInstCntr;    // GPS antenna centering
    double VectorSEFactor; // factor on the GPS vector standard errors
    std::string path;

private:
    // readKeyLine, with the reason of a refused value in `refusal`.
    int keyIndexOf(const std::string& line, std::string& refusal);
};
