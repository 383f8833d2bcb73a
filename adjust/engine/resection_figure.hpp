#pragma once
// The two figures of the preliminary coordinates that are made of angles
// measured at the point being solved, for the station records of either
// chain (anything with a `name`, `northing` and `easting`): the three-point
// resection from two such angles, and the side on which two distances from
// the ends of one such angle cross.

#include "model/angle_math.hpp"
#include "model/plane_geometry.hpp"
#include "model/point_name.hpp"

#include <optional>

// An angle measured at the point being solved between two known points.
template <class Station> struct resectionAngle {
    Station backsight;
    Station foresight;
    double angle = 0.0;
};

namespace resectiondetail {

inline bool samePoint(const pointNameField& a, const pointNameField& b) {
    return sameName(fixedText(a), fixedText(b));
}

// Three known points in clockwise order as seen from the new point, with
// the angles between neighbours.
template <class Station> struct figure {
    const Station* p1;
    const Station* p2;
    const Station* p3;
    double alpha;
    double beta;
};

template <class Station>
std::optional<figure<Station>> arrange(const resectionAngle<Station>& r1,
                                       const resectionAngle<Station>& r2) {
    if (samePoint(r1.backsight.name, r2.backsight.name)) {
        if (r1.angle < r2.angle)
            return figure<Station>{&r1.backsight, &r1.foresight, &r2.foresight, r1.angle,
                                   r2.angle - r1.angle};
        return figure<Station>{&r1.backsight, &r2.foresight, &r1.foresight, r2.angle,
                               r1.angle - r2.angle};
    }
    if (samePoint(r1.foresight.name, r2.backsight.name))
        return figure<Station>{&r1.backsight, &r1.foresight, &r2.foresight, r1.angle, r2.angle};
    if (samePoint(r1.backsight.name, r2.foresight.name))
        return figure<Station>{&r2.backsight, &r1.backsight, &r1.foresight, r2.angle, r1.angle};
    return std::nullopt;
}

} // namespace resectiondetail

// The point resected from two angles that share a known point; the angles
// are arranged into three points in clockwise order. True with (n, e) set;
// false when the angles share no point, or the new point lies on the danger
// circle or the known points in one line (only a resection that yields a
// point counts).
template <class Station>
bool resectFromTwoAngles(const resectionAngle<Station>& r1, const resectionAngle<Station>& r2,
                         double& n, double& e) {
    const auto f = resectiondetail::arrange(r1, r2);
    return f &&
           resection3Pt(f->p1->northing, f->p1->easting, f->p2->northing, f->p2->easting,
                        f->p3->northing, f->p3->easting, f->alpha, f->beta, n, e) == geometrySolved;
}

// In which order two distances from `first` and `second` go to the
// intersection of distances so that it gives the point on the side the angle
// shows: the angle measured at the point must run between the two.
enum class distanceOrder { firstSecond, secondFirst };
template <class Station>
std::optional<distanceOrder> sideOfTwoDistances(const resectionAngle<Station>& r,
                                                const Station& first, const Station& second) {
    using resectiondetail::samePoint;
    const bool forward =
        samePoint(r.backsight.name, first.name) && samePoint(r.foresight.name, second.name);
    const bool backward =
        samePoint(r.backsight.name, second.name) && samePoint(r.foresight.name, first.name);
    if (!forward && !backward)
        return std::nullopt;
    const bool secondFirst = (forward && r.angle < angle::pi) || (backward && r.angle >= angle::pi);
    return secondFirst ? distanceOrder::secondFirst : distanceOrder::firstSecond;
}
