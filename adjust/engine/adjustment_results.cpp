#include "engine/adjustment_results.hpp"

std::unique_ptr<Cofactors> varCovMatrix;
std::vector<errEllipseRec> errEllipses;
int errEllipseCount = 0;
double referenceStdDev = 0.0;

void releaseAdjustmentResults() {
    varCovMatrix.reset();
    errEllipses.clear();
    errEllipseCount = 0;
    referenceStdDev = 0.0;
}
