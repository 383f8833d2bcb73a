// The names of the state-plane zones. Both systems name a zone code alike,
// so the names are kept once, by code, for the 1983 and the 1927 tables.

#include "state_plane_names.hpp"

#include "plain_text.hpp"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace geodetic_detail {

namespace {

struct NamedZone {
    int code;
    const char* name;
};

// By code. Codes 407, 2101-2103, 2501-2503, 2601-2602 and 3901-3902 exist in
// 1927 only; 1600, 2500, 2600, 3900 and 5200 in 1983 only.
constexpr NamedZone zoneNames[] = {
    {101, "Alabama East"},
    {102, "Alabama West"},
    {201, "Arizona East"},
    {202, "Arizona Central"},
    {203, "Arizona West"},
    {301, "Arkansas North"},
    {302, "Arkansas South"},
    {401, "Calif. Zone 1"},
    {402, "Calif. Zone 2"},
    {403, "Calif. Zone 3"},
    {404, "Calif. Zone 4"},
    {405, "Calif. Zone 5"},
    {406, "Calif. Zone 6"},
    {407, "Calif. Zone 7"},
    {501, "Colorado North"},
    {502, "Colorado Central"},
    {503, "Colorado South"},
    {600, "Connecticut"},
    {700, "Delaware"},
    {901, "Florida East"},
    {902, "Florida West"},
    {903, "Florida North"},
    {1001, "Georgia East"},
    {1002, "Georgia West"},
    {1101, "Idaho East"},
    {1102, "Idaho Central"},
    {1103, "Idaho West"},
    {1201, "Illinois East"},
    {1202, "Illinois West"},
    {1301, "Indiana East"},
    {1302, "Indiana West"},
    {1401, "Iowa North"},
    {1402, "Iowa South"},
    {1501, "Kansas North"},
    {1502, "Kansas South"},
    {1600, "Kentucky Single Zone"},
    {1601, "Kentucky North"},
    {1602, "Kentucky South"},
    {1701, "Louisiana North"},
    {1702, "Louisiana South"},
    {1703, "Louisiana Offshore"},
    {1801, "Maine East"},
    {1802, "Maine West"},
    {1900, "Maryland"},
    {2001, "Mass. Mainland"},
    {2002, "Mass. Island"},
    {2101, "Michigan East"},
    {2102, "Michigan Old Central"},
    {2103, "Michigan West"},
    {2111, "Michigan North"},
    {2112, "Michigan Central"},
    {2113, "Michigan South"},
    {2201, "Minnesota North"},
    {2202, "Minnesota Central"},
    {2203, "Minnesota South"},
    {2301, "Mississippi East"},
    {2302, "Mississippi West"},
    {2401, "Missouri East"},
    {2402, "Missouri Central"},
    {2403, "Missouri West"},
    {2500, "Montana"},
    {2501, "Montana North"},
    {2502, "Montana Central"},
    {2503, "Montana South"},
    {2600, "Nebraska"},
    {2601, "Nebraska North"},
    {2602, "Nebraska South"},
    {2701, "Nevada East"},
    {2702, "Nevada Central"},
    {2703, "Nevada West"},
    {2800, "New Hampshire"},
    {2900, "New Jersey"},
    {3001, "New Mexico East"},
    {3002, "New Mexico Central"},
    {3003, "New Mexico West"},
    {3101, "New York East"},
    {3102, "New York Central"},
    {3103, "New York West"},
    {3104, "Long Island"},
    {3200, "North Carolina"},
    {3301, "North Dakota North"},
    {3302, "North Dakota South"},
    {3401, "Ohio North"},
    {3402, "Ohio South"},
    {3501, "Oklahoma North"},
    {3502, "Oklahoma South"},
    {3601, "Oregon North"},
    {3602, "Oregon South"},
    {3701, "Pennsylvania North"},
    {3702, "Pennsylvania South"},
    {3800, "Rhode Island"},
    {3900, "South Carolina"},
    {3901, "South Carolina North"},
    {3902, "South Carolina South"},
    {4001, "South Dakota North"},
    {4002, "South Dakota South"},
    {4100, "Tennessee"},
    {4201, "Texas North"},
    {4202, "Texas North Central"},
    {4203, "Texas Central"},
    {4204, "Texas South Central"},
    {4205, "Texas South"},
    {4301, "Utah North"},
    {4302, "Utah Central"},
    {4303, "Utah South"},
    {4400, "Vermont"},
    {4501, "Virginia North"},
    {4502, "Virginia South"},
    {4601, "Washington North"},
    {4602, "Washington South"},
    {4701, "West Virginia North"},
    {4702, "West Virginia South"},
    {4801, "Wisconsin North"},
    {4802, "Wisconsin Central"},
    {4803, "Wisconsin South"},
    {4901, "Wyoming East"},
    {4902, "Wyoming East Central"},
    {4903, "Wyoming West Central"},
    {4904, "Wyoming West"},
    {5001, "Alaska Zone 1"},
    {5002, "Alaska Zone 2"},
    {5003, "Alaska Zone 3"},
    {5004, "Alaska Zone 4"},
    {5005, "Alaska Zone 5"},
    {5006, "Alaska Zone 6"},
    {5007, "Alaska Zone 7"},
    {5008, "Alaska Zone 8"},
    {5009, "Alaska Zone 9"},
    {5010, "Alaska Zone 10"},
    {5101, "Hawaii Zone 1"},
    {5102, "Hawaii Zone 2"},
    {5103, "Hawaii Zone 3"},
    {5104, "Hawaii Zone 4"},
    {5105, "Hawaii Zone 5"},
    {5200, "Puerto Rico"},
};

static_assert(std::is_sorted(std::begin(zoneNames), std::end(zoneNames),
                             [](const NamedZone& a, const NamedZone& b) {
                                 return a.code < b.code;
                             }),
              "zone names are kept in code order");

} // namespace

std::string stateZoneName(int zoneCode) {
    const auto* found =
        std::lower_bound(std::begin(zoneNames), std::end(zoneNames), zoneCode,
                         [](const NamedZone& zone, int code) { return zone.code < code; });
    return found != std::end(zoneNames) && found->code == zoneCode ? found->name : "";
}

std::string codeFirstZoneName(int zoneCode) {
    return geodetic_detail::paddedNumber(zoneCode, 4, '0') + " " + stateZoneName(zoneCode);
}

std::string codeLastZoneName(int zoneCode) {
    return stateZoneName(zoneCode) + " - " + geodetic_detail::paddedNumber(zoneCode, 4, '0');
}

int joinZoneNames(const std::vector<std::string>& names, char* buffer, int size) {
    if (size <= 0)
        return 1;
    buffer[0] = '\0';
    std::size_t total = 0, used = 0;
    for (const std::string& name : names) {
        total += name.size() + 1;
        if (total >= static_cast<std::size_t>(size))
            return 1;
        std::memcpy(buffer + used, name.data(), name.size());
        used += name.size();
        buffer[used++] = '\n';
        buffer[used] = '\0';
    }
    return 0;
}

} // namespace geodetic_detail
