#include <cstring>
#include <functional>
#include <string>

#include "gun/gun_device.h"
#include "standin_fixture.h"

using standin::Fn;

namespace {

const char kPath[] = "\\\\?\\root#gun#0000#{1f6c1aaa-0919-4a8d-b0cd-68566229de66}";

class GunDeviceTest : public StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        standin::SetDevicePath(kPath);
    }

    // Polls once; returns the raised flag (-1 none) or -3 when the poll failed.
    int PollEdge(CGunDevice& gun) {
        WORD x = 0, y = 0;
        ButtonEdges edges = {};
        if (!gun.Poll(x, y, edges)) return -3;
        for (int i = 0; i < kButtonPatternCount; ++i)
            if (edges.flag[i]) return i;
        return -1;
    }
};

TEST_F(GunDeviceTest, OpenEnumeratesTheInterfaceAndOpensItsPath) {
    const GUID expected = {0x1F6C1AAA, 0x0919, 0x4A8D, {0xB0, 0xCD, 0x68, 0x56, 0x62, 0x29, 0xDE, 0x66}};
    EXPECT_EQ(0, std::memcmp(&expected, &GUID_DEVINTERFACE_GUN, sizeof expected));

    CGunDevice gun;
    EXPECT_FALSE(gun.IsOpen());
    ASSERT_TRUE(gun.Open());
    EXPECT_TRUE(gun.IsOpen());

    EXPECT_EQ((std::vector<Fn>{Fn::SetupDiGetClassDevsA, Fn::SetupDiEnumDeviceInterfaces,
                               Fn::SetupDiGetDeviceInterfaceDetailA, Fn::LocalAlloc,
                               Fn::SetupDiGetDeviceInterfaceDetailA, Fn::CreateFileA, Fn::LocalFree,
                               Fn::SetupDiDestroyDeviceInfoList}),
              standin::Sequence());

    const standin::Call& classDevs = *standin::Find(Fn::SetupDiGetClassDevsA);
    EXPECT_EQ(Addr(&GUID_DEVINTERFACE_GUN), classDevs.arg[0]);
    EXPECT_EQ(0u, classDevs.arg[1]);
    EXPECT_EQ(0u, classDevs.arg[2]);
    EXPECT_EQ(0x12u, classDevs.arg[3]);
    const ULONG_PTR set = classDevs.result;

    const standin::Call& enumerate = *standin::Find(Fn::SetupDiEnumDeviceInterfaces);
    EXPECT_EQ(set, enumerate.arg[0]);
    EXPECT_EQ(0u, enumerate.arg[1]);
    EXPECT_EQ(Addr(&GUID_DEVINTERFACE_GUN), enumerate.arg[2]);
    EXPECT_EQ(0u, enumerate.arg[3]) << "only the first gun";
    EXPECT_EQ(28u, enumerate.structSize);

    const standin::Call& sizeQuery = *standin::Find(Fn::SetupDiGetDeviceInterfaceDetailA, 0);
    EXPECT_EQ(set, sizeQuery.arg[0]);
    EXPECT_EQ(enumerate.arg[4], sizeQuery.arg[1]);
    EXPECT_EQ(0u, sizeQuery.arg[2]);
    EXPECT_EQ(0u, sizeQuery.arg[3]);
    EXPECT_NE(0u, sizeQuery.arg[4]);
    EXPECT_EQ(0u, sizeQuery.arg[5]);

    const DWORD required = 5 + sizeof kPath - 1;
    const standin::Call& alloc = *standin::Find(Fn::LocalAlloc);
    EXPECT_EQ(required, alloc.arg[1]);

    const standin::Call& detail = *standin::Find(Fn::SetupDiGetDeviceInterfaceDetailA, 1);
    EXPECT_EQ(set, detail.arg[0]);
    EXPECT_EQ(enumerate.arg[4], detail.arg[1]);
    EXPECT_EQ(alloc.result, detail.arg[2]);
    EXPECT_EQ(required, detail.arg[3]);
    EXPECT_EQ(0u, detail.arg[4]);
    EXPECT_EQ(0u, detail.arg[5]);
    EXPECT_EQ(5u, detail.structSize) << "cbSize is the fixed part";

    const standin::Call& create = *standin::Find(Fn::CreateFileA);
    EXPECT_STREQ(kPath, create.text);
    EXPECT_EQ(0xC0000000u, create.arg[1]);
    EXPECT_EQ(3u, create.arg[2]);
    EXPECT_EQ(0u, create.arg[3]);
    EXPECT_EQ(3u, create.arg[4]);
    EXPECT_EQ(0x80u, create.arg[5]);
    EXPECT_EQ(0u, create.arg[6]);

    EXPECT_EQ(alloc.result, standin::Find(Fn::LocalFree)->arg[0]);
    EXPECT_EQ(set, standin::Find(Fn::SetupDiDestroyDeviceInfoList)->arg[0]);
    EXPECT_EQ(1, standin::OpenFileHandles());
    EXPECT_EQ(0, standin::OpenDeviceInfoLists());
    EXPECT_EQ(0, standin::LiveLocalAllocs());

    // Open again, as a second Start does: the link in hand is kept, even if
    // the gun went away and came back meanwhile.
    standin::ClearCalls();
    EXPECT_TRUE(gun.Open());
    EXPECT_EQ(0, standin::CallCount());
}

