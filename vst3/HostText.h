#pragma once

#include "pluginterfaces/vst/vsttypes.h"

// Text helpers for host strings: each byte widens to one UTF-16 unit, at most
// 127 units and a terminator, so any text fits a String128.
void WidenToString128(const char* text, Steinberg::Vst::String128 out);
// Narrows a host string to bytes (units above 0xFF become '?'), at most size - 1.
void NarrowFromHost(const Steinberg::Vst::TChar* text, char* out, int size);
