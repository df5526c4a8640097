// The simulated gun's driver as a kernel service of the prefix.
#pragma once

#include <string>

// Copies `sysPath` (UTF-8) into the system's drivers folder, creates the service when
// missing and starts it when stopped.
bool InstallDriver(const std::string& sysPath, std::string& error);
// Stops and deletes the service and removes the copied driver.
bool UninstallDriver(std::string& error);

// gunsim.sys beside this program, in UTF-8.
std::string DefaultDriverPath();
