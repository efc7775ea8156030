// The components of one load, told in order that the load is over.
//
// Reading a stored form creates components and sets their stored properties while they are
// in csLoading. Only when the whole form is read does each receive Loaded, in the order it
// joined the list: the reader adds the root first and then each component as it is read, so
// every Loaded sees the whole form with its stored values, the root's first. A component
// destroyed during the load leaves the list. A list dropped without NotifyLoaded (the read
// failed) takes csLoading away without calling Loaded.
#pragma once

#include <memory>

namespace lx::framework {

class TComponent;

class TLoadedList {
 public:
  TLoadedList();
  ~TLoadedList();
  TLoadedList(const TLoadedList&) = delete;
  TLoadedList& operator=(const TLoadedList&) = delete;

  /// Puts `component` in the loading state and on the list; a second Add does nothing.
  void Add(TComponent* component);
  bool Contains(const TComponent* component) const;
  /// The components still on the list.
  int Count() const;
  /// Calls Loaded on each component, in the order added, and empties the list. A component
  /// destroyed by an earlier Loaded is skipped; when a Loaded raises, the others are still
  /// told and the first exception is raised afterwards.
  void NotifyLoaded();

 private:
  class TWatcher;
  std::unique_ptr<TWatcher> watcher_;
};

}  // namespace lx::framework
