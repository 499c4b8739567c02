#pragma once

// The colour stage over a run of samples, in place: the values of a chunk's
// left/right pairs one after the other. Uses the widest lanes this CPU runs;
// every width gives the same bits.
void ColourSamples(double* samples, int count);
