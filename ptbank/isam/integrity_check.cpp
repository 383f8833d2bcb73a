#include "ptbank/isam/isam_check.hpp"

#include "isam/btree_search.hpp"
#include "isam/write_back.hpp"

#include "platform/binary_io.hpp"

#include <algorithm>
#include <array>
#include <set>

namespace ptbank {

using namespace isam;

namespace {

std::string hexKey(const std::uint8_t* key, int length) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (int i = 0; i < length; ++i) {
        text += digits[key[i] >> 4];
        text += digits[key[i] & 15];
    }
    return text;
}

std::string at(std::uint32_t position) {
    return "node " + std::to_string(position) + ": ";
}

// Keys a node of the next level must lie in: above `low` (when set), up to
// and including `high`, which must also be the node's own high key.
struct Bounds {
    std::vector<std::uint8_t> low;
    std::vector<std::uint8_t> high;
};

struct Pending {
    std::uint32_t position;
    Bounds bounds;
};

class IndexChecker {
public:
    IndexChecker(int fileNo, const FileHeader& header, IsamCheckReport& report)
        : fileNo_(fileNo), header_(header), report_(report) {}

    // The record positions named by the leaves, in key order.
    std::vector<std::uint32_t> run() {
        if (header_.rootNode == 0) {
            if (nodeCount(header_) != 0)
                fault("the tree is empty but the file holds " + std::to_string(nodeCount(header_)) +
                      " nodes");
        } else {
            checkLevels();
        }
        if (static_cast<std::int64_t>(records_.size()) != header_.activeEntries)
            fault("the leaves hold " + std::to_string(records_.size()) +
                  " keys, the header counts " + std::to_string(header_.activeEntries));
        return records_;
    }

private:
    void fault(const std::string& text) { report_.faults.push_back(text); }

    int compare(const std::uint8_t* a, const std::uint8_t* b) {
        bool known = true;
        const int c = compareKeys(header_.keyType, a, b, header_.keyLength, known);
        if (!known)
            fault("unknown key type " + std::to_string(header_.keyType));
        return c;
    }

    void checkLevels() {
        const std::vector<std::uint8_t> edge(static_cast<std::size_t>(header_.keyLength), 0xFF);
        std::vector<Pending> level{{header_.rootNode, {{}, edge}}};
        for (int depth = 0; !level.empty(); ++depth) {
            if (depth > maxInnerLevels) {
                fault("more than " + std::to_string(maxInnerLevels) + " inner levels");
                return;
            }
            level = checkLevel(level);
        }
        if (visited_.size() != nodeCount(header_))
            fault(std::to_string(nodeCount(header_) - visited_.size()) +
                  " nodes are not reachable from the root");
    }

    // Checks one level and returns the next (empty below the leaves).
    std::vector<Pending> checkLevel(const std::vector<Pending>& level) {
        std::vector<Pending> below;
        std::vector<Node> nodes;
        for (const Pending& item : level) {
            Node node;
            if (!visited_.insert(item.position).second) {
                fault(at(item.position) + "reached twice");
                return {};
            }
            if (const int code = loadNode(fileNo_, item.position, node); code != 0) {
                fault(at(item.position) + "cannot be read (" + std::to_string(code) + ")");
                return {};
            }
            checkNode(node, item.bounds, below);
            nodes.push_back(std::move(node));
        }
        checkChain(nodes);
        return below;
    }

    void checkNode(const Node& node, const Bounds& bounds, std::vector<Pending>& below) {
        const int n = node.count();
        const int length = header_.keyLength;
        for (int i = 1; i <= n; ++i) {
            const std::uint8_t* key = node.key(i);
            const std::uint8_t* previous = i > 1 ? node.key(i - 1) : nullptr;
            if (previous == nullptr && !bounds.low.empty())
                previous = bounds.low.data();
            if (previous != nullptr && compare(previous, key) >= 0)
                fault(at(node.position) + "key " + hexKey(key, length) + " at entry " +
                      std::to_string(i) + " does not rise");
            if (compare(key, bounds.high.data()) > 0)
                fault(at(node.position) + "key " + hexKey(key, length) +
                      " lies above the parent's key");
            if (node.leaf)
                records_.push_back(node.pointer(i));
            else
                below.push_back({node.pointer(i),
                                 {previous != nullptr ? std::vector(previous, previous + length)
                                                      : std::vector<std::uint8_t>{},
                                  std::vector(key, key + length)}});
        }
        const std::uint8_t* own = node.leaf ? node.highKey.data() : n > 0 ? node.key(n) : nullptr;
        if (own == nullptr)
            fault(at(node.position) + "inner node without entries");
        else if (compare(own, bounds.high.data()) != 0)
            fault(at(node.position) + "high key " + hexKey(own, length) +
                  " differs from the parent's " + hexKey(bounds.high.data(), length));
    }

