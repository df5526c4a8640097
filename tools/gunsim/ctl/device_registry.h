// The registry entries through which SetupDiGetClassDevsA lists the simulated gun's interface.
#pragma once

#include <string>

bool RegisterInterface(std::string& error);
// Linked 0 hides the interface from a DIGCF_PRESENT enumeration, as with an unplugged device.
bool SetInterfaceLinked(bool linked, std::string& error);
bool UnregisterInterface(std::string& error);
