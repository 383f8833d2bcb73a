#pragma once
// Converted raw records written as .RW5 lines, each ended by CR LF. Numbers
// are "%.3f" (coordinates "%.4f"), angles packed dd.mmss of whole seconds;
// a value that is not set is written as an empty value, never as a number.
//   heights          LS,HI<hi>,HR<target height>
//   setup            BK,OP<station>,BP<backsight>,BS,BC<backsight reading>
//   backsight sight  BD,OP..,FP..,AR..,ZE..,SD..,--  (BR.. for a zenith outside (0, pi))
//   sideshot         SS,OP<station>,FP<point>,AR..,ZE..,SD..,--<description>
//   stored point     SP,PN<name>,N<northing>,E<easting>,EL<elevation>,--<description>

#include "model/raw_record.hpp"

#include <string>

// The heights of the last "LS" line; both start far from any real height so
// that the first setup writes one.
struct rw5Heights {
    double instrumentHeight = -100000.0;
    double targetHeight = -100000.0;
};

// A setup: an "LS" line when its HI or backsight target height differs from
// the last ones written, the "BK" line, and for a distance above 0 the
// backsight sight ("BD" for a zenith strictly between 0 and pi, else "BR").
std::string writeRw5Setup(const rawRec& setup, rw5Heights& last);

// A foresight of the setup at `station`: an "LS" line (last HI, this target
// height) when the target height differs, then the "SS" line.
std::string writeRw5Sideshot(const rawRec& foresight, const std::string& station, rw5Heights& last);

std::string writeRw5StoredPoint(const rawRec& coordinate);

// Every record of `tsConvertRawList` in order.
std::string writeRw5FromConvertList();
