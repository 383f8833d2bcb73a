#include "engine/prelim_coords_2d.hpp"

#include "engine/prelim_support_2d.hpp"
#include "model/program_lists.hpp"

using prelim2d::countWhere;
using prelim2d::nameOf;
using prelim2d::walk;

namespace {

// 0 and the record copied into `point` when `list` holds its name and the
// record passes `accept`.
template <class Accept> int findIn(obsList<coordRec>& list, coordRec& point, Accept accept) {
    coordRec found;
    if (list.find(nameOf(point.name), found) < 0 || !accept(found))
        return 1;
    point = found;
    return 0;
}

bool hasPosition(const coordRec& point) {
    return isSet(point.easting);
}

bool anyRecord(const coordRec&) {
    return true;
}

// 1 when an angle names `name` in one of the roles that `roles` accepts.
template <class Roles> int isNamedByAngle(std::string_view name, Roles roles) {
    int named = 0;
    walk(angleList2D, [&](const angleObs2D& a, int) {
        named = roles(a, name) ? 1 : 0;
        return named == 0;
    });
    return named;
}

// Fixed points that stand for control: not azimuth dummies (type 5).
bool isFixedControl(const coordRec& point) {
    return point.pointType != ptAzimuthDummy;
}

int countFixedPoints() {
    return countWhere(fixedPointList2D, isFixedControl);
}

} // namespace

int getStation2D(coordRec& point) {
    if (findIn(fixedPointList2D, point, anyRecord) == 0)
        return 0;
    return findIn(pointList2D, point, anyRecord);
}

int lookupStation2D(std::string_view name) {
    return fixedPointList2D.indexOf(name) >= 0 || pointList2D.indexOf(name) >= 0 ? 0 : 1;
}

int isAngleStation2D(std::string_view name) {
    return isNamedByAngle(name, [](const angleObs2D& a, std::string_view n) {
        return sameName(fixedText(a.instrument), n) || sameName(fixedText(a.backsight), n) ||
               sameName(fixedText(a.foresight), n);
    });
}

int isInstOrBacksightPt2D(std::string_view name) {
    return isNamedByAngle(name, [](const angleObs2D& a, std::string_view n) {
        return sameName(fixedText(a.instrument), n) || sameName(fixedText(a.backsight), n);
    });
}

// Fixed points are counted by their position and type: a bare fixed record
// (an azimuth's start without coordinates) and an azimuth dummy are no control.
int countControlPoints2D() {
    return countWhere(pointList2D,
                      [](const coordRec& point) {
                          return hasPosition(point) && point.pointType == ptWeightedControl;
                      }) +
           countWhere(fixedPointList2D, [](const coordRec& point) {
               return hasPosition(point) && isFixedControl(point);
           });
}

int getAzimuthCount2D() {
    return azimuthList2D.count();
}

int hasEnoughControl2D() {
    const int control =
        controlPointList2D.countControl() + countFixedPoints() + givenPointList2D.count();
    return control >= 2 || (control == 1 && azimuthList2D.count() > 0) ? 1 : 0;
}
