#pragma once

// What the host last told the plug-in about its transport.
struct IHostTransport
{
  double tempo = 0.0;
  double samplePos = 0.0;
  double ppqPos = 0.0;
  double lastBar = 0.0;
  double cycleStart = 0.0;
  double cycleEnd = 0.0;
  int numerator = 0;
  int denominator = 0;
  bool playing = false;
  bool cycling = false;
};
