#pragma once
// What the view asks of the main frame: its tool-bar toggles, the state of
// a command, and the status bar's message pane. The frame implements it;
// the view never includes the frame.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/ColorRef.h"

class IFrameControls {
public:
    virtual ~IFrameControls() = default;
    // Each does nothing while the state repeats.
    virtual void SetRWaveMarkerButton(bool on) = 0;
    virtual void SetQrsToneButton(bool on) = 0;
    virtual void SetSilenceAlarmButton(bool on) = 0;
    virtual void SetAlarmsButton(bool on) = 0;
    // The idle image while `idle` (not recording), else the recording one.
    virtual void SetRecordingButton(bool idle) = 0;
    // The running image while `running` (tracings not halted).
    virtual void SetTracingsButton(bool running) = 0;
    // Enables and checks a command wherever the frame shows it.
    virtual void SetCommandState(std::uint32_t command, bool enabled, bool checked) = 0;
    // Gives a command's tool-bar button another image of the strip; a frame
    // without those images ignores it.
    virtual void SetCommandImage(std::uint32_t /*command*/, int /*image*/) {}
    // The status bar's message pane.
    virtual void SetStatusMessage(const std::string& text) = 0;
    // The status bar's connection pane: its text and background (none: the
    // system's button face).
    virtual void SetConnectionPane(const std::string& text, std::optional<COLORREF> background) = 0;
};
