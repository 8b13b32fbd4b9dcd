#include "doc/Slots.h"

#include "text/NumberText.h"

namespace wavora {

void resetSelection(SoundDoc& d) {
    d.HasSelection = 0;
    d.SelRect = Rect{0, 0, 0, 768};
    d.SelStart = 0;
    d.SelLength = d.DataLen;
}

double soundSeconds(const SoundDoc& d) {
    double bytesPerSecond = static_cast<double>(d.SRATE) * d.BitsParSample / 8.0;
    return bytesPerSecond > 0 ? d.DataLen / bytesPerSecond : 0.0;
}

double maxSeconds(int rate, int bits) {
    double bytesPerSecond = static_cast<double>(rate) * bits / 8.0;
    return bytesPerSecond > 0 ? DATALENMAX / bytesPerSecond : 0.0;
}

std::string lengthLimitCaption(double seconds) {
    return "長さは" + firstChars(numberText(seconds), 4) + "秒まで";
}

} // namespace wavora
