#include "engine/best_solutions.hpp"

#include <algorithm>

std::array<bestSolutionRec, bestSolutionSlots> bestSolutions;

void resetBestSolutions() {
    bestSolutions.fill(bestSolutionRec{});
}

void insertBestSolution(int index, double value, int size) {
    const int slots = std::clamp(size, 1, bestSolutionSlots);
    for (int p = 0; p < slots; ++p) {
        if (bestSolutions[p].index != -1 && bestSolutions[p].referenceVariance <= value)
            continue;
        for (int q = slots - 1; q > p; --q)
            bestSolutions[q] = bestSolutions[q - 1];
        bestSolutions[p] = {index, value};
        return;
    }
}
