#pragma once
// The record of one sound slot and of the layer pool the slots share.
#include "doc/Limits.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace wavora {

using WindowId = std::uintptr_t; // 0 = no window

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// What a sound window shows and where; painting and scrolling own it.
struct ViewState {
    float XScale = 1.0f;    // pixels per data byte, never above 1
    float YScale = 1.0f;    // vertical scale of all three bands
    std::int32_t FirstByte = 0; // data byte at the left edge of the content
    std::int32_t ScrollY = 0;   // vertical scroll in pixels of the scaled content
    std::int32_t YOffset = 0;   // empty rows above centred content
    bool FramedView = false;
    std::int32_t ExtentX = 1000; // horizontal extent for the scroll bar (DataLen once known)
    std::int32_t ExtentY = 768;
    std::int32_t ClientWidth = DefaultClientWidth;
    std::int32_t ClientHeight = DefaultClientHeight;
    std::int32_t CreatedHeight = DefaultClientHeight; // client height the window was made with
    // Positions the scroll bars last accepted; a wanted position out of range
    // falls back to them.
    std::int32_t AcceptedFirstByte = 0;
    std::int32_t AcceptedScrollY = 0;
};

struct SoundDoc {
    WindowId WindowHandle = 0;
    std::vector<std::uint8_t> Samples;     // DATALENMAX bytes once the slot has been used
    std::vector<std::uint8_t> VolumeGraph; // one byte per data byte, 128 = no change
    std::vector<std::uint8_t> PitchGraph;
    std::int32_t DataLen = 0;
    std::int32_t SRATE = 44100;
    std::uint8_t BitsParSample = 8;
    std::uint16_t Channels = 1;

    std::int32_t HasSelection = 0;
    std::int32_t HasMarker = 0;
    Rect SelRect{0, 0, 0, 768};
    std::int32_t SelStart = 0;
    std::int32_t SelLength = 0;

    std::int32_t LayerCount = 0;
    std::array<std::int32_t, 7> LayerIds{}; // positions 1..6; 0 unused
    std::uint8_t ActiveLayer = 0;           // 0 = the background
    std::int32_t TopLayer = 0;

    std::uint8_t UndoPos = 0;
    std::string UnDoFlag;   // two-digit codes of the states kept, current last
    std::string Yarinaoshi; // two-digit codes that can be redone, next last
    std::uint8_t HasGenOn = 0;
    // Bit L set: the undo files of layer L (0 = the background) follow this
    // slot's steps. They follow the slot that wrote them last.
    std::uint8_t UndoLayerFiles = 0;
    // What the slot's recovery record last said: the fingerprints of its
    // stored steps (0 = the newest), how many steps were undone and which
    // layer files followed the slot then (so the next record follows the
    // store's shifts), and when in the run its history last moved.
    std::vector<std::uint64_t> StepTags;
    std::uint8_t RecordedUndoPos = 0;
    std::uint8_t RecordedLayerFiles = 0;
    std::uint32_t HistorySerial = 0;

    ViewState view;
    bool MouseTracking = false;

    std::uint8_t silenceValue() const { return BitsParSample == 16 ? 0 : 128; }
    bool hasBuffers() const { return Samples.size() == static_cast<std::size_t>(DATALENMAX); }
};

struct LayerPool {
    std::array<std::vector<std::uint8_t>, LayerTableSize> LySamples, LyVolume, LyPitch;
    std::array<std::int32_t, LayerTableSize> LyLen{}, LyStart{};
    std::array<std::string, LayerTableSize> LyName, LyColourName;
    std::array<std::uint8_t, LayerTableSize> LyAdditive{};
    std::array<std::uint8_t, LayerTableSize> LyInUse{};
    std::array<std::int32_t, LayerTableSize> LyPixelX{}, LyPixelWidth{}, LyPixelHeight{}, LyScreenX{};
    // A layer dropped into another window remembers where it came from, so
    // that undoing the drop there hands it back.
    std::array<std::int32_t, LayerTableSize> LyFromSlot{-1, -1, -1, -1, -1, -1, -1};
    std::array<WindowId, LayerTableSize> LyFromWindow{};
    std::array<std::int32_t, LayerTableSize> LyFromStart{};
    std::int32_t LayerPoolNext = 1;
};

} // namespace wavora
