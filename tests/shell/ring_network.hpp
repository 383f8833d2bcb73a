#pragma once
// A big network for runs that take long: a closed traverse of `points`
// stations, 150 m apart on a circle, each setup observing its neighbours
// (the angle between them and slope distances with zenith angles), the
// first two stations fixed control. Written as a raw data file in the form
// of examples/site/site.vkr (see its make_site.py), with exact observations.

#include <filesystem>

namespace guitest {

void writeRingNetwork(const std::filesystem::path& path, int points);

} // namespace guitest
