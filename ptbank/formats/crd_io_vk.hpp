#pragma once
// Back-end of the two indexed coordinate formats, each a point database
// (ptbank/isam/point_database.hpp): type 4, a .crd data file with a .idx
// index and numeric point names 1 to 65535, and type 3, a .vkc data file
// with a .vki index and alphanumeric names of up to 10 characters.
//
// A new file is made only when it is first used (the first isOpen), so
// that takeSettings can still give it the description length and feet flag
// of the file it copies. Records cross the interface in the neutral layout:
// -99999999.0 is "no elevation". The back-end walks by point name: its
// current point name is left by reads, writes and deletions and used by
// readAtCursor.
//
// All instances share the one ISAM engine, started by the first instance
// and released with the last; ten indexed files can be open at once (an
// eleventh open fails with errorWord 24).

#include "ptbank/crd_io.hpp"
#include "ptbank/isam/point_database.hpp"

namespace ptbank {

class CrdIoVk final : public CrdIO {
public:
    CrdIoVk();
    ~CrdIoVk() override;

    int open(const std::string& path) override;
    // With a create pending: makes the files and opens them.
    int isOpen() override;
    // Only records the path (".crd" or ".vkc", else 23); descLength is not
    // used: the length comes from takeSettings or the library-wide value.
    int create(const std::string& path, int descLength) override;
    int deleteFiles() override;
    int copyTo(CrdFile& destination) override;
    int rename(const std::string& newPath) override;
    int pointCount() override { return static_cast<int>(db_.pointCount); }
    int nameSize() override { return db_.layout.nameWidth + 1; }
    int descSize() override { return db_.descLength + 1; }
    int codeSize() override { return db_.layout.codeWidth + 1; }
    std::string maxLegalName() override;
    std::string minLegalName() override;
    int readPoint(std::string_view name, crdIoPointRec& out, int direction, int quiet,
                  crdCursor* cursor) override;
    int writePoint(const crdIoPointRec& record, int quiet, crdIoPointRec& previous) override;
    // Deletes the one point the text names: 1, or 0 with the reason.
    int deletePoints(std::string_view name, CrdFile& owner) override;
    int compareIds(std::string_view a, std::string_view b) override;
    // Deletes in place every point the range text covers ("ALL": every
    // point): the number deleted.
    int deleteRange(std::string_view range, int unused, CrdFile& owner) override;
    int validateId(std::string_view name) override;
    void takeSettings(CrdFile& source) override;
    int setTitle(std::string_view) override { return 1; }
    int setHeaderNumber(std::string_view) override { return 1; }
    int setHeaderDate(std::string_view) override { return 1; }
    // The stored feet byte 1 or 255 gives 2, 0 gives 1, any other value 0.
    int feetFlag() override;
    int commit(const std::string& tempPath) override;
    PointDb* innerBlock() override { return &db_; }
    int readAtCursor(crdCursor* cursor, crdIoPointRec& out, int step) override;
    int cursorIndex(crdCursor& cursor) override;
    int writeHeader() override { return 1; }

    const std::string& indexPath() const { return indexPath_; }

private:
    bool numericNames() const;
    int createPending(const std::string& path);
    // The current point name, lowestName and highestName after a read,
    // write or deletion that leaves the walk at `name`.
    void refreshNames(std::string_view name);
    bool fillFromPath(PointDb& db, const std::string& path) const;

    PointDb db_;
    std::string pendingPath_;
    int pending_ = 0;
    int newDescLength_ = -1;
    int newFeetFlag_ = 0;
    std::string indexPath_;
    std::string currentName_;
};

} // namespace ptbank
