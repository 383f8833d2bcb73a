// The memory and file forms of a geoid grid's node store.

#include "geoid_node_store.hpp"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <unistd.h>

namespace geodetic_detail {
namespace {

GeoidStoreFaults injectedFaults;

class MemoryNodeStore final : public GeoidNodeStore {
public:
    MemoryNodeStore(std::int32_t nx, std::int32_t ny)
        : rowLength_(std::int64_t{nx} + 1),
          rows_(static_cast<std::size_t>(ny) + 1,
                std::vector<GeoidNode>(static_cast<std::size_t>(rowLength_))) {}

    GeoidNode read(std::int64_t k) override { return rows_[row(k)][column(k)]; }
    void write(std::int64_t k, GeoidNode node) override { rows_[row(k)][column(k)] = node; }

private:
    std::size_t row(std::int64_t k) const { return static_cast<std::size_t>(k / rowLength_); }
    std::size_t column(std::int64_t k) const { return static_cast<std::size_t>(k % rowLength_); }

    std::int64_t rowLength_;
    std::vector<std::vector<GeoidNode>> rows_;
};

// Node record of the temporary file: the value (double), a validity
// character ('1' or '0'), a second character '0', two unused bytes and an
// int32 0; little-endian.
constexpr std::size_t recordSize = 16;

// Writes the record of `node` at `record` (recordSize bytes).
void encode(const GeoidNode& node, std::uint8_t* record) {
    const auto bits = std::bit_cast<std::uint64_t>(node.valid ? node.value : 0.0);
    for (std::size_t i = 0; i < 8; ++i)
        record[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    record[8] = node.valid ? '1' : '0';
    record[9] = '0';
    std::fill(record + 10, record + recordSize, std::uint8_t{0});
}

GeoidNode decode(const std::uint8_t* record) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < 8; ++i)
        bits |= std::uint64_t{record[i]} << (8 * i);
    GeoidNode node;
    node.valid = record[8] == '1';
    node.value = node.valid ? std::bit_cast<double>(bits) : 0.0;
    return node;
}

// Repeats a positional read or write of `size` bytes, given the bytes done
// so far, until all are done, the call fails or the file ends; returns the
// bytes done.
template <class Transfer> std::size_t transferFully(std::size_t size, Transfer transfer) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = transfer(done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// A run of consecutive node records held in memory: nodes [first, first + count).
struct Window {
    std::vector<GeoidNode> nodes;
    std::int64_t first = 0;
    std::int64_t count = 0;

    bool holds(std::int64_t k) const { return count > 0 && k >= first && k < first + count; }
    GeoidNode& at(std::int64_t k) { return nodes[static_cast<std::size_t>(k - first)]; }
};

class PagedNodeStore final : public GeoidNodeStore {
public:
    static constexpr std::int64_t writeWindowSize = 14000;
    static constexpr std::int64_t readWindowSize = 28000;

    PagedNodeStore(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {
        write_.nodes.resize(writeWindowSize);
        read_.nodes.resize(readWindowSize);
    }

    ~PagedNodeStore() override {
        ::close(fd_);
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }

    std::filesystem::path temporaryFile() const override { return path_; }

    // Writes every node as an absent record, which lays out the whole file.
    bool layOut(std::int64_t nodeCount) {
        const std::vector<GeoidNode> absent(static_cast<std::size_t>(writeWindowSize));
        for (std::int64_t first = 0; first < nodeCount; first += writeWindowSize)
            if (!writeRecords(first, std::min(writeWindowSize, nodeCount - first), absent.data()))
                return false;
        return true;
    }

    GeoidNode read(std::int64_t k) override {
        if (read_.holds(k))
            return read_.at(k);
        if (write_.holds(k))
            return write_.at(k);
        reloadReadWindowAround(k);
        return read_.holds(k) ? read_.at(k) : GeoidNode{};
    }

    void write(std::int64_t k, GeoidNode node) override {
        if (read_.holds(k))
            read_.at(k) = node;
        if (write_.count > 0) {
            if (write_.holds(k)) {
                write_.at(k) = node;
                return;
            }
            if (k > write_.first && k - write_.first < writeWindowSize) {
                extendTo(write_, k);
                write_.at(k) = node;
                return;
            }
            writeRecords(write_.first, write_.count, write_.nodes.data());
            write_.count = 0;
        }
        openWriteWindowAt(k);
        write_.at(k) = node;
    }

private:
    // The window's count grows to take node k; the nodes between its old end
    // and k are absent.
    static void extendTo(Window& w, std::int64_t k) {
        for (std::int64_t i = w.first + w.count; i < k; ++i)
            w.at(i) = GeoidNode{};
        w.count = std::max(w.count, k - w.first + 1);
    }

    void reloadReadWindowAround(std::int64_t k) {
        read_.first = k <= writeWindowSize ? 0 : k - writeWindowSize;
        read_.count = readRecords(read_.first, readWindowSize, read_.nodes.data());
        // The write window is newer than the file.
        for (std::int64_t i = write_.first; i < write_.first + write_.count; ++i)
            if (read_.holds(i))
                read_.at(i) = write_.at(i);
    }

    void openWriteWindowAt(std::int64_t k) {
        write_.first = std::max<std::int64_t>(0, k - writeWindowSize / 2);
        if (read_.holds(write_.first) && read_.holds(write_.first + writeWindowSize - 1)) {
            std::copy_n(&read_.at(write_.first), writeWindowSize, write_.nodes.begin());
            write_.count = writeWindowSize;
        } else {
            write_.count = readRecords(write_.first, writeWindowSize, write_.nodes.data());
        }
        extendTo(write_, k);
    }

    // Reads up to `count` records from node `first` on; returns how many
    // whole records there were.
    std::int64_t readRecords(std::int64_t first, std::int64_t count, GeoidNode* out) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count) * recordSize);
        const std::size_t got = transferFully(bytes.size(), [&](std::size_t done) {
            return ::pread(fd_, bytes.data() + done, bytes.size() - done,
                           static_cast<off_t>(first * recordSize + done));
        });
        const std::int64_t records = static_cast<std::int64_t>(got / recordSize);
        for (std::int64_t i = 0; i < records; ++i)
            out[i] = decode(bytes.data() + static_cast<std::size_t>(i) * recordSize);
        return records;
    }

