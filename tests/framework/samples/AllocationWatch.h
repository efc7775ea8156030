// The largest single request for memory made while a watch is on: shows that a reader does
// not take a length field's word for how much memory to ask for.
//
// The suite that links this file has its global operator new and delete replaced by plain
// malloc and free that keep count; nothing else changes.
#pragma once

#include <cstddef>

namespace lx::support {

class AllocationWatch {
 public:
  /// Starts watching.
  AllocationWatch();
  ~AllocationWatch();
  AllocationWatch(const AllocationWatch&) = delete;
  AllocationWatch& operator=(const AllocationWatch&) = delete;

  /// The largest size asked of operator new (plain or array) since the watch began.
  std::size_t Largest() const;
};

}  // namespace lx::support
