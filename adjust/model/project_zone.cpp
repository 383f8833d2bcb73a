#include "model/project_zone.hpp"

#include "model/run_stops.hpp"

#include "geodetic/state_plane_83.hpp"
#include "geodetic/utm.hpp"

zoneCnstnt statePlane83Zone(int zone) {
    zoneCnstnt record{};
    if (initSPC83Zone(zone, &record) != projectionOk)
        throw UnknownZone(zone);
    return record;
}

zoneconstant27 statePlane27Zone(int zone) {
    zoneconstant27 record{};
    if (initSPC27Zone(zone, &record) != projectionOk)
        throw UnknownZone(zone);
    return record;
}

void requireUtmZone(int zone) {
    if (invalidUTMZone(zone) != 0)
        throw UnknownZone(zone);
}
