#include "dialog_units.h"

#include <windows.h>

#include <cstdlib>

std::string UnitsFromPixels(long pixels, int base, int unitsPerBase)
{
    if (base <= 0)
        return "?";
    long units = pixels * unitsPerBase / base;
    long best = units;
    long bestError = 1L << 30;
    for (long candidate = units - 2; candidate <= units + 2; ++candidate) {
        const long error = std::labs(::MulDiv(candidate, base, unitsPerBase) - pixels);
        if (error < bestError) {
            best = candidate;
            bestError = error;
        }
    }
    return (bestError == 0 ? "" : "~") + std::to_string(best);
}
