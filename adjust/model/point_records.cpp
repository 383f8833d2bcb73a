#include "model/point_records.hpp"

#include "model/settings/global_vars.hpp"

stationRec& initStationRec(stationRec& r) {
    r.easting = r.northing = r.elevation = notComputed;
    r.geoidSep = r.latitude = r.longitude = notComputed;
    r.ecefX = r.ecefY = r.ecefZ = notComputed;
    r.stdErrE = r.stdErrN = 0.0;
    r.pointType = ptUnknown;
    r.resetFlag = 1;
    r.description.clear();
    r.description2.clear();
    r.prelimCopied = 0;
    return r;
}

coordRec& initCoordRec(coordRec& r) {
    r.easting = r.northing = r.elevation = notComputed;
    r.geoidSep = projectVars.geoidModel != 0 ? notComputed : projectVars.geoidHt;
    r.stdErrE = r.stdErrN = 0.0;
    r.gridFactor = r.elevFactor = 1.0;
    r.pointType = ptUnknown;
    r.resetFlag = 1;
    r.vertType = vtFreeElevation;
    r.description.clear();
    return r;
}

namespace {

keyMatch byName(const pointNameField& stored, std::string_view name) {
    return sameName(fixedText(stored), name) ? keyMatch::sameOrder : keyMatch::none;
}

} // namespace

keyMatch findMatch(const stationRec& stored, std::string_view name) {
    return byName(stored.name, name);
}
keyMatch findMatch(const coordRec& stored, std::string_view name) {
    return byName(stored.name, name);
}
keyMatch findMatch(const ptDescRec& stored, std::string_view name) {
    return byName(stored.name, name);
}
keyMatch findMatch(const ptNameRec& stored, std::string_view name) {
    return byName(stored.name, name);
}
keyMatch findMatch(const ptAliasRec& stored, std::string_view alias) {
    return byName(stored.alias, alias);
}
keyMatch replaceMatch(const stationRec& stored, const stationRec& given) {
    return byName(stored.name, fixedText(given.name));
}
keyMatch replaceMatch(const coordRec& stored, const coordRec& given) {
    return byName(stored.name, fixedText(given.name));
}
keyMatch replaceMatch(const ptDescRec& stored, const ptDescRec& given) {
    return byName(stored.name, fixedText(given.name));
}
