#pragma once
// Points for the final-coordinate tests, and coordinate files filled and
// read back through the library's exported interface.

#include "model/point_records.hpp"
#include "ptbank/vk_crd_api.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace finalcoords {

// A 2D point (coordRec) or 3D station (stationRec); the code is the second text.
template <class Point>
Point pointOf(const char* name, const char* code, const char* description, double n, double e,
              double z, double sN = 0.0, double sE = 0.0, double sZ = 0.0, int type = ptUnknown) {
    Point p;
    setPointName(p.name, name);
    p.description2 = code;
    p.description = description;
    p.northing = n;
    p.easting = e;
    p.elevation = z;
    p.stdErrN = sN;
    p.stdErrE = sE;
    p.stdErrZ = sZ;
    p.pointType = type;
    return p;
}

inline crdPointRec crdPoint(const char* name, double n, double e, double z = -99999999.0,
                            const char* code = "", const char* description = "") {
    crdPointRec p{};
    std::strncpy(p.name, name, sizeof p.name - 1);
    std::strncpy(p.code, code, sizeof p.code - 1);
    std::strncpy(p.description, description, sizeof p.description - 1);
    p.northing = n;
    p.easting = e;
    p.elevation = z;
    return p;
}

// A new coordinate file of the library's type at the path, holding the points.
inline void storeCrdPoints(const std::string& path, int type,
                           const std::vector<crdPointRec>& points) {
    VkCrdApi_SetDefaultCRDType(type);
    VkCrdHandle h = VKCRD_NO_HANDLE;
    ASSERT_EQ(VkCrdApi_open_coordfile(path.c_str(), 0, &h), 0);
    for (crdPointRec p : points)
        ASSERT_EQ(VkCrdApi_write_point(1, &p, h), 0);
    VkCrdApi_end_coord_file(&h);
}

// The point stored under the name, or none.
inline std::optional<crdPointRec> storedPoint(const std::string& path, const char* name) {
    VkCrdHandle h = VKCRD_NO_HANDLE;
    EXPECT_EQ(VkCrdApi_open_coordfile(path.c_str(), 0, &h), 0);
    crdPointRec p{};
    char buffer[VKCRD_NAME_SIZE] = {};
    std::strncpy(buffer, name, sizeof buffer - 1);
    const int found = VkCrdApi_read_point(h, buffer, &p);
    VkCrdApi_end_coord_file(&h);
    return found == 0 ? std::optional(p) : std::nullopt;
}

} // namespace finalcoords
