// WM_DEVICECHANGE to every top-level window, as the system sends when devices come and go.
#pragma once

#include <string>

enum class DeviceNotice { NodesChanged, Arrival, RemoveComplete };

bool ParseDeviceNotice(const std::string& word, DeviceNotice& notice);
// Returns once every top-level window has handled it or timed out.
bool BroadcastDeviceNotice(DeviceNotice notice, std::string& error);
