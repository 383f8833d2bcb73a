#include "model/pending_stages.hpp"

#include "model/run_stops.hpp"

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
int writeMeasuredVsComputed3D(int) {
    throw StageNotBuilt("Listing 3D observations against preliminary coordinates");
}
