// The packaged SDK declares the editor-view interfaces but defines their
// IDs nowhere (the full SDK does so next to its factory, which we replace).
#include "pluginterfaces/gui/iplugview.h"

namespace Steinberg {
DEF_CLASS_IID(IPlugView)
DEF_CLASS_IID(IPlugFrame)
}  // namespace Steinberg
