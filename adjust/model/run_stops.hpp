#pragma once
// Ways a processing run stops before its end that are not a failure of one
// stage's data: the user's cancel, a project whose zone its coordinate
// system does not have, and a geoid grid file that is damaged. The driver
// catches them, says why in the error report and ends the run.

#include "model/progress.hpp"

#include "platform/c_locale_text.hpp"

#include <stdexcept>
#include <string>

// The user pressed Cancel (or Ctrl-C) while the run was under way.
class RunCancelled : public std::runtime_error {
public:
    RunCancelled() : std::runtime_error(userAbortedText) {}
};

// The project's zone code is not a zone of its coordinate system (State
// Plane 1983 or 1927, UTM): every conversion would work on an empty zone.
class UnknownZone : public std::runtime_error {
public:
    explicit UnknownZone(int zone)
        : std::runtime_error(platform::formatC("Unknown zone %d", zone)) {}
};

// A line of the project's geoid grid file is not wholly a number: every
// separation taken from the grid would be in doubt. `why` names the file and
// the line.
class DamagedGeoidGrid : public std::runtime_error {
public:
    explicit DamagedGeoidGrid(const std::string& why) : std::runtime_error(why) {}
};
