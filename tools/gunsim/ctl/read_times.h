// The driver's read and change stamps as figures: how steadily the gun is read.
#pragma once

#include <string>

#include "../gunsim_protocol.h"

// "reads N interval-median MS interval-p99 MS interval-max MS over-90ms N
//  changes N unread N delay-median MS delay-max MS"; "-" where nothing was stamped.
std::string SummarizeReadTimes(const GunsimTimes& times);
// "intervals MS MS ... delays MS MS ...", every one kept, oldest first.
std::string ListReadTimes(const GunsimTimes& times);
