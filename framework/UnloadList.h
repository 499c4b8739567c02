#pragma once

#include <algorithm>
#include <mutex>
#include <vector>

// Objects a host may still hold when it unloads the module. As a static, the
// list is destroyed when the module unloads, and then hands every object it
// still holds to atUnload, so that nothing of the module's code stays in the
// host's hands (a window, a registered callback).
template <typename T>
class UnloadList
{
public:
  explicit UnloadList(void (*atUnload)(T*)) : mAtUnload(atUnload) {}
  ~UnloadList()
  {
    // atUnload may remove the object; it runs without the lock.
    std::vector<T*> left;
    {
      std::lock_guard<std::mutex> guard(mLock);
      left = mItems;
    }
    for (T* item : left) mAtUnload(item);
  }
  UnloadList(const UnloadList&) = delete;
  UnloadList& operator=(const UnloadList&) = delete;

  void Add(T* item)
  {
    std::lock_guard<std::mutex> guard(mLock);
    mItems.push_back(item);
  }
  void Remove(T* item)
  {
    std::lock_guard<std::mutex> guard(mLock);
    mItems.erase(std::remove(mItems.begin(), mItems.end(), item), mItems.end());
  }

private:
  void (*mAtUnload)(T*);
  std::mutex mLock;
  std::vector<T*> mItems;
};
