// Made by tools/artwork/generate.py; do not edit.
// Where each letter of the readout's strip (GLYPHS.png, resource 122; its 2x
// picture 222) sits, and how the readout lines are set on the name plate
// (PLATE.png, resource 121). All sizes are 1x pixels; at 2x every one doubles.
#pragma once

namespace ReadoutGlyphs
{
// The strip's characters, one cell each, in this order.
constexpr char kCharset[] = " +-.%0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZdkz";
constexpr int kNumGlyphs = 44;

// Every cell of the strip; a frame is one row of cells.
constexpr int kCellWidth = 21;
constexpr int kFrameHeight = 21;
// A glyph's pen origin inside its cell: kPad from the cell's left, on row
// kBaseline from its top.
constexpr int kPad = 2;
constexpr int kBaseline = 15;

// The plate the lines are set on, in the editor.
constexpr int kPlateLeft = 472;
constexpr int kPlateTop = 40;
constexpr int kPlateWidth = 142;
constexpr int kPlateHeight = 60;

// The strip's frames: the control's name, and its value in larger letters.
constexpr int kNameLine = 0;
constexpr int kValueLine = 1;
constexpr int kNumLines = 2;

// Per line: where its baseline sits below the plate's top, the space each
// advance includes after its glyph (a centred line leaves out the last
// one), and the pen's advance for every glyph of kCharset.
constexpr int kLineBaseline[kNumLines] = {21, 45};
constexpr int kTracking[kNumLines] = {2, 2};
constexpr int kAdvance[kNumLines][kNumGlyphs] = {
  {4, 7, 5, 4, 8, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 7,
   7, 7, 7, 6, 6, 7, 7, 4, 4, 7, 6, 8, 7, 7, 7, 7,
   7, 7, 6, 7, 7, 9, 7, 7, 7, 7, 6, 6},
  {7, 15, 8, 8, 18, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 14,
   14, 13, 15, 13, 13, 15, 15, 8, 8, 14, 12, 17, 15, 15, 13, 15,
   14, 13, 13, 15, 14, 19, 14, 13, 13, 13, 12, 11},
};
}  // namespace ReadoutGlyphs
