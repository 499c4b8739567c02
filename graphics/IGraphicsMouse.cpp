// Mouse and key routing: from the window's events to the control under the
// pointer, with the host's edit gestures around each press and release.
// Events arrive in screen pixels and reach the controls in layout units, so a
// drag moves a knob as far at every factor.
#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "graphics/IReadoutControl.h"

int IGraphics::FindControlAt(int x, int y)
{
  if (mMouseCapture >= 0) return mMouseCapture;
  for (int i = NControls() - 1; i >= 0; --i)
  {
    const IControl* control = GetControl(i);
    if (!control->IsHidden() && !control->IsGrayed() && control->IsHit(x, y)) return i;
  }
  return -1;
}

int IGraphics::FindMouseOverControlAt(int x, int y) const
{
  for (int i = NControls() - 1; i >= 0; --i)
  {
    const IControl* control = GetControl(i);
    if (control->IsHidden()) continue;
    if (control->IsGrayed() && !control->MouseOverWhenGreyed()) continue;
    if (control->IsHit(x, y)) return i;
  }
  return -1;
}

void IGraphics::PointerOn(int c)
{
  if (mReadout) mReadout->PointerOn(c);
}

void IGraphics::Edited(int c)
{
  if (mReadout) mReadout->Edited(c);
}

void IGraphics::DropMouseCapture()
{
  mMouseCapture = -1;
  mMouseX = mMouseY = -1;
}

void IGraphics::EndGesture()
{
  if (mGestureParam < 0) return;
  const int param = mGestureParam;
  mGestureParam = -1;
  if (mPlug) mPlug->EndParamEdit(param);
}

void IGraphics::HandleMouseDown(int screenX, int screenY, const IMouseKeys& keys)
{
  const int x = ToLayout(screenX), y = ToLayout(screenY);
  DropMouseCapture();
  const int c = FindControlAt(x, y);
  PointerOn(c);
  if (c < 0)
  {
    EndGesture();
    return;
  }
  const int param = GetControl(c)->ParamIdx();
  if (mPlug && mPlug->ApiCode() == kApiVST3 && keys.right && param >= 0)
  {
    // VST 3 hosts offer their own menu for a parameter; it is not an edit,
    // though what the user picks there shows as one.
    EndGesture();
    mPlug->ShowHostParamMenu(param, screenX, screenY);
    Edited(c);
    return;
  }
  PressControl(c, x, y, keys);
  Edited(c);
}

void IGraphics::PressControl(int c, int x, int y, const IMouseKeys& keys)
{
  // A press while another is held (the other button) first closes that gesture.
  EndGesture();
  IControl* control = GetControl(c);
  mMouseCapture = c;
  mMouseX = x;
  mMouseY = y;
  const int param = control->ParamIdx();
  if (param >= 0 && mPlug)
  {
    mPlug->BeginParamEdit(param);
    mGestureParam = param;
  }
  control->OnMouseDown(x, y, keys);
}

void IGraphics::HandleMouseUp(int screenX, int screenY, const IMouseKeys& keys)
{
  const int x = ToLayout(screenX), y = ToLayout(screenY);
  const int c = FindControlAt(x, y);
  DropMouseCapture();
  if (c >= 0) GetControl(c)->OnMouseUp(x, y, keys);
  EndGesture();
  Edited(c);
  PointerOn(FindMouseOverControlAt(x, y));
}

void IGraphics::HandleMouseDrag(int screenX, int screenY, const IMouseKeys& keys)
{
  const int x = ToLayout(screenX), y = ToLayout(screenY);
  IControl* control = GetControl(mMouseCapture);
  if (!control || (x == mMouseX && y == mMouseY)) return;
  const int dX = x - mMouseX;
  const int dY = y - mMouseY;
  mMouseX = x;
  mMouseY = y;
  control->OnMouseDrag(x, y, dX, dY, keys);
  Edited(mMouseCapture);
}

bool IGraphics::HandleMouseDoubleClick(int screenX, int screenY, const IMouseKeys& keys)
{
  const int x = ToLayout(screenX), y = ToLayout(screenY);
  DropMouseCapture();
  const int c = FindControlAt(x, y);
  PointerOn(c);
  if (c < 0) return false;
  IControl* control = GetControl(c);
  if (control->DblAsSingleClick())
  {
    // Handled as a press: it opens a gesture that the release will end.
    PressControl(c, x, y, keys);
    Edited(c);
    return true;
  }
  // The control reports its own edit as a complete gesture.
  control->OnMouseDoubleClick(x, y, keys);
  Edited(c);
  return false;
}

void IGraphics::HandleMouseWheel(int screenX, int screenY, const IMouseKeys& keys, int steps)
{
  const int x = ToLayout(screenX), y = ToLayout(screenY);
  const int c = FindControlAt(x, y);
  PointerOn(c);
  if (c < 0) return;
  GetControl(c)->OnMouseWheel(x, y, keys, steps);
  Edited(c);
}

bool IGraphics::HandleMouseOver(int screenX, int screenY, const IMouseKeys& keys)
{
  if (!mHandleMouseOver) return false;
  const int x = ToLayout(screenX), y = ToLayout(screenY);
  const int c = FindMouseOverControlAt(x, y);
  PointerOn(c);
  if (c < 0) return true;
  mMouseX = x;
  mMouseY = y;
  GetControl(c)->OnMouseOver(x, y, keys);
  if (mMouseOver >= 0 && mMouseOver != c)
  {
    if (IControl* previous = GetControl(mMouseOver)) previous->OnMouseOut();
  }
  mMouseOver = c;
  return true;
}

void IGraphics::HandleMouseOut()
{
  PointerOn(-1);
  for (const auto& control : mControls) control->OnMouseOut();
  mMouseOver = -1;
}

bool IGraphics::HandleKeyDown(int screenX, int screenY, int key)
{
  const int x = ToLayout(screenX), y = ToLayout(screenY);
  const int c = FindControlAt(x, y);
  if (c > 0) return GetControl(c)->OnKeyDown(x, y, key);
  return mKeyCatcher ? mKeyCatcher->OnKeyDown(x, y, key) : false;
}
