#pragma once
// Puts GPS vectors straight into the program-wide vector list, the way the
// GPS vector reader leaves them.

#include "model/program_lists.hpp"

namespace testsupport {

inline void addGpsVector(const char* from, const char* to, double dX, double dY, double dZ) {
    gpsVectorRec v;
    setPointName(v.from, from);
    setPointName(v.to, to);
    v.dX = dX;
    v.dY = dY;
    v.dZ = dZ;
    gpsVectorList.append(v);
}

} // namespace testsupport
