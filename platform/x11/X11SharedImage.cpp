#include "platform/x11/X11SharedImage.h"

#include "platform/x11/X11ErrorTrap.h"
#include "raster/LICE_SysBitmap.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstring>

X11SharedImage::X11SharedImage(Display* display) : mDisplay(display)
{
  mSegment.shmid = -1;
  mSegment.shmaddr = reinterpret_cast<char*>(-1);
}

X11SharedImage::~X11SharedImage()
{
  if (mAttached)
  {
    X11ErrorTrap trap(mDisplay);
    XShmDetach(mDisplay, &mSegment);
    XSync(mDisplay, False);
  }
  if (mSegment.shmaddr != reinterpret_cast<char*>(-1)) shmdt(mSegment.shmaddr);
  if (mSegment.shmid >= 0) shmctl(mSegment.shmid, IPC_RMID, nullptr);
  if (!mImage) return;
  mImage->data = nullptr;  // the segment's, not Xlib's to free
  XDestroyImage(mImage);
}

std::unique_ptr<X11SharedImage> X11SharedImage::Create(Display* display, Visual* visual,
                                                       int width, int height)
{
  if (!display || !visual || width <= 0 || height <= 0 || !XShmQueryExtension(display))
    return nullptr;
  std::unique_ptr<X11SharedImage> shared(new X11SharedImage(display));
  // The image keeps a pointer to the segment's description, which lives as
  // long as the image.
  XImage* image = shared->mImage =
      XShmCreateImage(display, visual, 24, ZPixmap, nullptr, &shared->mSegment,
                      static_cast<unsigned>(width), static_cast<unsigned>(height));
  if (!image) return nullptr;
  // The surface's rows are copied as they are: the server must read them as
  // little-endian 32-bit pixels.
  if (image->bits_per_pixel != 32 || image->byte_order != LSBFirst) return nullptr;

  XShmSegmentInfo& segment = shared->mSegment;
  segment.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * image->height,
                         IPC_CREAT | 0600);
  if (segment.shmid < 0) return nullptr;
  segment.shmaddr = image->data = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
  if (segment.shmaddr == reinterpret_cast<char*>(-1)) return nullptr;
  segment.readOnly = False;

  X11ErrorTrap trap(display);
  shared->mAttached = XShmAttach(display, &segment) != 0;
  if (trap.SyncFailed()) shared->mAttached = false;
  // Marked for removal now: the segment goes when both sides let go, even
  // if the host crashes.
  shmctl(segment.shmid, IPC_RMID, nullptr);
  segment.shmid = -1;
  if (!shared->mAttached) return nullptr;
  return shared;
}

bool X11SharedImage::Put(Window window, GC gc, LICE_SysBitmap& surface, int x, int y, int width,
                         int height)
{
  if (x < 0 || y < 0 || width <= 0 || height <= 0 || x + width > mImage->width ||
      y + height > mImage->height || x + width > surface.Width() || y + height > surface.Height())
    return false;
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  for (int row = y; row < y + height; ++row)
  {
    const LICE_Color32* source = surface.Pixels() + static_cast<size_t>(row) * surface.RowSpan() + x;
    std::memcpy(mImage->data + static_cast<size_t>(row) * mImage->bytes_per_line + x * 4, source,
                rowBytes);
  }
  XShmPutImage(mDisplay, window, gc, mImage, x, y, x, y, static_cast<unsigned>(width),
               static_cast<unsigned>(height), False);
  XSync(mDisplay, False);
  return true;
}
