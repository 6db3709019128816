// Makes the next allocation of the Windows tests' process fail, as a machine out of memory
// would: the test binary replaces the global operator new.
#pragma once

// The next operator new (only that one) throws std::bad_alloc.
void FailNextAllocation();
