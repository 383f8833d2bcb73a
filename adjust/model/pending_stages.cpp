#include "model/pending_stages.hpp"

#include "model/run_stops.hpp"

int writeMeasuredVsComputed3D(int) {
    throw StageNotBuilt("Listing 3D observations against preliminary coordinates");
}
