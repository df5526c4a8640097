// Counts every allocation made through the global operator new.
#pragma once

long HeapAllocations();
