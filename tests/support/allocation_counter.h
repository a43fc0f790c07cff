// Counts the program's C++ heap allocations, so tests can prove a path allocates nothing.
#pragma once

// Allocations through operator new since the program started.
long heapAllocations();
