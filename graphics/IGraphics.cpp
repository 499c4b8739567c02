// The editor's drawing context: building the control list, the drawing
// surface, and redrawing dirty regions.
#include "graphics/IGraphics.h"

#include "framework/IPlugBase.h"
#include "raster/LICE_Composite.h"
#include "raster/LICE_MemBitmap.h"
#include "raster/LICE_SysBitmap.h"

IGraphics::IGraphics(IPlugBase* plug, int width, int height, int fps)
  : mPlug(plug), mWidth(width), mHeight(height), mFps(fps)
{
}

IGraphics::~IGraphics()
{
  mKeyCatcher.reset();
  DeleteControls();
}

void IGraphics::AttachBackground(IControl* control)
{
  if (control) mControls.insert(mControls.begin(), std::unique_ptr<IControl>(control));
}

int IGraphics::AttachControl(IControl* control)
{
  if (!control) return -1;
  mControls.push_back(std::unique_ptr<IControl>(control));
  return NControls() - 1;
}

void IGraphics::SetKeyCatcher(IControl* control)
{
  mKeyCatcher.reset(control);
}

IControl* IGraphics::GetControl(int i) const
{
  if (i < 0 || i >= NControls()) return nullptr;
  return mControls[static_cast<std::size_t>(i)].get();
}

void IGraphics::PrepareDrawing()
{
  mDrawBitmap = std::make_unique<LICE_SysBitmap>(ScreenWidth(), ScreenHeight());
  mScratchBitmap = std::make_unique<LICE_MemBitmap>();
}

void IGraphics::DeleteControls()
{
  mReadout = nullptr;
  mControls.clear();
}

void IGraphics::SetEditorSize(int width, int height)
{
  {
    // The audio thread walks the control list (UpdateParameterControls) while
    // holding the plug-in lock; hold it too while the list is emptied.
    std::unique_lock<IPlugBase::Mutex> guard;
    if (mPlug) guard = std::unique_lock<IPlugBase::Mutex>(mPlug->GetMutex());
    mWidth = width;
    mHeight = height;
    DropMouseCapture();
    EndGesture();
    DeleteControls();
  }
  mDrawBitmap.reset();
  mScratchBitmap.reset();
  PrepareDrawing();
  if (mPlug) mPlug->ResizeEditor(ScreenWidth(), ScreenHeight());
}

void IGraphics::SetCursorHidden(bool hidden, int x, int y)
{
  mCursorHidden = hidden;
  mHiddenCursorX = x;
  mHiddenCursorY = y;
}

bool IGraphics::BlitBitmap(const IBitmapRef& bitmap, const IBox& dest, int srcX, int srcY,
                           const IBlend* blend)
{
  int mode = CompositeUseSourceAlpha;
  float weight = 1.0f;
  if (blend)
  {
    weight = blend->weight;
    switch (blend->method)
    {
      case IBlend::kBlendClobber: mode = CompositeCopy; break;
      case IBlend::kBlendAdd: mode = CompositeAdd | CompositeUseSourceAlpha; break;
      case IBlend::kBlendColourDodge: mode = CompositeDodge | CompositeUseSourceAlpha; break;
      default: break;
    }
  }
  if (mScale != 1.0) return BlitScaled(bitmap, dest, srcX, srcY, mode, weight);

  const IBox clip = dest.Intersects(mDrawRect) ? dest.Intersect(mDrawRect) : IBox();
  const LICE_Rect source = {srcX + clip.left - dest.left, srcY + clip.top - dest.top,
                            srcX + clip.right - dest.left, srcY + clip.bottom - dest.top};
  LICE_Composite(mDrawBitmap.get(), bitmap.bitmap, clip.left, clip.top, &source, weight, mode);
  return true;
}

bool IGraphics::FindDirtyRegion(IBox& region)
{
  region = IBox();
  bool dirty = false;
  for (const auto& control : mControls)
  {
    if (!control->IsDirty()) continue;
    region = region.Union(ToScreen(control->GetBox()));
    dirty = true;
  }
  return dirty;
}

bool IGraphics::DrawRegion(const IBox& box)
{
  if (mControls.empty()) return true;

  if (mStrictDrawing)
  {
    mDrawRect = box;
    for (const auto& control : mControls)
    {
      const IBox r = ToScreen(control->GetBox());
      if (!control->IsHidden() && !box.Empty() && !r.Empty() && box.Intersects(r))
        control->Draw(*this);
    }
    for (const auto& control : mControls) control->SetClean();
  }
  else
  {
    IControl* background = mControls.front().get();
    if (background->IsDirty())
    {
      mDrawRect = ToScreen(background->GetBox());
      for (std::size_t i = 0; i < mControls.size(); ++i)
      {
        IControl* control = mControls[i].get();
        if (i == 0 || !control->IsHidden()) control->Draw(*this);
        control->SetClean();
      }
    }
    else
    {
      for (std::size_t i = 1; i < mControls.size(); ++i)
      {
        IControl* dirty = mControls[i].get();
        if (!dirty->IsDirty()) continue;
        mDrawRect = ToScreen(dirty->GetBox());
        for (const auto& other : mControls)
        {
          const IBox r = ToScreen(other->GetBox());
          if (other->IsHidden()) continue;
          if (other.get() == dirty || (!r.Empty() && r.Intersects(mDrawRect))) other->Draw(*this);
        }
        dirty->SetClean();
      }
    }
  }
  return PresentRegion(box);
}
