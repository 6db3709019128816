// The one length limit that every text of Zelmora's shares. Platform-free.
#pragma once

#include <cstddef>

namespace zelmora {

// A phone-book cell, a field of the entry dialog, a quick-dial string and a text read from a
// list all travel in buffers of 260 units, the MAX_PATH size of the Windows calls that carry
// them: at most 259 characters and a terminator.
inline constexpr std::size_t kMaxCellLength = 259;
inline constexpr std::size_t kCellCapacity = kMaxCellLength + 1;

} // namespace zelmora
