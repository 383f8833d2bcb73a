#pragma once
// Traverse and GPS-loop closures: how far the observations as read (before
// any adjustment) miss closing on themselves or on known points.
//
// A traverse names, in order, the backsight of its starting point, the
// starting point and every traverse point. Types (input/closure_file.hpp):
//   0 loop, interior angles: with angle closure it ends with the starting
//     point again and the known closing azimuth is the one from the first
//     name to the starting point; without, it ends with its first name;
//   1 loop, exterior angles: with angle closure it ends with the starting
//     point and its backsight again;
//   2 point to point between control (types 1 and 4): with angle closure it
//     ends with the ending point and its closing foresight, whose azimuth
//     from the ending point is observed or follows from both being known.
// Without angle closure the list ends at the closing point, whose known
// coordinates are the correct ending values.
//
// The run starts at the starting point's coordinates (0, 0 when it has none)
// with the backsight direction observed or computed from the two known
// points, and carries each leg: forward azimuth = back azimuth + angle, into
// [0, 2pi); northing += d cos, easting += d sin (d the distance the chain
// holds, its height difference signed from the instrument). The angular
// misclosure e is the smaller clockwise angle between the known and the
// computed closing azimuth; each of the k angles of the traverse (closing
// angle included) is then corrected by -e/k or +e/k and the traverse run
// again, so the balanced pass closes in azimuth exactly. The linear error is
// computed minus correct; its precision is distance traversed / total error.
//
// GPS loop: the names go round a loop that ends where it began; each pair
// adds the vector from the one to the next (`gpsVectorList`), or subtracts
// the vector stored the other way; the perimeter adds the vectors' lengths.
//
// Lengths of a traverse are in the project's unit: the 2D chain's as they
// stand, the 3D chain's metres times the factor of `HorizUnits`, its
// distances the mean measured ones turned to the grid by the line's combined
// factor where both ends are known.
// Directions and angles in radians.

#include "input/closure_file.hpp"

#include <optional>
#include <string>
#include <vector>

// A message of a closure: the text of its message box and the lines it
// writes to the error report.
struct ClosureMessage {
    std::string boxText;
    std::vector<std::string> errorLines;
};

// One station of a traverse: the angle at the instrument and, except for the
// closing angle, the leg to the foresight.
struct TraverseLeg {
    std::string backsight;
    std::string instrument;
    std::string foresight;
    double angle_rad = 0.0;
    bool closingAngle = false;
    double distance = 0.0;
    std::optional<double> heightDiff; // signed from the instrument; only with vertical closure
};

// One pass through the traverse and what it came to. Each part is present
// only when the pass got that far.
struct TraversePass {
    std::vector<TraverseLeg> legs;
    struct Azimuths {
        double known_rad = 0.0;
        double computed_rad = 0.0;
        double error_rad = 0.0; // the smaller clockwise angle between them
        int angleCount = 0;
        double correction_rad = 0.0; // to add to each angle
    };
    std::optional<Azimuths> azimuths;
    struct Linear {
        double correctNorthing = 0.0;
        double correctEasting = 0.0;
        double computedNorthing = 0.0;
        double computedEasting = 0.0;
        double distanceTraversed = 0.0;
    };
    std::optional<Linear> linear;
    struct Vertical {
        double correctElevation = 0.0;
        double computedElevation = 0.0;
    };
    std::optional<Vertical> vertical;
};

struct TraverseClosure {
    bool computed = false;      // reached its linear closure
    bool listed = false;        // got past the checks: the station heading is listed
    bool verticalShown = false; // the heading and the legs carry the height differences
    TraversePass measured;
    std::optional<TraversePass> balanced; // with angle closure, after the correction
    std::vector<ClosureMessage> messages;
};

struct GpsLoopClosure {
    bool computed = false;
    double misclosureX = 0.0;
    double misclosureY = 0.0;
    double misclosureZ = 0.0;
    double perimeter = 0.0;
    std::vector<ClosureMessage> messages;
};

// The closure of the traverse named by `names` with the given settings,
// from the observations of the chain in use (`geodeticModel`).
TraverseClosure computeTraverseClosure(const std::vector<std::string>& names,
                                       const ClosureSettings& settings);

// The closure of the GPS loop named by `names`, from `gpsVectorList`.
GpsLoopClosure computeGpsLoopClosure(const std::vector<std::string>& names);
