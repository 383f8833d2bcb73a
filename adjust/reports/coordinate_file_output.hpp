#pragma once
// Adjusted points into the project's coordinate file (`crdFileName`,
// written when `wrtToCrd` is set) through the coordinate file library.
//
// A point already stored under the same name is replaced only after the
// user agreed, through the shell's point-overwrite question; an identical
// stored point (same trimmed description and code, coordinates within
// 1e-15) is kept without asking. The answers 182 (overwrite all) and 184
// (keep all) stop the questions for the rest of the output; 184 still adds
// names the file does not hold.
//
// Nothing reaches the file until every point has been decided: a Cancel
// answer leaves the file exactly as it was, while the other coordinate
// files of the run are still written in full.

#include "model/run_context.hpp"
#include "ptbank/crd_overwrite_rec.h"

#include <string>
#include <vector>

// Whether to replace the stored point by the proposed one: the user's answer
// (VKCRD_ANSWER_*), asked through the context's overwritePrompt unless the
// two are the same point (then VKCRD_ANSWER_KEEP). Descriptions and codes of
// both are compared, and left, without leading and trailing blanks. The
// question shows the stored point under the proposed point's name, the
// file's available point-number ranges and the project's precisions;
// `proposed` comes back as the user confirmed it (a new name, after
// VKCRD_ANSWER_RENAMED).
int overwriteCrdPoint(const RunContext& context, crdPointRec stored, crdPointRec& proposed,
                      VkCrdHandle handle);

// What the coordinate file did not take of the points meant for it: nothing
// at all after a Cancel answer or when the file could not be used, else the
// names whose write was refused (an invalid name) or failed, and those left
// unwritten after a "no" to going on. Points kept by the user's answer are
// no shortfall.
struct CrdShortfall {
    std::string fileName; // `crdFileName` as the project gives it
    std::string nothingStoredBecause;
    std::vector<std::string> notStored;

    bool any() const { return !nothingStoredBecause.empty() || !notStored.empty(); }
    // "Nothing was stored in <file>: <why>" or "Not stored in <file>: <name>,
    // <name>, ..."; empty without a shortfall.
    std::string text() const;
};

class CoordinateFileOutput {
public:
    // How one pass over a point list treats its points.
    struct PassRules {
        // Which pass over the point lists (a failed write ends its pass).
        int pass = 0;
        // Read the stored point even when no question is due (the 2D main
        // list, for its vertical-only points).
        bool alwaysReadStored = false;
        // Message of a failed write, before the file name.
        const char* writeErrorText = "Error writing to: ";
    };

    explicit CoordinateFileOutput(const RunContext& context) : context_(context) {}
    CoordinateFileOutput(const CoordinateFileOutput&) = delete;
    CoordinateFileOutput& operator=(const CoordinateFileOutput&) = delete;
    ~CoordinateFileOutput();

    // Opens the file when `wrtToCrd` is set, choosing the type of a new file
    // from `crdFileType` (1..6; any other value becomes 1). Shows "No output
    // coordinate file name has been specified" or "Error opening: %s" and
    // leaves the file unused when that fails.
    void open();
    bool inUse() const { return inUse_; }

    // Decides whether `point` goes into the file. `verticalOnly`: the point
    // has an adjusted elevation but no position; when a point of its name is
    // stored and the rules read it, the stored position is kept.
    void offer(const crdPointRec& point, bool verticalOnly, const PassRules& rules);

    // Writes the points decided on, in order, unless the user cancelled. An
    // invalid name asks whether to go on; another failure shows its message
    // and ends the writing of that pass's points.
    void commit();
    // Gives the file back to the library.
    void close();
    // What the file did not take; complete after commit().
    const CrdShortfall& shortfall() const { return shortfall_; }

private:
    struct Decided {
        crdPointRec point;
        PassRules rules;
    };

    // Asks about a stored point of the name; false when the user cancelled.
    bool settleStoredPoint(const crdPointRec& stored, crdPointRec& point);

    const RunContext& context_;
    VkCrdHandle handle_ = VKCRD_NO_HANDLE;
    bool inUse_ = false;
    bool ask_ = true;
    int lastAnswer_ = VKCRD_ANSWER_KEEP;
    bool write_ = true;
    bool cancelled_ = false;
    std::vector<Decided> decided_;
    CrdShortfall shortfall_;
};
