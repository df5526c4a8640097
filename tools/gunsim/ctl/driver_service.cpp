#include "driver_service.h"

#include <windows.h>

#include "owned.h"
#include "utf8.h"
#include "../gunsim_protocol.h"

namespace {

std::string InstalledDriverPath()
{
    char system[MAX_PATH];
    const UINT length = GetSystemDirectoryA(system, sizeof(system));
    if (length == 0 || length >= sizeof(system))
        return std::string();
    return std::string(system) + "\\drivers\\" GUNSIM_SYS_NAME;
}

std::string Failure(const char* what)
{
    return std::string(what) + " failed (error " + std::to_string(GetLastError()) + ")";
}

}  // namespace

std::string DefaultDriverPath()
{
    // Long enough for any path Windows gives a module.
    std::wstring self(32768, L'\0');
    const DWORD length = GetModuleFileNameW(NULL, &self[0], static_cast<DWORD>(self.size()));
    if (length == 0 || length >= self.size())
        return GUNSIM_SYS_NAME;
    const std::string path = Utf8FromWide(self.c_str(), static_cast<int>(length));
    const size_t slash = path.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + GUNSIM_SYS_NAME;
}

bool InstallDriver(const std::string& sysPath, std::string& error)
{
    const std::string installed = InstalledDriverPath();
    if (installed.empty()) {
        error = Failure("GetSystemDirectoryA");
        return false;
    }
    // Reinstalling over a loaded driver may find its file in use; the loaded one stays.
    if (!CopyFileW(WideFromUtf8(sysPath).c_str(), WideFromUtf8(installed).c_str(), FALSE) &&
        GetLastError() != ERROR_SHARING_VIOLATION) {
        error = "copying '" + sysPath + "' to '" + installed + "': " + Failure("CopyFileA");
        return false;
    }

    OwnedService manager(OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS));
    if (!manager.Get()) {
        error = Failure("OpenSCManagerA");
        return false;
    }
    OwnedService service(CreateServiceA(manager.Get(), GUNSIM_SERVICE_NAME, GUNSIM_SERVICE_NAME,
                                        SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START,
                                        SERVICE_ERROR_IGNORE, installed.c_str(), NULL, NULL, NULL, NULL,
                                        NULL));
    if (!service.Get()) {
        if (GetLastError() != ERROR_SERVICE_EXISTS) {
            error = Failure("CreateServiceA");
            return false;
        }
        service.Reset(OpenServiceA(manager.Get(), GUNSIM_SERVICE_NAME, SERVICE_ALL_ACCESS));
        if (!service.Get()) {
            error = Failure("OpenServiceA");
            return false;
        }
    }
    if (!StartServiceA(service.Get(), 0, NULL) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING) {
        error = Failure("StartServiceA");
        return false;
    }
    return true;
}

bool UninstallDriver(std::string& error)
{
    OwnedService manager(OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS));
    if (!manager.Get()) {
        error = Failure("OpenSCManagerA");
        return false;
    }
    OwnedService service(OpenServiceA(manager.Get(), GUNSIM_SERVICE_NAME, SERVICE_ALL_ACCESS));
    if (service.Get()) {
        SERVICE_STATUS status;
        ControlService(service.Get(), SERVICE_CONTROL_STOP, &status);
        if (!DeleteService(service.Get()) && GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE) {
            error = Failure("DeleteService");
            return false;
        }
    } else if (GetLastError() != ERROR_SERVICE_DOES_NOT_EXIST) {
        error = Failure("OpenServiceA");
        return false;
    }
    const std::string installed = InstalledDriverPath();
    if (!installed.empty())
        DeleteFileA(installed.c_str());
    return true;
}
