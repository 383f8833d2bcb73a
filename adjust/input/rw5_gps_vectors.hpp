#pragma once
// The GPS vectors of .RW5 raw files.
//
// Records (comma-separated, each field after the code with a two-letter
// prefix):
//   BP   base point: PN, LA, LN (DD.MMSS), EL (ellipsoidal height), AG
//        (antenna height), PA (phase-centre offset), in this order
//   LS   with HR as its first field: the rover's antenna height
//   MO   its UN field (among the first three) gives the unit of the rover
//        heights that follow: 0 US survey feet, 1 metres, 2 international
//        feet
//   GPS  starts a vector; the text after its last "--" is the comment
//   G1   BP (from), PN (to), DX, DY, DZ
//   G2   VX, VY, VZ: variances
//   G3   XY, XZ, YZ: covariances; completes the vector
// The lengths of the vectors and base points are in the unit of
// `Rw5GPSUnits` (0 metres, 1 US survey feet, 2 international feet); the
// rover heights in the unit of the last MO record, else that same unit.
//
// A completed vector is weighted (var' = 2c^2 + 2^f var, cov' = 2^f cov, in
// the file's unit), turned into metres (lengths by the unit factor v, the
// variances and covariances by v^2) and reduced from the antennas to the
// marks with the base and rover heights in force. A vector without a base
// antenna height, phase-centre offset or rover height is dropped with one
// message for each value missing. Base and rover heights start unset in
// every file.
//
// Records of the format's other codes are passed over; a line whose code is
// none of the format's (rw5CodeRefusal) is a damaged record. It, and a
// record that is not what its code needs (a number missing or not a number,
// a base record that cannot be read, a G2 or G3 out of its place, a vector
// that never gets its G3), stops the reading: the message names the file and
// the line.

#include "model/list_containers.hpp"
#include "model/observation_records.hpp"
#include "model/run_context.hpp"

#include <string>

// Appends the vectors of every .RW5 file of `fileList` (names each followed
// by "\n"; a last name without it is read too) to `list`. With
// `interactive` 1 the messages are shown: "No .RW5 file specified." for an
// empty list, "Error opening %s: <reason>", the messages about missing heights, and
// "Invalid Point number in GPS vector\nFrom Pt.: %s -> To Pt.:%s" for a
// vector with an empty name (which is kept). Faults of the files are shown
// either way and go to the error report. 0, or 1 when a file cannot be
// opened or read.
int readRw5GpsVectors(const RunContext& context, const std::string& fileList, int interactive,
                      seqList<gpsVectorRec>& list);

// Reads the vectors as readRw5GpsVectors does (interactive) and writes them
// to `outputPath` as a .GPS file in metres, without their weighting, so a
// project reading it (with `GPSUnits` metres) weighs them once. 1 when the
// reading failed, a point name cannot be carried by the .GPS file (named
// with its file and line), or the output cannot be written; nothing is
// written then.
int convertRw5VectorsToGps(const RunContext& context, const std::string& fileList,
                           const std::string& outputPath);
