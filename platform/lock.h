// The lock of the core. WebAssembly runs the engine on one thread, and its
// C++ library has no std::mutex there, so that build (VORDO_SINGLE_THREADED)
// gets a lock that does nothing.
#ifndef VORDO_PLATFORM_LOCK_H_
#define VORDO_PLATFORM_LOCK_H_

#ifndef VORDO_SINGLE_THREADED
#include <mutex>
#endif

namespace vordo {

#ifdef VORDO_SINGLE_THREADED
class Mutex {
 public:
  void lock() {}
  void unlock() {}
};
#else
using Mutex = std::mutex;
#endif

// Holds a Mutex for its scope.
class MutexLock {
 public:
  explicit MutexLock(Mutex& mutex) : mutex_(mutex) { mutex_.lock(); }
  ~MutexLock() { mutex_.unlock(); }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

 private:
  Mutex& mutex_;
};

}  // namespace vordo

#endif  // VORDO_PLATFORM_LOCK_H_
