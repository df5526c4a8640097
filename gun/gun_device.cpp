#include "gun/gun_device.h"

const GUID GUID_DEVINTERFACE_GUN = {0x1F6C1AAA, 0x0919, 0x4A8D, {0xB0, 0xCD, 0x68, 0x56, 0x62, 0x29, 0xDE, 0x66}};

namespace {

// cbSize of the detail record is its fixed part, not the whole buffer.
const DWORD kDetailFixedSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
const DWORD kReportSize = sizeof(GunReport);

#ifdef _WIN32
static_assert(sizeof(SP_DEVICE_INTERFACE_DATA) == 28, "32-bit SP_DEVICE_INTERFACE_DATA");
static_assert(kDetailFixedSize == 5, "32-bit SP_DEVICE_INTERFACE_DETAIL_DATA_A fixed part");
#endif

}  // namespace

CGunDevice::CGunDevice() : m_previous(kIdleReport) {}

CGunDevice::~CGunDevice() {}

BOOL CGunDevice::Open() {
    if (IsOpen()) return TRUE;

    DeviceInfoList set(SetupDiGetClassDevsA(&GUID_DEVINTERFACE_GUN, NULL, NULL, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!set.IsValid()) return FALSE;

    SP_DEVICE_INTERFACE_DATA data = {};
    data.cbSize = sizeof(SP_DEVICE_INTERFACE_DATA);
    // With several guns present, the first one enumerated is the one used.
    if (!SetupDiEnumDeviceInterfaces(set.Get(), NULL, &GUID_DEVINTERFACE_GUN, 0, &data)) return FALSE;

    // Asked for the size only, this call fails by contract; only the size matters.
    DWORD required = 0;
    SetupDiGetDeviceInterfaceDetailA(set.Get(), &data, NULL, 0, &required, NULL);
    if (required < kDetailFixedSize) return FALSE;

    DeviceDetailBuffer detail(required);
    if (!detail.IsValid()) return FALSE;
    detail.Get()->cbSize = kDetailFixedSize;
    if (!SetupDiGetDeviceInterfaceDetailA(set.Get(), &data, detail.Get(), required, NULL, NULL)) return FALSE;

    m_handle.Reset(CreateFileA(detail.Get()->DevicePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    return IsOpen();
}

BOOL CGunDevice::IsOpen() const {
    return m_handle.IsValid() ? TRUE : FALSE;
}

BOOL CGunDevice::ReadReport(ButtonEdges& edges) {
    if (!IsOpen()) return FALSE;

    GunReport report;
    DWORD count = 0;
    if (!ReadFile(m_handle.Get(), report.bytes, kReportSize, &count, NULL)) {
        // Unplugged: let go of the handle so a device-change notice can reopen.
        if (GetLastError() == ERROR_DEVICE_NOT_CONNECTED) m_handle.Close();
        return FALSE;
    }
    // A partial report would decode bytes the driver never sent.
    if (count < kReportSize) return FALSE;

    DecodeButtonEdges(report, m_previous, edges);
    m_previous = report;
    return TRUE;
}

BOOL CGunDevice::Poll(WORD& rawX, WORD& rawY, ButtonEdges& edges) {
    if (!ReadReport(edges)) return FALSE;
    rawX = ReportRawX(m_previous);
    rawY = ReportRawY(m_previous);
    return TRUE;
}
