#pragma once
// The state of one reading of .RW5 files and the steps that share it; the
// files of a call are read by one object, in order.

#include "input/rw5_lines.hpp"
#include "input/rw5_names.hpp"
#include "input/rw5_sights.hpp"
#include "model/raw_record.hpp"
#include "platform/record_fields.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A point whose coordinates the files gave ("SP", "GS", "EL"); the first
// record of a name is kept.
struct Rw5StoredPoint {
    std::string name;
    double easting = notComputed;
    double northing = notComputed;
    double elevation = notComputed;
};

class Rw5Reading {
public:
    // `aliasMarker` upper-cased (empty: no aliases); `unitFactor` the factor
    // of the linear standard errors.
    Rw5Reading(std::string aliasMarker, double unitFactor);

    // Reads the records of one file into `rawDataList`; false after an alias
    // error or a point name that would merge with another (the error report
    // says which).
    bool readFile(const Rw5File& file);

    // Notes every point name of the files before any is read, so that no
    // dummy backsight is called like a point that comes later.
    void reserveNames(const std::vector<Rw5File>& files);

private:
    bool readLine(const std::string& line);
    bool readObservation(const Rw5Record& record);
    bool readBacksightRecord(const Rw5Record& record);
    void readHeights(const Rw5Record& record);
    bool readStoredPoint(const Rw5Record& record);
    void readElevation(const Rw5Record& record, bool joinsStoredPoints);
    void readAzimuthRecord(const Rw5Record& record);
    void readStdErrRecord(const Rw5Record& record);

    // Observations.
    void startAtStoredPoint(const std::string& occupied);
    bool takeAlias(const std::string& description, const std::string& foresight);
    void chainTraverseSetup(const std::string& station, const std::string& backsight);

    // Setups: where the backsight of a "BK" comes from, and its sight.
    struct DummyBacksight {
        bool dropSetup = false;
        std::string foresight; // the first "BD" of the same point, when it names one
    };
    std::string peekBacksightPoint(const std::string& occupied) const;
    DummyBacksight peekSetupBacksight(const std::string& occupied) const;
    std::string resolveDummyBacksight(const std::string& occupied, double azimuth,
                                      const DummyBacksight& ahead);
    void completeSetupFromBd(rawRec& setup);

    // Resection notes after a stored point.
    bool isResectionNext() const;
    bool readResection(const std::string& point);
    // Stops the reading at a resection note with a number that is none.
    bool refuseNote(std::size_t noteLine, const platform::FieldError& damaged) const;

    // Changed HI: the setup just read is repeated with it.
    void repeatSetupWithNewHi();

    rawRec newSetup(const std::string& station, const std::string& backsight) const;
    void store(rawRec record);
    void storeAzimuth(const std::string& from, const std::string& to, double azimuth_rad);
    void storeCoordinate(const std::string& point, double northing, double easting,
                         double elevation);
    const Rw5StoredPoint* findStoredPoint(const std::string& name) const;
    void addStoredPoint(const Rw5StoredPoint& point);

    // Names: each new name is taken into the book; false, after the error
    // report and a message, when it would merge with another.
    bool takeRecordNames(const Rw5Record& record);
    bool takeName(const std::string& name);
    bool refuseNameClash(const std::string& name, const Rw5NameBook::Clash& clash) const;
    // "<file>, line <n>" of the line being read.
    std::string place() const;

    const std::string& lineText() const { return file_->lines[line_]; }
    // Stops the reading at the record: "Error parsing raw record:", the
    // record, where it stands and `reason` (a sentence) in the error report
    // and a message. Always false.
    bool refuseRecord(const std::string& reason) const;
    // "  File: <path>, line <n>": where a failing record stands.
    std::string lineLocation() const;

    std::string aliasMarker_;
    double unitFactor_;
    double instrumentHeight_ = notComputed;
    double rodHeight_ = notComputed;
    bool reading_ = true;
    bool heightsOn_ = true;
    bool metSetupOrSight_ = false;
    std::string setupBacksight_; // of the last setup, for "BD" and "BR" without a foresight
    std::vector<Rw5StoredPoint> storedPoints_;
    Rw5NameBook names_;
    const Rw5File* file_ = nullptr;
    std::size_t line_ = 0;
    std::size_t foldedBd_ = noLine; // the "BD" whose sight a setup took
    static constexpr std::size_t noLine = static_cast<std::size_t>(-1);
};

// The point names a record gives (a sight's or setup's two points, a
// stored point's one), by its code; empty texts where a name is missing.
std::vector<std::string> rw5RecordNames(const Rw5Record& record);

// The point a "--Reading" note of a resection sights; empty for another line.
std::string rw5ReadingNotePoint(std::string_view line);

// From a point to its dummy backsight, in the file's length unit.
inline constexpr double rw5DummyDistance = 100.0;

// The heights of an "LS" record: a token whose second letter is 'I' gives
// the HI, 'R' the rod height (HR); a height the record lacks stays none.
struct Rw5Heights {
    std::optional<double> instrument;
    std::optional<double> rod;
};
Rw5Heights rw5Heights(const Rw5Record& record);
