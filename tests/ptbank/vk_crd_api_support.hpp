#pragma once
// What the tests of the exported point-file interface share: point records
// built from values, the walks a calling program runs, and a fixture that
// gives each test its own folder and a freshly loaded library.

#include "crd_test_support.hpp"

#include "ptbank/vk_crd_api.h"
#include "ptbank/vk_crd_handles.hpp"

#include <cstring>
#include <string>
#include <vector>

namespace crdtest {

using Names = std::vector<std::string>;

inline std::string withoutBlanks(const char* text) {
    std::string s(text);
    s.erase(0, s.find_first_not_of(' '));
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

inline crdPointRec pointRec(const std::string& name, double northing, double easting,
                            double elevation = -99999999.0, const std::string& description = "",
                            const std::string& code = "") {
    crdPointRec p{};
    std::strncpy(p.name, name.c_str(), sizeof p.name - 1);
    std::strncpy(p.code, code.c_str(), sizeof p.code - 1);
    p.northing = northing;
    p.easting = easting;
    p.elevation = elevation;
    std::strncpy(p.description, description.c_str(), sizeof p.description - 1);
    return p;
}

// The walk as callers run it: rewind, then next with the record as name buffer.
inline Names walk(VkCrdHandle h, const char* range = nullptr) {
    Names names;
    crdPointRec p{};
    VkCrdApi_find_coord_top(p.name, h);
    if (range)
        VkCrdApi_setRange(h, range);
    while (VkCrdApi_next_coord(h, p.name, &p) == 1)
        names.push_back(withoutBlanks(p.name));
    return names;
}

// From the highest name down, stepping back with the record as name buffer.
inline Names walkBackwards(VkCrdHandle h) {
    Names names;
    crdPointRec p{};
    VkCrdApi_GetMaxPointName(p.name, h);
    if (VkCrdApi_read_point(h, p.name, &p) != 0)
        return names;
    names.push_back(withoutBlanks(p.name));
    while (VkCrdApi_prev_coord(h, p.name, &p) == 1)
        names.push_back(withoutBlanks(p.name));
    return names;
}

// A fresh library state before and after each test.
class CrdApiTest : public CrdTest {
protected:
    void SetUp() override {
        CrdTest::SetUp();
        ptbank::resetVkCrdApiForTests();
    }
    void TearDown() override {
        ptbank::resetVkCrdApiForTests();
        CrdTest::TearDown();
    }
};

} // namespace crdtest
