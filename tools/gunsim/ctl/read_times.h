// The driver's read and change stamps as figures: how steadily the gun is read.
#pragma once

#include <string>

#include "../gunsim_protocol.h"

// "reads N interval-median MS interval-p99 MS interval-max MS over-90ms N
//  changes N unread N delay-median MS delay-max MS"; "-" where nothing was stamped.
std::string SummarizeReadTimes(const GunsimTimes& times);
// Every stamp kept, oldest first, in ms from the oldest read kept:
// "reads MS MS ... changes MS>MS ...", a change and the first read returning it
// ("MS>-" when none did), so a late read can be set beside what happened before it.
std::string ListReadTimes(const GunsimTimes& times);
