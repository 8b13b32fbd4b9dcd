#include "audio/WaveDeviceWin32.h"

#include <mmsystem.h>

#include <array>

namespace wavora {

namespace {

struct Devices {
    HWAVEOUT out = nullptr;
    HWAVEIN in = nullptr;
    // Each playback gets its own header, so that the done message of a
    // playback stopped a moment ago still points at that playback's header.
    std::array<WAVEHDR, 4> outHeaders{};
    std::size_t outCurrent = 0;
    WAVEHDR inHeader{};
};

Devices& devices() {
    static Devices d;
    return d;
}

WAVEFORMATEX nativeFormat(const WaveFormat& f) {
    WAVEFORMATEX w{};
    w.wFormatTag = f.FormatTag;
    w.nChannels = f.Channels;
    w.nSamplesPerSec = f.SamplesPerSec;
    w.nAvgBytesPerSec = f.AvgBytesPerSec;
    w.nBlockAlign = f.BlockAlign;
    w.wBitsPerSample = f.BitsPerSample;
    w.cbSize = 0;
    return w;
}

void fillHeader(WAVEHDR& h, const WaveBuffer& b) {
    h = WAVEHDR{};
    h.lpData = reinterpret_cast<LPSTR>(b.Data);
    h.dwBufferLength = b.Length;
    h.dwUser = b.User;
    h.dwFlags = b.Flags;
    h.dwLoops = b.Loops;
}

int output(HWND frame, UINT device, WaveCall call, const WaveFormat& format, WaveBuffer& buffer) {
    Devices& d = devices();
    WAVEHDR& h = d.outHeaders[d.outCurrent];
    switch (call) {
    case WaveCall::OutOpen: {
        WAVEFORMATEX f = nativeFormat(format);
        d.out = nullptr;
        return waveOutOpen(&d.out, device, &f, reinterpret_cast<DWORD_PTR>(frame), 0, CALLBACK_WINDOW);
    }
    case WaveCall::OutPrepareHeader: {
        d.outCurrent = (d.outCurrent + 1) % d.outHeaders.size();
        WAVEHDR& next = d.outHeaders[d.outCurrent];
        fillHeader(next, buffer);
        return waveOutPrepareHeader(d.out, &next, sizeof next);
    }
    case WaveCall::OutWrite: return waveOutWrite(d.out, &h, sizeof h);
    case WaveCall::OutReset: return waveOutReset(d.out);
    case WaveCall::OutUnprepareHeader: return waveOutUnprepareHeader(d.out, &h, sizeof h);
    case WaveCall::OutClose: {
        MMRESULT r = waveOutClose(d.out);
        if (r == MMSYSERR_NOERROR) d.out = nullptr;
        return r;
    }
    default: return MMSYSERR_NOTSUPPORTED;
    }
}

int input(HWND frame, UINT device, WaveCall call, const WaveFormat& format, WaveBuffer& buffer) {
    Devices& d = devices();
    WAVEHDR& h = d.inHeader;
    MMRESULT r = MMSYSERR_NOTSUPPORTED;
    switch (call) {
    case WaveCall::InOpen: {
        WAVEFORMATEX f = nativeFormat(format);
        d.in = nullptr;
        return waveInOpen(&d.in, device, &f, reinterpret_cast<DWORD_PTR>(frame), 0, CALLBACK_WINDOW);
    }
    case WaveCall::InPrepareHeader:
        fillHeader(h, buffer);
        return waveInPrepareHeader(d.in, &h, sizeof h);
    case WaveCall::InAddBuffer: r = waveInAddBuffer(d.in, &h, sizeof h); break;
    case WaveCall::InStart: r = waveInStart(d.in); break;
    case WaveCall::InStop: r = waveInStop(d.in); break;
    case WaveCall::InReset: r = waveInReset(d.in); break;
    case WaveCall::InUnprepareHeader:
        // A header that is not prepared has nothing to release, whatever
        // became of its device.
        r = (h.dwFlags & WHDR_PREPARED) ? waveInUnprepareHeader(d.in, &h, sizeof h) : MMSYSERR_NOERROR;
        break;
    case WaveCall::InClose:
        r = waveInClose(d.in);
        if (r == MMSYSERR_NOERROR) d.in = nullptr;
        break;
    default: break;
    }
    buffer.BytesRecorded = h.dwBytesRecorded;
    return r;
}

} // namespace

int callWaveDevice(HWND frame, UINT outDevice, UINT inDevice, WaveCall call, const WaveFormat& format,
                   WaveBuffer& buffer) {
    return call <= WaveCall::OutClose ? output(frame, outDevice, call, format, buffer)
                                      : input(frame, inDevice, call, format, buffer);
}

std::uint32_t reportedWaveOutUser(LPARAM lParam) {
    const auto* h = reinterpret_cast<const WAVEHDR*>(lParam);
    return h ? static_cast<std::uint32_t>(h->dwUser) : 0;
}

} // namespace wavora
