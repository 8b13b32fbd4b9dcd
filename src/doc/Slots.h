#pragma once
// The length rules every command shares, and the selection's reset.
#include "doc/SoundDoc.h"

#include <string>

namespace wavora {

// Selection back to the whole sound; the marker is left alone.
void resetSelection(SoundDoc& d);

// DataLen / (SRATE * BitsParSample / 8); 0 for a slot without a rate.
double soundSeconds(const SoundDoc& d);
// 500000 / (SRATE * BitsParSample / 8)
double maxSeconds(int rate, int bits);
inline double maxSeconds(const SoundDoc& d) { return maxSeconds(d.SRATE, d.BitsParSample); }

// "長さは" + the first four characters of the longest length + "秒まで"
std::string lengthLimitCaption(double seconds);

} // namespace wavora
