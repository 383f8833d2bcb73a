#pragma once
// Back-end of the two plain binary .crd files (layouts in
// draftline_layout.hpp): the numeric file (type 0), whose point names are
// record numbers 1 to 99999, and the alphanumeric file (type 1), whose
// records carry names of up to 9 characters and are kept sorted by the
// point-name order. Both are read and written in place, one record at a
// time; the file is held with other writers locked out.
//
// The alphanumeric file's names are held in memory, in file order, from the
// open on and through every write, so a name is found without reading the
// file and a read by name costs one record transfer.
//
// Record layout exchanged with CrdFile: the code travels inside the
// description ("CODE/description") and the elevation 0.0 means "none",
// 1e-50 a true zero. A numeric point at 0, 0, 0 is stored with elevation
// 1e-6 so that it differs from an empty slot.

#include "formats/alpha_name_index.hpp"
#include "formats/draftline_layout.hpp"
#include "ptbank/crd_io.hpp"
#include "src/binary_file.hpp"

#include <string>
#include <vector>

namespace ptbank {

class CrdIODraftline final : public CrdIO {
public:
    int open(const std::string& path) override;
    // Whether the file is held open: after a failed rename or copy that
    // could not reopen it, the owning CrdFile drops this back-end.
    int isOpen() override { return file_.isOpen() ? 1 : 0; }
    int create(const std::string& path, int descLength) override;
    int deleteFiles() override;
    int copyTo(CrdFile& destination) override;
    int rename(const std::string& newPath) override;
    int pointCount() override;
    int nameSize() override { return numeric() ? 7 : 10; }
    int descSize() override { return 32; }
    int codeSize() override { return 1; }
    std::string maxLegalName() override { return numeric() ? "999999" : ""; }
    std::string minLegalName() override { return numeric() ? "1" : ""; }
    int readPoint(std::string_view name, crdIoPointRec& out, int direction, int quiet,
                  crdCursor* cursor) override;
    int writePoint(const crdIoPointRec& record, int quiet, crdIoPointRec& previous) override;
    int deletePoints(std::string_view range, CrdFile& owner) override {
        return deleteRange(range, 0, owner);
    }
    int compareIds(std::string_view a, std::string_view b) override;
    int validateId(std::string_view name) override;
    void takeSettings(CrdFile&) override {}
    int setTitle(std::string_view text) override;
    int setHeaderNumber(std::string_view text) override;
    int setHeaderDate(std::string_view text) override;
    int feetFlag() override { return 0; }
    int commit(const std::string& tempPath) override;
    PointDb* innerBlock() override { return nullptr; }
    int readAtCursor(crdCursor* cursor, crdIoPointRec& out, int step) override;
    int cursorIndex(crdCursor& cursor) override {
        cursor.index = current_;
        return current_;
    }
    int writeHeader() override;

private:
    bool numeric() const { return fileType_ == 0; }

    // Opening: the header of each kind.
    bool readNumericHeader();
    bool readAlphaHeader(const draftline::AlphaHeader& header);
    bool sortOldAlphaFile(const std::string& path);

    // Numeric file.
    int readNumericPoint(std::string_view name, crdIoPointRec& out, int direction, int quiet);
    int writeNumericPoint(const crdIoPointRec& record, int quiet);
    int readNumericAtCursor(int index, crdIoPointRec& out, int step);
    bool readNumericHeaderBytes(draftline::NumericRecord& header) const;
    bool readNumericRecord(long number, draftline::DiskPoint& point) const;
    bool writeNumericHeader(long highest);
    int writeNumericHeaderTexts();

    // Alphanumeric file.
    int readAlphaPoint(std::string_view name, crdIoPointRec& out, int direction);
    // The binary search by name, for names not held by exactly one record.
    int searchAlphaPoint(const std::string& wanted, crdIoPointRec& out, int direction);
    int writeAlphaPoint(const crdIoPointRec& record, int quiet);
    // Reads record `index` into `out`: false when it cannot be read.
    bool readAlphaRecord(int index, crdIoPointRec& out) const;
    // Reads the record a search by name ended on: 1, or 0 with readFailed.
    int readCurrentAlphaRecord(crdIoPointRec& out);
    // Reads the names of all records, in file order.
    bool loadAlphaNames();
    // Where a name goes in the sorted records.
    int insertionPosition(const std::string& name) const;
    int writeAlphaHeaderTexts();

    BinaryFile file_;
    int current_ = -1;
    draftline::AlphaNameIndex alphaNames_;
};

} // namespace ptbank
