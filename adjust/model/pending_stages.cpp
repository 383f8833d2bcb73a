#include "model/pending_stages.hpp"

#include "model/run_stops.hpp"
#include "model/settings/global_vars.hpp"

// Only a 3D project with GPS vectors can hold XML field-book control.
int appendXmlGpsControlRawRecs() {
    if (projectVars.geodeticModel != 1 || projectVars.includeGPSVectors == 0)
        return 0;
    throw StageNotBuilt("GPS control from XML field books");
}
int appendRw5GpsControlRawRecs() {
    throw StageNotBuilt("GPS control from .RW5 base points");
}
int readGpsVectorFiles(const std::string&, int) {
    throw StageNotBuilt("Reading GPS vector files");
}
int addSupplementalToRawList() {
    throw StageNotBuilt("Reading the supplemental control file");
}
int addGpsVectorEndPoints() {
    throw StageNotBuilt("GPS vector end points");
}
int prelimCoords3D(int&) {
    throw StageNotBuilt("Preliminary coordinates (3D)");
}
int countControlPoints3D() {
    throw StageNotBuilt("Counting control points");
}
int getAzimuthCount3D() {
    throw StageNotBuilt("Counting azimuths");
}
int isInstOrBacksightPt3D(std::string_view) {
    throw StageNotBuilt("Listing uncomputed points");
}
void copyPrelimToControl3D() {
    throw StageNotBuilt("Preliminary coordinates (3D)");
}
int adjust3D() {
    throw StageNotBuilt("The 3D adjustment");
}
int adjust3DBlunderPasses(int) {
    throw StageNotBuilt("Blunder detection (3D)");
}
int adjust3DRepeated(int) {
    throw StageNotBuilt("Blunder detection (3D)");
}
void computeSideshots3D() {
    throw StageNotBuilt("Computing sideshots");
}
void writeAltaReport(int) {
    throw StageNotBuilt("The ALTA tolerance report");
}
void readRelErrPointNames(const std::string&, std::vector<std::string>&) {
    throw StageNotBuilt("Reading the relative-error points file");
}
