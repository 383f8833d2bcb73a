#pragma once
// A generated levelling project for the benchmarks that run the whole
// driver: a square grid of `benchmarks` points 1 km apart in full rows, the
// heights a smooth terrain of 90 to 110 m with up to 0.5 m of seeded
// roughness; a differential levelling run along every edge from a point to
// its east and its north neighbour, over one unnamed turning point, the rod
// readings rounded to 1 mm. The four corners are benchmarks given with their
// elevations. The project adjusts elevations only: no horizontal
// adjustment, no total-station or GNSS file.
//
// Writes PROJECT.prj (its name is returned) and network.lev into `folder`,
// which must exist.

#include <filesystem>

namespace rawnetworks {

std::filesystem::path writeLevelProject(const std::filesystem::path& folder, int benchmarks);

} // namespace rawnetworks