    void checkChain(const std::vector<Node>& nodes) {
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const Node& node = nodes[i];
            if (node.leaf != nodes.front().leaf)
                fault(at(node.position) + "leaves and inner nodes share a level");
            const std::uint32_t right = i + 1 < nodes.size() ? nodes[i + 1].position : 0;
            const std::uint32_t left = i > 0 && node.leaf ? nodes[i - 1].position : 0;
            if (node.right != right)
                fault(at(node.position) + "right sibling " + std::to_string(node.right) +
                      ", expected " + std::to_string(right));
            if (node.left != left)
                fault(at(node.position) + "left sibling " + std::to_string(node.left) +
                      ", expected " + std::to_string(left));
        }
    }

    int fileNo_;
    const FileHeader& header_;
    IsamCheckReport& report_;
    std::set<std::uint32_t> visited_;
    std::vector<std::uint32_t> records_;
};

// The free records of a data file, checking the list on the way.
std::set<std::uint32_t> checkData(FileBlock& block, IsamCheckReport& report) {
    const FileHeader& h = block.header;
    const std::uint32_t first = dataHeaderArea(h.recordLength);
    std::set<std::uint32_t> free;
    if ((h.logicalEnd + 1 - first) % h.recordLength != 0) {
        report.faults.push_back("the logical end " + std::to_string(h.logicalEnd) +
                                " is not on a record boundary");
        return free;
    }
    for (std::uint32_t position = h.freeListHead; position != 0;) {
        const std::string where = "free record " + std::to_string(position) + ": ";
        if (position < first || (position - first) % h.recordLength != 0 ||
            position > h.logicalEnd) {
            report.faults.push_back(where + "not a record position");
            break;
        }
        if (!free.insert(position).second) {
            report.faults.push_back(where + "the free list loops");
            break;
        }
        std::array<std::uint8_t, 5> link{};
        if (const int code = readRecordBytes(block, position, link); code != 0) {
            report.faults.push_back(where + "cannot be read (" + std::to_string(code) + ")");
            break;
        }
        platform::ByteReader r(link);
        if (r.u8() != 0xFF)
            report.faults.push_back(where + "lacks its 0xFF mark");
        position = r.u32();
    }
    const std::int64_t allocated = (std::int64_t{h.logicalEnd} + 1 - first) / h.recordLength;
    if (allocated - static_cast<std::int64_t>(free.size()) != h.activeEntries)
        report.faults.push_back(std::to_string(allocated) + " records allocated, " +
                                std::to_string(free.size()) + " free, but " +
                                std::to_string(h.activeEntries) + " active");
    return free;
}

bool usable(FileUse& use, bool index, int fileNo, IsamCheckReport& report) {
    if (use.code() != 0)
        report.faults.push_back("file " + std::to_string(fileNo) + " cannot be used (" +
                                std::to_string(use.code()) + ")");
    else if (use.block().header.isIndex() != index)
        report.faults.push_back("file " + std::to_string(fileNo) + " is not " +
                                (index ? "an index" : "a data file"));
    else
        return true;
    return false;
}

} // namespace

std::string IsamCheckReport::text() const {
    std::string all;
    for (const std::string& line : faults)
        all += line + "\n";
    return all;
}

IsamCheckReport isamCheckIndex(int indexFileNo) {
    IsamCheckReport report;
    FileUse use(indexFileNo);
    if (usable(use, true, indexFileNo, report))
        IndexChecker(indexFileNo, use.block().header, report).run();
    return report;
}

IsamCheckReport isamCheckData(int dataFileNo) {
    IsamCheckReport report;
    FileUse use(dataFileNo);
    if (usable(use, false, dataFileNo, report))
        checkData(use.block(), report);
    return report;
}

IsamCheckReport isamCheckPair(int dataFileNo, int indexFileNo) {
    IsamCheckReport report;
    FileUse data(dataFileNo);
    FileUse index(indexFileNo);
    if (!usable(data, false, dataFileNo, report) || !usable(index, true, indexFileNo, report))
        return report;
    const std::set<std::uint32_t> free = checkData(data.block(), report);
    const std::vector<std::uint32_t> named =
        IndexChecker(indexFileNo, index.block().header, report).run();
    const FileHeader& h = data.block().header;
    const std::uint32_t first = dataHeaderArea(h.recordLength);
    std::set<std::uint32_t> seen;
    for (const std::uint32_t position : named) {
        const std::string where = "key for record " + std::to_string(position) + ": ";
        if (position < first || (position - first) % h.recordLength != 0 || position > h.logicalEnd)
            report.faults.push_back(where + "not a record of the data file");
        else if (free.count(position) != 0)
            report.faults.push_back(where + "the record is on the free list");
        else if (!seen.insert(position).second)
            report.faults.push_back(where + "named by more than one key");
    }
    if (static_cast<std::int64_t>(named.size()) != h.activeEntries)
        report.faults.push_back(std::to_string(h.activeEntries) + " live records but " +
                                std::to_string(named.size()) + " keys");
    return report;
}

} // namespace ptbank
