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
