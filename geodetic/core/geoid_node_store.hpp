#pragma once
// Where the nodes of a loaded geoid grid live: in memory, one array per row,
// or, when memory cannot be had, in a temporary file of 16-byte node records
// paged through a write window of 14,000 and a read window of 28,000 records.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace geodetic_detail {

// One grid node: its geoid height in metres, when it has one.
struct GeoidNode {
    double value = 0.0;
    bool valid = false;
};

class GeoidNodeStore {
public:
    virtual ~GeoidNodeStore() = default;
    // Node k = column + row (nx + 1), 0 <= k < nodeCount; an absent node
    // when it was never written.
    virtual GeoidNode read(std::int64_t k) = 0;
    virtual void write(std::int64_t k, GeoidNode node) = 0;
    // The temporary file of the file form, empty for the memory form.
    virtual std::filesystem::path temporaryFile() const { return {}; }
};

// The store for a grid of (nx + 1) (ny + 1) nodes, every node absent: the
// memory form when its rows can be allocated, else the file form with its
// temporary file ("grd" and a unique suffix) in `temporaryFolder`. Null when
// neither can be made.
std::unique_ptr<GeoidNodeStore> createGeoidNodeStore(std::int32_t nx, std::int32_t ny,
                                                     const std::filesystem::path& temporaryFolder);

// The paths that only a shortage of memory or an unwritable folder would
// take, opened for tests.
struct GeoidStoreFaults {
    bool memoryUnavailable = false;        // the rows of the memory form cannot be allocated
    bool temporaryFileUnavailable = false; // nor can the temporary file be created
};
void injectGeoidStoreFaults(GeoidStoreFaults faults);

// The file form on its own, for tests of its paging; null when the
// temporary file cannot be created.
std::unique_ptr<GeoidNodeStore> createPagedGeoidNodeStore(std::int64_t nodeCount,
                                                          const std::filesystem::path& folder);

} // namespace geodetic_detail