TEST_F(GunDeviceTest, EveryFailingOpenStepLeavesTheLinkClosedAndReleasesAll) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"no device-info list", [] { standin::FailCall(Fn::SetupDiGetClassDevsA, ERROR_INVALID_PARAMETER); }},
        {"no gun present", [] { standin::SetDevicePresent(false); }},
        {"enumeration error", [] { standin::FailCall(Fn::SetupDiEnumDeviceInterfaces, ERROR_GEN_FAILURE); }},
        {"no size reported", [] { standin::FailCall(Fn::SetupDiGetDeviceInterfaceDetailA, ERROR_GEN_FAILURE); }},
        {"size 0", [] { standin::OverrideDetailSize(0); }},
        {"size below the fixed part", [] { standin::OverrideDetailSize(4); }},
        {"allocation fails", [] { standin::FailCall(Fn::LocalAlloc, ERROR_NOT_ENOUGH_MEMORY); }},
        {"detail fails", [] { standin::FailCall(Fn::SetupDiGetDeviceInterfaceDetailA, ERROR_GEN_FAILURE, 1); }},
        {"detail too small for the path", [] { standin::OverrideDetailSize(5); }},
        {"path does not open", [] { standin::FailCall(Fn::CreateFileA, ERROR_ACCESS_DENIED); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        standin::Reset();
        standin::SetDevicePath(kPath);
        {
            CGunDevice gun;
            c.arrange();
            EXPECT_FALSE(gun.Open());
            EXPECT_FALSE(gun.IsOpen());
            EXPECT_EQ("", standin::Leaks());
            EXPECT_EQ(0, standin::CountOf(Fn::ReadFile));

            // Nothing half-open stays behind: once the gun answers, Open succeeds.
            standin::SetDevicePresent(true);
            standin::OverrideDetailSize(5 + sizeof kPath);
            EXPECT_TRUE(gun.Open());
        }
        EXPECT_EQ("", standin::Leaks());
        EXPECT_EQ(0, standin::BadReleases());
    }
}

