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

// Posts index x 100 / total (integer division; 0 when the total is 0) to the
// active shell's progress bar: the raw-record passes report the index of the
// record in hand this way.
void postProgress(int index, int total);

// Lets the shell's waiting events run, then tells whether the user asked to
// stop the run (Escape or Cancel). The walks of the list builders ask once per
// record and stop at the first yes.
bool userCancelled();
// The same for the long steps that have no way of their own to report a stop
// (the preliminary coordinates, the reductions, the listings): when the user
// asked, the run ends here by RunCancelled (model/run_stops.hpp).
void endRunWhenCancelled();

// The text a run ends with when the user stops it.
inline constexpr const char* userAbortedText = "The user aborted processing.";