    bool writeRecords(std::int64_t first, std::int64_t count, const GeoidNode* nodes) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count) * recordSize);
        for (std::int64_t i = 0; i < count; ++i)
            encode(nodes[i], bytes.data() + static_cast<std::size_t>(i) * recordSize);
        return transferFully(bytes.size(), [&](std::size_t done) {
                   return ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(first * recordSize + done));
               }) == bytes.size();
    }

    int fd_;
    std::filesystem::path path_;
    Window write_;
    Window read_;
};

std::unique_ptr<PagedNodeStore> openPagedStore(const std::filesystem::path& folder) {
    if (injectedFaults.temporaryFileUnavailable)
        return nullptr;
    std::string name = (folder / "grdXXXXXX").string();
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return nullptr;
    try {
        return std::make_unique<PagedNodeStore>(fd, name);
    } catch (const std::bad_alloc&) {
        ::close(fd);
        ::unlink(name.c_str());
        return nullptr;
    }
}

} // namespace

void injectGeoidStoreFaults(GeoidStoreFaults faults) {
    injectedFaults = faults;
}

std::unique_ptr<GeoidNodeStore> createPagedGeoidNodeStore(std::int64_t nodeCount,
                                                          const std::filesystem::path& folder) {
    std::unique_ptr<PagedNodeStore> store = openPagedStore(folder);
    if (store && !store->layOut(nodeCount))
        store.reset();
    return store;
}

std::unique_ptr<GeoidNodeStore> createGeoidNodeStore(std::int32_t nx, std::int32_t ny,
                                                     const std::filesystem::path& temporaryFolder) {
    if (!injectedFaults.memoryUnavailable) {
        try {
            return std::make_unique<MemoryNodeStore>(nx, ny);
        } catch (const std::bad_alloc&) {
        }
    }
    return createPagedGeoidNodeStore((std::int64_t{nx} + 1) * (std::int64_t{ny} + 1),
                                     temporaryFolder);
}

} // namespace geodetic_detail