TEST_F(GunDeviceTest, PollReadsOneReportAndDecodesItAgainstThePreviousOne) {
    CGunDevice gun;
    ASSERT_TRUE(gun.Open());
    const ULONG_PTR handle = standin::Find(Fn::CreateFileA)->result;
    standin::QueueReport(0xFB, 0xFF, 0x029F, 0x00DF);  // A already down at the first read
    standin::QueueReport(0xFB, 0xFF, 0x0100, 0x0050);
    standin::QueueReport(0xFF, 0xFF, 0x0100, 0x0050);
    standin::QueueReport(0xFB, 0xFF, 0x0100, 0x0050);

    WORD x = 0, y = 0;
    ButtonEdges edges = {};
    ASSERT_TRUE(gun.Poll(x, y, edges));
    EXPECT_EQ(671, x);
    EXPECT_EQ(223, y);
    EXPECT_EQ(1, edges.flag[2]);

    const standin::Call& read = *standin::Find(Fn::ReadFile);
    EXPECT_EQ(handle, read.arg[0]);
    EXPECT_EQ(6u, read.arg[2]);
    EXPECT_NE(0u, read.arg[3]);
    EXPECT_EQ(0u, read.arg[4]) << "synchronous";

    ASSERT_TRUE(gun.Poll(x, y, edges));
    EXPECT_EQ(256, x);
    EXPECT_EQ(80, y);
    EXPECT_EQ(0, edges.flag[2]) << "held";
    EXPECT_EQ(-1, PollEdge(gun));
    EXPECT_EQ(2, PollEdge(gun)) << "pressed again";
    EXPECT_EQ(4, standin::CountOf(Fn::ReadFile));
}

TEST_F(GunDeviceTest, FailedReadsLeaveCallerAndHistoryUntouched) {
    CGunDevice gun;
    ASSERT_TRUE(gun.Open());
    const BYTE shortReport[5] = {0xFF, 0xFF, 1, 2, 3};
    standin::QueueReport(0xFB, 0xFF, 300, 100);
    standin::QueueReadFailure(ERROR_GEN_FAILURE);
    standin::QueueRead(shortReport, sizeof shortReport);
    standin::QueueRead(shortReport, 0);
    standin::QueueReport(0xFB, 0xFF, 300, 100);
    EXPECT_EQ(2, PollEdge(gun));

    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        WORD x = 1234, y = 5678;
        ButtonEdges edges;
        std::memset(&edges, 0xEE, sizeof edges);
        EXPECT_FALSE(gun.Poll(x, y, edges));
        EXPECT_EQ(1234, x);
        EXPECT_EQ(5678, y);
        for (BYTE f : edges.flag) EXPECT_EQ(0xEE, f);
        EXPECT_TRUE(gun.IsOpen()) << "only an unplugged gun closes the link";
    }
    // The failed and short reads did not replace the previous report.
    EXPECT_EQ(-1, PollEdge(gun));
    EXPECT_EQ(0, standin::CountOf(Fn::CloseHandle));
}

TEST_F(GunDeviceTest, UnpluggedGunClosesTheLinkUntilReopened) {
    CGunDevice gun;
    ASSERT_TRUE(gun.Open());
    const ULONG_PTR first = standin::Find(Fn::CreateFileA)->result;
    standin::QueueReport(0xFB, 0xFF, 300, 100);
    standin::QueueReadFailure(ERROR_DEVICE_NOT_CONNECTED);
    EXPECT_EQ(2, PollEdge(gun));

    EXPECT_EQ(-3, PollEdge(gun));
    EXPECT_FALSE(gun.IsOpen());
    EXPECT_EQ(0, standin::OpenFileHandles());
    EXPECT_EQ(first, standin::Find(Fn::CloseHandle)->arg[0]);

    standin::ClearCalls();
    WORD x = 7, y = 9;
    ButtonEdges edges = {};
    EXPECT_FALSE(gun.Poll(x, y, edges));
    EXPECT_EQ(0, standin::CallCount()) << "a closed link does not read";
    EXPECT_EQ(7, x);

    // Plugged back with A still down: compared with the last report before
    // the pull-out, so no new press.
    ASSERT_TRUE(gun.Open());
    EXPECT_EQ(1, standin::CountOf(Fn::SetupDiGetClassDevsA));
    standin::QueueReport(0xFB, 0xFF, 310, 110);
    standin::QueueReport(0xFF, 0xFF, 310, 110);
    standin::QueueReport(0xFB, 0xFF, 310, 110);
    EXPECT_EQ(-1, PollEdge(gun));
    EXPECT_EQ(-1, PollEdge(gun));
    EXPECT_EQ(2, PollEdge(gun));
}

