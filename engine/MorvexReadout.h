#pragma once

#include <string>

// What the name plate reads while the user touches a control: the control's
// name as the panel prints it, and its value in the units of its scale.
namespace MorvexReadout
{
// "LOW GAIN", "HIGH MID FREQ", "HPF", "EQ", ...; null for a parameter with no control.
const char* PanelName(int param);

// The plain value as a user reads it: gains to 0.1 dB ("+3.2 dB", "0.0 dB"),
// frequencies to three significant figures in Hz below 1 kHz and in kHz
// above ("120 Hz", "4.50 kHz"), a bandwidth as the Q it gives its band
// ("Q 0.86"), a switch as its lamp shows it ("ON", "OFF").
std::string ValueText(int param, double plain);
}  // namespace MorvexReadout
