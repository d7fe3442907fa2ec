// Large arrays of a drawing are filled once, front to back; on systems that
// offer large memory pages, asking for them saves most of the page faults.
#pragma once

#include <cstddef>
#include <vector>

namespace jww {

void AdviseLargePages(const void* p, size_t bytes);

template <class T>
void AdviseLargePages(const std::vector<T>& v) {
  AdviseLargePages(v.data(), v.capacity() * sizeof(T));
}

}  // namespace jww
