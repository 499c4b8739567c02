#pragma once

#include <algorithm>

// An editor rectangle in pixels; right and bottom are exclusive.
//
// A box counts as empty only when all four edges are 0: a box with equal left
// and right elsewhere is a (zero-width) place, not nothing. Boxes meet when
// they overlap or touch on their right or bottom edge, which keeps a control
// whose box ends exactly where a redraw region starts in that redraw.
struct IBox
{
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  IBox() = default;
  IBox(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

  int W() const { return right - left; }
  int H() const { return bottom - top; }

  bool Empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }

  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }

  bool Intersects(const IBox& b) const
  {
    return !Empty() && !b.Empty() && right >= b.left && left < b.right && bottom >= b.top &&
           top < b.bottom;
  }

  IBox Intersect(const IBox& b) const
  {
    return IBox(std::max(left, b.left), std::max(top, b.top), std::min(right, b.right),
                std::min(bottom, b.bottom));
  }

  IBox Union(const IBox& b) const
  {
    if (Empty()) return b;
    if (b.Empty()) return *this;
    return IBox(std::min(left, b.left), std::min(top, b.top), std::max(right, b.right),
                std::max(bottom, b.bottom));
  }

  bool operator==(const IBox& b) const
  {
    return left == b.left && top == b.top && right == b.right && bottom == b.bottom;
  }
  bool operator!=(const IBox& b) const { return !(*this == b); }
};
