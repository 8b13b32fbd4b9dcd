#include "core/DeviceErrors.h"

#include "core/Platform.h"
#include "text/NumberText.h"

namespace wavora {

namespace {

// The multimedia system errors 1..20, then the MIDI errors 64..71. The wave
// errors 32..35 have no text of their own. Trailing blanks belong to the texts.
const char* const SystemErrors[] = {
    "",
    "ERROR",
    "BADDEVICEID デバイス識別子が無効である ",
    "NOTENABLED",
    "ALLOCATED リソースは、すでに割り当てられている ",
    "INVALHANDLE デバイスハンドルが無効である  ",
    "NODRIVER デバイスドライバがない",
    "NOMEM メモリを割り当てられない、またはロックできない ",
    "NOTSUPPORTED",
    "BADERRNUM",
    "INVALFLAG",
    "INVALPARAM",
    "HANDLEBUSY 別のスレッドがハンドルを使用中である  ",
    "INVALIDALIAS",
    "BADDB",
    "KEYNOTFOUND",
    "READERROR",
    "WRITEERROR",
    "DELETEERROR",
    "VALNOTFOUND",
    "NODRIVERCB",
};
const char* const MidiErrors[] = {
    "MIDIERR_UNPREPARED ",
    "MIDIERR_STILLPLAYING",
    "MIDIERR_NOMAP ",
    "MIDIERR_NOTREADY　(ﾟﾟ)!準備が整う前にメッセージが送られてきました。",
    "MIDIERR_NODEVICE",
    "MIDIERR_INVALIDSETUP",
    "MIDIERR_BADOPENMODE (ﾟﾟ)!送られたメッセージがおかしいです。",
    "MIDIERR_DONT_CONTINUE (ﾟﾟ)!続けられません。",
};

const char* codeText(int code) {
    if (code >= 1 && code <= 20) return SystemErrors[code];
    if (code >= 64 && code <= 71) return MidiErrors[code - 64];
    return "";
}

} // namespace

std::string deviceErrorText(int code) {
    if (code == 0) return "";
    return std::string(codeText(code)) + "  エラーコード定数＝" + intText(code);
}

bool quietDeviceCall(EditorState& s, WaveCall call, WaveBuffer& buffer) {
    return s.platform.waveDevice(call, s.play.DeviceFormat, buffer) == 0;
}

bool deviceCall(EditorState& s, WaveCall call, WaveBuffer& buffer) {
    const int code = s.platform.waveDevice(call, s.play.DeviceFormat, buffer);
    if (code != 0) s.platform.messageBox({deviceErrorText(code), waveCallName(call)});
    return code == 0;
}

} // namespace wavora
