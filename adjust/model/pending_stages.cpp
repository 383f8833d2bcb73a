#include "model/pending_stages.hpp"

#include "model/run_stops.hpp"

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
int writeMeasuredVsComputed3D(int) {
    throw StageNotBuilt("Listing 3D observations against preliminary coordinates");
}
