#pragma once
// Progress of the long walks of a processing run (the list builders, the
// readers): the caller sets the total and resets the count; each step adds
// to the count and posts the percentage to the progress dialog of the run.

// The number of steps of the current walk and the steps done so far.
extern int progressTotal;
extern int progressDone;

// Sets the total and resets the count to 0.
void startProgress(int total);

// Adds `steps` to the count and posts count x 100 / total (integer
// division) to the active shell's progress bar; nothing when the total is 0.
void advanceProgress(int steps = 1);
