#pragma once
// The best-solutions table of the low-weight blunder passes (2D and 3D): the
// passes whose floated observation gave the smallest reference variance, in
// ascending order of it.

#include <array>

struct bestSolutionRec {
    int index = -1; // the floated row; -1 marks an empty slot
    double referenceVariance = 0.0;
};

inline constexpr int bestSolutionSlots = 10;
extern std::array<bestSolutionRec, bestSolutionSlots> bestSolutions;

// Empties every slot.
void resetBestSolutions();

// Inserts (index, value) into the first `size` slots (0 works as 1, more than
// 10 as 10), kept in ascending order of value: the entry goes into the first
// empty slot or before the first slot with a larger value (an equal value
// goes behind it); the slots behind it move down one and the last drops out.
// A value larger than every kept one of a full table is not kept.
void insertBestSolution(int index, double value, int size);
