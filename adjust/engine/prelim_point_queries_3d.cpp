#include "engine/prelim_coords_3d.hpp"

#include "engine/prelim_support_3d.hpp"
#include "model/program_lists.hpp"

using namespace prelim3d;

namespace {

// 1 when an angle names `name` in one of the roles that `roles` accepts.
template <class Roles> int isNamedByAngle(std::string_view name, Roles roles) {
    int named = 0;
    angleList.visitNaming(name, [&](const angleObs& a) {
        named = roles(a, name) ? 1 : 0;
        return named == 0;
    });
    return named;
}

// Fixed stations that stand for control: not azimuth dummies (type 5).
bool isFixedControl(const stationRec& station) {
    return station.pointType != ptAzimuthDummy;
}

} // namespace

int lookupStation3D(std::string_view name) {
    return fixedStationList.indexOf(name) >= 0 || stationList.indexOf(name) >= 0 ||
                   givenStationList.indexOf(name) >= 0
               ? 0
               : 1;
}

int isAngleStation3D(std::string_view name) {
    return isNamedByAngle(name, [](const angleObs&, std::string_view) { return true; });
}

int isInstOrBacksightPt3D(std::string_view name) {
    return isNamedByAngle(name, [](const angleObs& a, std::string_view n) {
        return sameName(fixedText(a.instrument), n) || sameName(fixedText(a.backsight), n);
    });
}

// An azimuth dummy stands for the far end of an azimuth, not for control: a
// project with one control station and an azimuth must count one.
int countControlPoints3D() {
    return countWhere(stationList,
                      [](const stationRec& station) {
                          return isSet(station.easting) && station.pointType == ptWeightedControl;
                      }) +
           countWhere(fixedStationList, [](const stationRec& station) {
               return isSet(station.easting) && isFixedControl(station);
           });
}

int getAzimuthCount3D() {
    return azimuthList.count();
}

int hasEnoughControl3D() {
    const int control = controlStationList.countControl() +
                        countWhere(fixedStationList, isFixedControl) + givenStationList.count();
    return control >= 2 || (control == 1 && azimuthList.count() > 0) ? 1 : 0;
}
