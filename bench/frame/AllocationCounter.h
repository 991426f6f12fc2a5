// The number of heap allocations the process has made so far.
#pragma once

unsigned long long HeapAllocations();
