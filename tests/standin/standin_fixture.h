// GoogleTest fixture: every test starts on a fresh stand-in and ends having
// released nothing it did not hold.
#pragma once

#include <gtest/gtest.h>

#include "standin.h"

class StandinTest : public ::testing::Test {
protected:
    void SetUp() override { standin::Reset(); }
    void TearDown() override {
        EXPECT_EQ(0, standin::BadReleases()) << "closed, freed or released something not open";
        EXPECT_EQ(0, standin::DroppedCalls()) << "call log overflowed";
    }
};

inline ULONG_PTR Addr(const void* p) { return reinterpret_cast<ULONG_PTR>(p); }

// What Windows sends about the handle the nth registration named.
inline DEV_BROADCAST_HANDLE HandleNotice(int nth = 0) {
    const standin::Call& registration = *standin::Find(standin::Fn::RegisterDeviceNotificationA, nth);
    DEV_BROADCAST_HANDLE notice = {};
    notice.dbch_size = sizeof notice;
    notice.dbch_devicetype = DBT_DEVTYP_HANDLE;
    notice.dbch_handle = reinterpret_cast<HANDLE>(registration.out);
    notice.dbch_hdevnotify = reinterpret_cast<HDEVNOTIFY>(registration.result);
    return notice;
}
