#pragma once
// The EDM calibration file (.edm): the header and the observed baseline
// distances of one calibration of an electronic distance meter. A text file
// of CR LF lines, one record a line: a two-letter code, a comma and the
// record's fields separated by commas.
//   IN  EDM (instrument) description       RF  reflector (prism) description
//   DT  date, time                         WE  weather description
//   CO  comment                            CN  EDM constant, reflector constant
//   AT  ON/OFF, WET/VP, reference index of refraction, wavelength (micrometres),
//       vapour pressure (mm of mercury)
//   OB  from station, instrument height, from elevation, to station,
//       reflector height, to elevation, dry-bulb temperature (degrees C),
//       pressure (mm of mercury), wet-bulb temperature (degrees C), observed
//       slope distance, published horizontal distance
// Lengths are in the unit of the observations.
//
// Reading is lenient about a line's shape: a line whose code (exact and
// case-sensitive) is none of the eight is skipped, and missing or empty
// number fields read as 0 or an empty name. Every field that is there is
// read whole: a number field that holds anything other than a number (a
// decimal comma, a blank, tab or control byte inside it) stops the read
// instead of reading as 0 or as its leading digits, and so does a line with
// more fields than its record holds (DT 2, AT 5, CN 2, OB 11): a decimal
// comma splits a number in two and every field after it would shift. A
// calibration from such a line would be wrong without a word. Texts longer
// than their capacities are cut.

#include <filesystem>
#include <string>
#include <vector>

// The record kinds, in the order the dialog writes them.
enum edmRecordKind : int {
    edmDescription = 0, // IN
    edmDateTime = 1,    // DT
    edmReflector = 2,   // RF
    edmWeather = 3,     // WE
    edmComment = 4,     // CO
    edmAtmosphere = 5,  // AT
    edmConstants = 6,   // CN
    edmObservation = 7, // OB
    edmNoKind = 8,      // a line of no known code
};

// Capacities of the record's texts, in characters.
inline constexpr std::size_t edmTextCapacity = 135;
inline constexpr std::size_t edmDateCapacity = 25;
inline constexpr std::size_t edmTimeCapacity = 37;
inline constexpr std::size_t edmFromCapacity = 30;
inline constexpr std::size_t edmToCapacity = 32;

// One record of the file. Only the fields of its kind are meaningful.
struct CALIBRATE_RAWREC {
    int kind = edmDescription;
    // IN, RF, WE, CO: the text; DT: the date.
    std::string text;
    // DT
    std::string time;
    // AT
    int applyCorrection = 0; // 1 "ON", 0 "OFF"
    int wetBulb = 0;         // 1 "WET" (wet-bulb temperature), 0 "VP" (vapour pressure given)
    double refractionIndex = 0.0;
    double wavelength_um = 0.0;
    double vapourPressure_mmHg = 0.0;
    // CN
    double edmConstant = 0.0;
    double reflectorConstant = 0.0;
    // OB
    std::string fromStation;
    std::string toStation;
    double instrumentHeight = 0.0;
    double reflectorHeight = 0.0;
    double fromElevation = 0.0;
    double toElevation = 0.0;
    double dryTemp_C = 0.0;
    double pressure_mmHg = 0.0;
    double wetTemp_C = 0.0;
    double slopeDistance = 0.0;
    double publishedDistance = 0.0;

    friend bool operator==(const CALIBRATE_RAWREC&, const CALIBRATE_RAWREC&) = default;
};

// The kind of a line by its first two characters after blanks are stripped
// from both ends: edmNoKind when they are none of the eight codes.
int lookupRecordCode(const std::string& line);

// The record one line makes; false when the line is skipped or refused.
// `damaged` holds the sentence refusing the line (`The slope distance
// "1000.02x" is not a number.`), else is empty.
bool edmRecordOf(const std::string& line, CALIBRATE_RAWREC& record, std::string& damaged);

// Cuts the record's texts to their capacities.
void fitEdmRecordTexts(CALIBRATE_RAWREC& record);

// The line the file holds for a record, with its CR LF.
std::string edmRecordLine(const CALIBRATE_RAWREC& record);

inline constexpr int edmFileRead = 0;
inline constexpr int edmFileUnopened = 1;
inline constexpr int edmFileDamaged = 2;

// Appends the file's records to `records`: edmFileRead; edmFileUnopened when
// the file cannot be opened; edmFileDamaged when a line is refused, with
// "<path>, line <n>: <sentence> Record: <line>" in `refusal`. `records` is
// unchanged on failure.
int readEdmRecords(const std::filesystem::path& path, std::vector<CALIBRATE_RAWREC>& records,
                   std::string& refusal);

// Writes every record by a temporary file renamed over `path`, so a failed
// write leaves the previous file as it was: 0, or 1 when it cannot be written.
int writeEdmRecords(const std::filesystem::path& path,
                    const std::vector<CALIBRATE_RAWREC>& records);
