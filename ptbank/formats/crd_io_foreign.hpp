#pragma once
// Back-ends of the two point-database formats whose files belong to the
// ptvault library: Land Desktop (.mdb, type 6, CrdIOLdd) and Plainview
// (.zak, type 5, CrdIOZak). Every file operation is a ptvault call (through
// vault_calls.hpp); the back-ends add the checks, keep highestName,
// lowestName and the last point read, and turn ptvault statuses into
// errorWord codes:
//
//   status        .mdb  .zak        status        .mdb  .zak
//   1, 2          0     0           -7            6     13
//   0, -2         50    50          -8            6     50
//   -1, -3        29    34          -9..-11       30    35
//   -4            23    23          -12, -13      21    21
//   -5            22    22          -14           23    50
//   -6            51    50          -15           30    50
//   other         50    50
//
// Records cross the interface in the file layout of CrdFile's conversions:
// a missing elevation is -1.0e20 (.mdb) or -100000000.0 (.zak). There is no
// code field. isOpen always answers 1: a back-end whose database did not
// open answers 22 to point operations.

#include "ptbank/crd_io.hpp"
#include "ptbank/vault_calls.hpp"

#include <cstdint>
#include <string>

namespace ptbank {

struct LddFormat;
struct ZakFormat;

template <typename Format> class CrdIOVault final : public CrdIO {
public:
    CrdIOVault();
    ~CrdIOVault() override;

    int open(const std::string& path) override { return openDatabase(path, 0); }
    int isOpen() override { return 1; }
    int create(const std::string& path, int descLength) override;
    int deleteFiles() override;
    int copyTo(CrdFile& destination) override;
    int rename(const std::string& newPath) override;
    int pointCount() override;
    int nameSize() override;
    int descSize() override;
    int codeSize() override { return 1; }
    std::string maxLegalName() override;
    std::string minLegalName() override { return "1"; }
    int readPoint(std::string_view name, crdIoPointRec& out, int direction, int quiet,
                  crdCursor* cursor) override;
    int writePoint(const crdIoPointRec& record, int quiet, crdIoPointRec& previous) override;
    // Removes the one point the text names: 1, or 0 with the reason.
    int deletePoints(std::string_view name, CrdFile& owner) override;
    int clear(CrdFile& owner) override;
    // Deletes, one by one, the points of the owner that the range covers:
    // the number deleted.
    int deleteRange(std::string_view range, int unused, CrdFile& owner) override;
    int validateId(std::string_view name) override;
    void takeSettings(CrdFile&) override {}
    int feetFlag() override { return 0; }
    int commit(const std::string& tempPath) override;
    PointDb* innerBlock() override { return nullptr; }
    int readAtCursor(crdCursor* cursor, crdIoPointRec& out, int step) override;
    int cursorIndex(crdCursor& cursor) override;
    int writeHeader() override { return 1; }

    std::int32_t handle() const { return handle_; }

private:
    int openDatabase(const std::string& path, int mode);
    void forget();
    void closeDatabase();

    std::int32_t handle_ = 0;
    std::string lastName_;
};

extern template class CrdIOVault<LddFormat>;
extern template class CrdIOVault<ZakFormat>;
using CrdIOLdd = CrdIOVault<LddFormat>;
using CrdIOZak = CrdIOVault<ZakFormat>;

// errorWord of a ptvault status, by format.
int lddStatusWord(int status);
int zakStatusWord(int status);

} // namespace ptbank
