#pragma once
// CrdFile: one coordinate file of any supported type. It recognises the
// file's type, makes the matching back-end (CrdIO) and forwards every point
// operation to it, converting records between the file's layout and the
// layout the library's callers work in (currentUserType). Its base CrdList
// walks the file's points, whole or through a range text. Results are 1 for
// success and 0 for failure with the reason in errorWord(); diagnostics go
// to the library console (crd_environment.hpp) only when quiet is 0.

#include "ptbank/crd_io.hpp"
#include "ptbank/crd_text.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ptbank {

class BinaryFile;
class CrdFile;

// A walk over the points of a file, in the format's order, optionally
// limited to a range text ("1-100,205,A1-A9", "ALL").
class CrdList {
public:
    explicit CrdList(CrdFile* owner) : owner_(owner) {}
    CrdList(const CrdList&) = delete;
    CrdList& operator=(const CrdList&) = delete;
    virtual ~CrdList() = default;

    // Restarts the walk; with a text the walk follows that range (trimmed,
    // upper-cased; "ALL" on a file with points becomes lowest-highest).
    void setRange(const char* text);
    // The next point of the walk (1), or 0 at its end or on failure.
    int next(crdIoPointRec& out);
    // The point before the walk position (1), or 0.
    int previous(crdIoPointRec& out);

    crdCursor& cursor() { return cursor_; }
    // The range text still to walk; empty when none is set.
    std::string_view rangeText() const { return range_ ? range_->view() : std::string_view{}; }
    bool hasRange() const { return range_.has_value(); }

protected:
    void resetWalk();

    CrdFile* owner_;
    crdCursor cursor_;
    int insideRange_ = 0;
    std::optional<CrdString> range_;

private:
    int nextInRange(crdIoPointRec& out);
};

class CrdFile : public CrdList {
public:
    CrdFile();
    ~CrdFile() override;

    // Opens an existing file, or creates one when none exists (or `create`
    // is set). type -1 takes the type from the extension. 1/0.
    int open(const std::string& path, int create, int type);
    void close();

    // Reads a point by name (1), converted to currentUserType.
    int read(std::string_view name, crdIoPointRec& out, int quiet);
    // The point of that name, or the nearest one in the direction's sign.
    int readNear(std::string_view name, crdIoPointRec& out, int quiet, int direction);
    // Writes the caller's record (currentUserType layout): 1/0.
    int write(const crdIoPointRec& record, int quiet, int action, std::string_view note);
    // Deletes the point of that name: the number deleted, -1 on failure.
    int deletePoint(std::string_view name, int action, std::string_view note);
    // Replaces every point of the destination by this file's points. Refuses
    // (0) a destination that is this file.
    int copyAllPoints(CrdFile& destination);
    void copyHeader(CrdFile& source);
    // 0 when the record can be written, else validateId's code or 8.
    int checkWritable(const crdIoPointRec& record);
    // Points in the range (all points without a text or with "all").
    int countInRange(const char* range);
    int deleteFilesWithCompanions(int withCompanions);
    // Closes the history stream and removes the .his and .grp companions.
    void removeCompanions();
    int clear();

    // History switch: suspend pushes it and turns it off; restore pops it.
    void suspendHistory();
    void restoreHistory();
    int historySwitch() const { return historySwitch_; }
    // The library itself never turns history on; a program may.
    void setHistorySwitch(int on) { historySwitch_ = on ? 1 : 0; }

    // Forwarding accessors; without an open back-end they give the values
    // in brackets.
    int errorWord();                        // [22]
    int isOpen();                           // [0]
    std::string path();                     // [""]
    int fileType();                         // [-1]
    std::string highestName();              // [""]
    std::string lowestName();               // [""]
    int rename(const std::string& newPath); // [0]
    int feetFlag();                         // [0]
    int nameSize();                         // [0]
    int descSize();                         // [0]
    int codeSize();                         // [0]
    int validateId(std::string_view name);  // [22]
    std::string maxLegalName();             // [""]
    std::string minLegalName();             // [""]
    PointDb* innerBlock();                  // [none]
    std::string title();                    // [""]
    std::string headerNumber();             // [""]
    std::string headerDate();               // [""]

    // The open back-end, or none (a back-end that stopped being open is destroyed).
    CrdIO* backEnd();

    // History companion support (crd_history.cpp).
    void writeHistoryRecord(const crdIoPointRec* newRecord, const crdIoPointRec& former, int action,
                            std::string_view note);
    int openHistoryFile(int append);

private:
    void closeHistory();

    std::unique_ptr<CrdIO> backEnd_;
    int historySwitch_;
    std::unique_ptr<BinaryFile> history_;
    std::int64_t lastStamp_ = 0;
    CrdString lastNote_;
    CrdString lastUserName_;
    CrdString userName_;
    CrdString switchStack_;
};

} // namespace ptbank
