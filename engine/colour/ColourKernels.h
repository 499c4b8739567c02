#pragma once

// The colour stage's loops for each lane width, for ColourSamples to pick
// from and for tests to hold against each other.
void ColourSamplesSse2(double* samples, int count);
// Only on CPUs with AVX2.
void ColourSamplesAvx2(double* samples, int count);
bool CpuHasAvx2();