TEST_F(GunDeviceTest, ReadsFailingForTheRunLetGoOfTheGunABlipDoesNot) {
    CGunDevice gun;
    ASSERT_TRUE(gun.Open());
    DWORD now = 0xFFFFFF80u;  // across the tick count's wrap
    auto pollAt = [&](DWORD at) {
        standin::SetTickCount(at);
        return PollEdge(gun);
    };
    // Failures from 0 to 180 ms, then a report: nothing changes.
    for (int i = 0; i < 4; ++i) standin::QueueReadFailure(ERROR_GEN_FAILURE);
    standin::QueueReport(0xFB, 0xFF, 300, 100);
    for (int tick = 0; tick < 4; ++tick) EXPECT_EQ(-3, pollAt(now += 60));
    EXPECT_EQ(2, pollAt(now += 60));

    // Failures from 0 to 300 ms: the link lets go at the last, once.
    for (int i = 0; i < 6; ++i) standin::QueueReadFailure(ERROR_GEN_FAILURE);
    for (int tick = 0; tick < 5; ++tick) {
        EXPECT_EQ(-3, pollAt(now += 60));
        EXPECT_TRUE(gun.IsOpen());
    }
    EXPECT_EQ(-3, pollAt(now += 60));
    EXPECT_FALSE(gun.IsOpen());
    EXPECT_EQ(11, standin::CountOf(Fn::ReadFile));

    // The next Start looks for the gun anew; still A held, so no new press.
    standin::QueueReport(0xFB, 0xFF, 300, 100);
    ASSERT_TRUE(gun.Open());
    EXPECT_EQ(2, standin::CountOf(Fn::CreateFileA));
    EXPECT_EQ(-1, pollAt(now += 60));
}

TEST_F(GunDeviceTest, LetsGoWhenWindowsAsksForTheGun) {
    HWND const window = reinterpret_cast<HWND>(0x4242);
    CGunDevice gun;
    ASSERT_TRUE(gun.Open(window));
    const standin::Call& registration = *standin::Find(Fn::RegisterDeviceNotificationA);
    EXPECT_EQ(Addr(window), registration.arg[0]);
    EXPECT_EQ(0u, registration.arg[2]) << "DEVICE_NOTIFY_WINDOW_HANDLE";
    EXPECT_EQ(sizeof(DEV_BROADCAST_HANDLE), registration.structSize);
    EXPECT_EQ(standin::Find(Fn::CreateFileA)->result, registration.out);

    // Notices that are not Windows asking for this link's gun change nothing.
    const DEV_BROADCAST_HANDLE notice = HandleNotice();
    DEV_BROADCAST_HANDLE other = notice, interface = notice, cut = notice;
    other.dbch_hdevnotify = reinterpret_cast<HDEVNOTIFY>(0x77);
    interface.dbch_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    cut.dbch_size = 12;  // the header alone
    EXPECT_FALSE(gun.LetGoWhenAsked(DBT_DEVNODES_CHANGED, 0));
    EXPECT_FALSE(gun.LetGoWhenAsked(DBT_DEVICEQUERYREMOVEFAILED, Addr(&notice)));
    for (const DEV_BROADCAST_HANDLE* n : {&other, &interface, &cut, static_cast<DEV_BROADCAST_HANDLE*>(nullptr)})
        EXPECT_FALSE(gun.LetGoWhenAsked(DBT_DEVICEQUERYREMOVE, Addr(n)));
    EXPECT_TRUE(gun.IsOpen());

    // Asked: the handle goes at once; the registration stays to hear the rest.
    EXPECT_TRUE(gun.LetGoWhenAsked(DBT_DEVICEQUERYREMOVE, Addr(&notice)));
    EXPECT_FALSE(gun.IsOpen());
    EXPECT_EQ(0, standin::OpenFileHandles());
    EXPECT_TRUE(gun.LetGoWhenAsked(DBT_DEVICEREMOVECOMPLETE, Addr(&notice)));
    EXPECT_EQ(1, standin::DeviceNotifications());

    // Opened again: the new handle's registration replaces the old one.
    ASSERT_TRUE(gun.Open(window));
    EXPECT_EQ(registration.result, standin::Find(Fn::UnregisterDeviceNotification)->arg[0]);
    EXPECT_EQ(1, standin::DeviceNotifications());
    const DEV_BROADCAST_HANDLE second = HandleNotice(1);
    EXPECT_TRUE(gun.LetGoWhenAsked(DBT_DEVICEREMOVEPENDING, Addr(&second))) << "taken without asking";
    EXPECT_FALSE(gun.IsOpen());
}

