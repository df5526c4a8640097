// Arbitrary bytes through the report decode and through the device link's
// reads: short, failed and disconnected reads included.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "gun/gun_device.h"
#include "gun/gun_report.h"
#include "standin.h"

namespace {

void Check(bool condition) {
    if (!condition) abort();
}

GunReport Take(const uint8_t* data) {
    GunReport report;
    memcpy(report.bytes, data, sizeof report.bytes);
    return report;
}

void CheckDecode(const GunReport& now, const GunReport& previous) {
    ButtonEdges edges;
    memset(&edges, 0x5A, sizeof edges);
    DecodeButtonEdges(now, previous, edges);
    int set = 0;
    for (int i = 0; i < kButtonPatternCount; ++i) {
        Check(edges.flag[i] == 0 || edges.flag[i] == 1);
        set += edges.flag[i];
    }
    // Two patterns never share their bytes, so one report is at most one press.
    Check(set <= 1);
    if (now.bytes[0] == previous.bytes[0] && now.bytes[1] == previous.bytes[1]) Check(set == 0);
    Check(ReportRawX(now) == (now.bytes[2] | now.bytes[3] << 8));
    Check(ReportRawY(now) == (now.bytes[4] | now.bytes[5] << 8));
}

// Each step: one control byte, then the bytes of a whole report when the
// control byte asks for one. A closed link is reopened on the next step, as
// a device-change notice would.
void CheckReads(const uint8_t* data, size_t size) {
    standin::Reset();
    standin::SetRecording(false);
    CGunDevice device;
    Check(device.Open());
    WORD x = 0x1234, y = 0x5678;
    BYTE lastButtons[2] = {0xFF, 0xFF};
    // The stand-in scripts at most 64 reads.
    for (int step = 0; step < 60 && size > 0; ++step) {
        const uint8_t control = *data++;
        --size;
        if (!device.IsOpen()) {
            Check(device.Open());
            continue;
        }
        BYTE bytes[6] = {};
        bool full = false;
        DWORD error = 0;
        switch (control >> 6) {
        case 0:
        case 1: {
            const size_t n = size < 6 ? size : 6;
            memcpy(bytes, data, n);
            data += n;
            size -= n;
            standin::QueueRead(bytes, 6);
            full = true;
            break;
        }
        case 2:  // shorter than a report
            standin::QueueRead(bytes, control % 6);
            break;
        default:
            error = (control & 1) ? ERROR_DEVICE_NOT_CONNECTED : ERROR_GEN_FAILURE;
            standin::QueueReadFailure(error);
        }
        ButtonEdges edges;
        WORD newX = x, newY = y;
        const BOOL ok = device.Poll(newX, newY, edges);
        Check((ok != FALSE) == full);
        Check((device.IsOpen() != FALSE) == (error != ERROR_DEVICE_NOT_CONNECTED));
        Check(standin::OpenFileHandles() == (device.IsOpen() ? 1 : 0));
        if (!ok) {
            Check(newX == x && newY == y);
            continue;
        }
        Check(newX == (bytes[2] | bytes[3] << 8) && newY == (bytes[4] | bytes[5] << 8));
        int set = 0;
        for (int i = 0; i < kButtonPatternCount; ++i) set += edges.flag[i];
        // The previous report survives failures and reopening alike.
        if (bytes[0] == lastButtons[0] && bytes[1] == lastButtons[1]) Check(set == 0);
        lastButtons[0] = bytes[0];
        lastButtons[1] = bytes[1];
        x = newX;
        y = newY;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size >= 12) CheckDecode(Take(data), Take(data + 6));
    CheckReads(data, size);
    Check(standin::OpenFileHandles() == 0 && standin::OpenDeviceInfoLists() == 0 && standin::LiveLocalAllocs() == 0);
    Check(standin::BadReleases() == 0);
    return 0;
}
