#pragma once
// The back-end of one open coordinate file. Each file format derives from
// CrdIO; a CrdFile owns exactly one while its file is open and talks to the
// format only through this interface. Operations answer 1 for success and 0
// for failure, with the reason left in errorWord() (codes in crd_error).
// Every point crossing the interface is a crdIoPointRec in the record layout
// of the back-end's own file type (see convertCrdRecord in crd_file_type.hpp).

#include <cstdint>
#include <string>
#include <string_view>

namespace ptbank {

class CrdFile;
class PointDb;

// Reasons a CrdIO or CrdFile operation failed, as errorWord() reports them.
namespace crd_error {
inline constexpr int none = 0;
inline constexpr int nameTooLong = 1;
inline constexpr int emptyName = 2;
inline constexpr int numberBelowOne = 3;
inline constexpr int numberTooLarge = 4;
inline constexpr int forbiddenCharacter = 5; // or a numeric name with a non-digit
inline constexpr int refusedByNamingRule = 6;
inline constexpr int refusedByDatabase = 7; // the point database would not hold the name
inline constexpr int descriptionTooLong = 8;
inline constexpr int codeTooLong = 9;
inline constexpr int noCoordinate = 10; // nothing stored under the name (or further that way)
inline constexpr int cannotCreate = 20;
inline constexpr int cannotOpen = 21;
inline constexpr int notOpen = 22;    // the CrdFile has no back-end
inline constexpr int readFailed = 23; // positioning, reading or writing in the file failed
inline constexpr int tooManyIndexedFiles = 24;
inline constexpr int deleteFailed = 25;
inline constexpr int renameFailed = 26;
inline constexpr int notSupported = 50;
inline constexpr int notCanonicalNumber = 52;
} // namespace crd_error

// The point record between CrdFile and its back-end. Easting comes first.
// In the neutral layout (types 3 and 4) an elevation of -99999999.0 means
// "no elevation"; types 0 and 1 encode it differently (crd_draftline).
struct crdIoPointRec {
    double easting = 0.0;
    double northing = 0.0;
    double elevation = 0.0;
    std::int32_t reserved = 0;
    char name[256] = {};
    char description[256] = {};
    char code[5] = {};

    // Each text field is zero-filled and receives at most its width minus
    // one bytes of the text; the reserved word becomes 0.
    void fill(double e, double n, double z, std::string_view pointName, std::string_view desc,
              std::string_view pointCode);
    void setName(std::string_view text);
    void setDescription(std::string_view text);
    void setCode(std::string_view text);
    void clear();
    void copyFrom(const crdIoPointRec& other);
};

// When the source's code (leading blanks aside) is not empty, the target's
// description becomes code + "/" + description; the target's code is cleared
// in every case. Source and target may be the same record.
void packCodeIntoDescription(const crdIoPointRec& source, crdIoPointRec& target);
// When the source's description has a '/' at index 0 to 4, the text before
// it becomes the target's code and the text after it the target's
// description; otherwise the target is left as it is.
void unpackCodeFromDescription(const crdIoPointRec& source, crdIoPointRec& target);

// A walk position: record index (-1 before the first point) for
// record-numbered formats, point name for keyed ones.
struct crdCursor {
    int index = -1;
    char name[256] = {};
    void reset() {
        index = -1;
        name[0] = '\0';
    }
};

class CrdIO {
public:
    CrdIO() = default;
    CrdIO(const CrdIO&) = delete;
    CrdIO& operator=(const CrdIO&) = delete;
    virtual ~CrdIO() = default;

    // Opens an existing file; sets path, highest and lowest name and the header texts.
    virtual int open(const std::string& path) = 0;
    // Nonzero while the file is usable; CrdFile destroys a back-end that answers 0.
    virtual int isOpen() = 0;
    // Creates an empty file (descLength -1 = the format's default) and opens it.
    virtual int create(const std::string& path, int descLength) = 0;
    // Closes the file and deletes it from disk.
    virtual int deleteFiles() = 0;
    // Copies the whole file onto the destination's file when both have the
    // same type and reopens both; 0 means "not done, copy point by point".
    virtual int copyTo(CrdFile& destination) = 0;
    // Closes, renames on disk (never over an existing file) and reopens.
    virtual int rename(const std::string& newPath) = 0;
    virtual int pointCount() = 0;
    virtual int nameSize() = 0;
    // A description must be strictly shorter than this.
    virtual int descSize() = 0;
    virtual int codeSize() = 0;
    // Largest and smallest legal names; empty means no limit.
    virtual std::string maxLegalName() { return {}; }
    virtual std::string minLegalName() { return {}; }
    // direction 0: exactly that name; positive: it or the next greater;
    // negative: it or the next smaller. quiet nonzero silences the console.
    virtual int readPoint(std::string_view name, crdIoPointRec& out, int direction, int quiet,
                          crdCursor* cursor) = 0;
    // Adds the point or replaces the one of the same name; `previous`
    // receives the record stored before (an empty name when there was none).
    virtual int writePoint(const crdIoPointRec& record, int quiet, crdIoPointRec& previous) = 0;
    // Deletes every point the range text covers; the number deleted, -1 on failure.
    virtual int deletePoints(std::string_view range, CrdFile& owner) = 0;
    // Removes all points and keeps the header.
    virtual int clear(CrdFile& owner);
    // Order of point names under the format's rules: -1, 0, 1.
    virtual int compareIds(std::string_view a, std::string_view b);
    // Rebuilds the file without the points of the range: the number deleted,
    // -1 when the rebuild could not be completed (the file is then unchanged).
    virtual int deleteRange(std::string_view range, int unused, CrdFile& owner);
    // 0 when the name may be stored, else an errorWord code.
    virtual int validateId(std::string_view name) = 0;
    // Adopts format settings of another open file before its header texts are copied.
    virtual void takeSettings(CrdFile& source) = 0;
    virtual int setTitle(std::string_view text);
    virtual int setHeaderNumber(std::string_view text);
    virtual int setHeaderDate(std::string_view text);
    // Units the file declares: 1 feet, 2 not feet, 0 not stated.
    virtual int feetFlag() = 0;
    // Replaces the own file by a rebuilt temporary file and reopens it.
    virtual int commit(const std::string& tempPath) = 0;
    // The inner point-database state of the indexed formats; none elsewhere.
    virtual PointDb* innerBlock() = 0;
    // Reads the point `step` records away from the cursor (the own position
    // when none is given), skipping empty slots; moves both there on success.
    virtual int readAtCursor(crdCursor* cursor, crdIoPointRec& out, int step) = 0;
    // Stores the own position into the cursor and returns the record index.
    virtual int cursorIndex(crdCursor& cursor) = 0;
    virtual int writeHeader() = 0;
    // Told at the end of deleteRange.
    virtual void rangeDeleted(std::string_view) {}

    const std::string& highestName() const { return highestName_; }
    const std::string& lowestName() const { return lowestName_; }
    const std::string& path() const { return path_; }
    int fileType() const { return fileType_; }
    void setFileType(int type) { fileType_ = type; }
    int errorWord() const { return errorWord_; }
    const std::string& title() const { return title_; }
    const std::string& headerNumber() const { return headerNumber_; }
    const std::string& headerDate() const { return headerDate_; }

protected:
    std::string highestName_;
    std::string lowestName_;
    std::string path_;
    int fileType_ = -1;
    int errorWord_ = crd_error::none;
    std::string title_;
    std::string headerNumber_;
    std::string headerDate_;
};

} // namespace ptbank