TEST_F(GunDeviceTest, DestructionClosesAnOpenLink) {
    ULONG_PTR handle = 0;
    {
        CGunDevice gun;
        ASSERT_TRUE(gun.Open());
        handle = standin::Find(Fn::CreateFileA)->result;
        EXPECT_EQ(1, standin::OpenFileHandles());
    }
    EXPECT_EQ(0, standin::OpenFileHandles());
    ASSERT_EQ(1, standin::CountOf(Fn::CloseHandle));
    EXPECT_EQ(handle, standin::Find(Fn::CloseHandle)->arg[0]);
    { CGunDevice neverOpened; }
    EXPECT_EQ(1, standin::CountOf(Fn::CloseHandle));
}

}  // namespace

namespace {

class GunLinkTest : public StandinTest {};

TEST_F(GunLinkTest, KeepsThePathOpenedAndWhatTheLastReadGave) {
    CGunLink link;
    EXPECT_STREQ("", link.DevicePath());
    EXPECT_EQ(GunReadOutcome::kNoRead, link.LastRead().kind);
    standin::SetDevicePresent(false);
    EXPECT_FALSE(link.Open());
    EXPECT_STREQ("", link.DevicePath()) << "nothing was opened";

    standin::SetDevicePresent(true);
    standin::SetDevicePath(kPath);
    ASSERT_TRUE(link.Open());
    EXPECT_STREQ(kPath, link.DevicePath());

    const BYTE partial[3] = {0xFB, 0xFF, 0x10};
    standin::QueueReport(0xFB, 0xFF, 300, 100);
    standin::QueueRead(partial, sizeof partial);
    standin::QueueReadFailure(ERROR_GEN_FAILURE);
    standin::QueueReadFailure(ERROR_DEVICE_NOT_CONNECTED);

    GunReport report = kIdleReport;
    ASSERT_TRUE(link.Read(report));
    EXPECT_EQ(GunReadOutcome::kReport, link.LastRead().kind);
    EXPECT_EQ(6u, link.LastRead().count);
    EXPECT_EQ(300, ReportRawX(report));

    report = kIdleReport;
    EXPECT_FALSE(link.Read(report));
    EXPECT_EQ(GunReadOutcome::kShort, link.LastRead().kind);
    EXPECT_EQ(3u, link.LastRead().count);
    EXPECT_EQ(0xFF, report.bytes[0]) << "a partial report is not handed out";

    EXPECT_FALSE(link.Read(report));
    EXPECT_EQ(GunReadOutcome::kFailed, link.LastRead().kind);
    EXPECT_EQ(DWORD(ERROR_GEN_FAILURE), link.LastRead().error);
    EXPECT_TRUE(link.IsOpen());

    EXPECT_FALSE(link.Read(report));
    EXPECT_EQ(DWORD(ERROR_DEVICE_NOT_CONNECTED), link.LastRead().error);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_STREQ(kPath, link.DevicePath()) << "still names the gun that went";

    // A path longer than the room kept is cut short, never overrun.
    const std::string longPath = std::string("\\\\?\\usb#") + std::string(300, 'x');
    standin::SetDevicePath(longPath.c_str());
    CGunLink other;
    ASSERT_TRUE(other.Open());
    EXPECT_EQ(longPath.substr(0, kGunPathSize - 1), other.DevicePath());
}

}  // namespace
