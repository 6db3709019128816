// The dialing location that the user stores, in the subkey "Dialing" of Zelmora's key: the
// location whole in one value, and a value each beside it for earlier Zelmoras.
#pragma once

#include <optional>

#include "dialing_rules.h"

namespace zelmora {

// The location stored in the "Dialing" subkey; nothing when its Country is missing or can not
// be read. Other values that are missing or can not be read count as not set.
std::optional<Location> StoredLocation();
// Stores every value of location at once; false when the subkey can not be written.
bool StoreLocation(const Location &location);

} // namespace zelmora
