// The editor side of IPlugVST3: creating views, resizing through the host's
// frame, and the host's own menu for a parameter.
#include "vst3/IPlugVST3.h"

#include "vst3/IPlugVST3View.h"

#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <algorithm>
#include <cstring>
#include <new>

using namespace Steinberg;
using namespace Steinberg::Vst;

IPlugView* PLUGIN_API IPlugVST3::createView(FIDString name)
{
  // Where the platform has no editor window there is no view, and hosts show
  // their own panel for the parameters.
  if (!name || std::strcmp(name, ViewType::kEditor) != 0 || !GetGraphics()) return nullptr;
  return new (std::nothrow) IPlugVST3View(this);
}

void IPlugVST3::AddView(IPlugVST3View* view)
{
  mViews.push_back(view);
}

void IPlugVST3::RemoveView(IPlugVST3View* view)
{
  mViews.erase(std::remove(mViews.begin(), mViews.end(), view), mViews.end());
  if (mWindowView == view) mWindowView = nullptr;
}

IPlugVST3View* IPlugVST3::EditorView() const
{
  if (mWindowView) return mWindowView;
  return mViews.empty() ? nullptr : mViews.front();
}

void IPlugVST3::ResizeEditor(int width, int height)
{
  if (!GetGraphics()) return;
  if (IPlugVST3View* view = EditorView()) view->RequestResize(width, height);
}

void IPlugVST3::ShowHostParamMenu(int paramIdx, int x, int y)
{
  IPlugVST3View* view = EditorView();
  if (!componentHandler || !view) return;
  FUnknownPtr<IComponentHandler3> handler(componentHandler);
  if (!handler) return;
  ParamID id = static_cast<ParamID>(paramIdx);
  if (IContextMenu* menu = handler->createContextMenu(view, &id))
  {
    menu->popup(static_cast<UCoord>(x), static_cast<UCoord>(y));
    menu->release();
  }
}
