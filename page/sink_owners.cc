#include "page/sink_owners.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/lock.h"

namespace vordo {
namespace {

using SinkOwner = std::pair<const IEvtHandler*, HoverTarget*>;

// Bands of several browser windows, each on its own thread, share it.
struct SinkOwners {
  Mutex lock;
  std::vector<SinkOwner> owners;
};

SinkOwners& Owners() {
  static SinkOwners owners;
  return owners;
}

}  // namespace

void RecordSinkOwner(const IEvtHandler* sink, HoverTarget* owner) {
  SinkOwners& all = Owners();
  MutexLock hold(all.lock);
  all.owners.emplace_back(sink, owner);
}

void ForgetSinkOwner(const IEvtHandler* sink) {
  SinkOwners& all = Owners();
  MutexLock hold(all.lock);
  all.owners.erase(std::remove_if(all.owners.begin(), all.owners.end(),
                                  [sink](const SinkOwner& entry) { return entry.first == sink; }),
                   all.owners.end());
}

HoverTarget* SinkOwnerAt(const IEvtHandler* sink, LONG_PTR address) {
  SinkOwners& all = Owners();
  MutexLock hold(all.lock);
  for (const SinkOwner& entry : all.owners) {
    if (entry.first == sink && reinterpret_cast<LONG_PTR>(entry.second) == address) return entry.second;
  }
  return nullptr;
}

}  // namespace vordo
