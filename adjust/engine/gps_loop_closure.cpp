#include "engine/closures.hpp"

#include "model/program_lists.hpp"

#include <cmath>

namespace {

ClosureMessage missingVector(const std::string& from, const std::string& to) {
    const std::string first = "  Starting pt.: " + from;
    const std::string second = "  Ending pt.: " + to;
    return {"In GPS loop closure could not find the following GPS vector.\n" + first + "\n" +
                second,
            {"Could not find the following GPS vector.", first, second}};
}

ClosureMessage loopDoesNotClose(const std::string& first, const std::string& last) {
    const std::string starting = "  Starting pt. :" + first;
    const std::string ending = "  Ending pt. :" + last;
    return {
        "In a GPS loop the starting and ending point must match.\n" + starting + "\n" + ending,
        {"In a GPS loop the starting and ending backsight point must match.", starting, ending}};
}

} // namespace

GpsLoopClosure computeGpsLoopClosure(const std::vector<std::string>& names) {
    GpsLoopClosure loop;
    if (names.size() < 4) {
        const std::string text =
            "A triangle is the minimum geometric shape needed to compute a GPS loop closure.";
        loop.messages.push_back({text, {text}});
        return loop;
    }
    if (!sameName(names.front(), names.back())) {
        loop.messages.push_back(loopDoesNotClose(names.front(), names.back()));
        return loop;
    }
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        gpsVectorRec vector;
        double sign = 1.0;
        if (gpsVectorList.find(names[i], names[i + 1], vector) < 0) {
            if (gpsVectorList.find(names[i + 1], names[i], vector) < 0) {
                loop.messages.push_back(missingVector(names[i], names[i + 1]));
                return loop;
            }
            sign = -1.0;
        }
        loop.misclosureX += sign * vector.dX;
        loop.misclosureY += sign * vector.dY;
        loop.misclosureZ += sign * vector.dZ;
        loop.perimeter +=
            std::sqrt(vector.dX * vector.dX + vector.dY * vector.dY + vector.dZ * vector.dZ);
    }
    loop.computed = true;
    return loop;
}
