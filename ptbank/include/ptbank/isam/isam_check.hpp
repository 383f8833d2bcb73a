#pragma once
// Consistency checks of the ISAM engine's files, for tests and diagnostics.
// They read the files through the engine (the files must be open) and list
// every contradiction they find; an empty list means the file holds together.

#include <string>
#include <vector>

namespace ptbank {

struct IsamCheckReport {
    std::vector<std::string> faults;

    bool ok() const { return faults.empty(); }
    // The faults, one a line.
    std::string text() const;
};

// The index: every node is reachable from the root exactly once; all nodes of
// a level have one kind and are chained by their sibling links in key order;
// keys rise strictly within and across nodes; each node's high key (a leaf's
// stored one, an inner node's last key) equals its parent's entry for it,
// all 0xFF at the right edge; no more than 9 inner levels; the key count
// equals the header's active entries.
IsamCheckReport isamCheckIndex(int indexFileNo);

// The data file: its logical end falls on a record boundary; the free list
// runs through marked records without a loop; active entries equal the
// records allocated less the free ones.
IsamCheckReport isamCheckData(int dataFileNo);

// Both of the above, and between them: every key names a record that is
// allocated and not free, and every live record is named by exactly one key.
IsamCheckReport isamCheckPair(int dataFileNo, int indexFileNo);

} // namespace ptbank
