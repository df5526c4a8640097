#include "panel/message_filter.h"
#include "standin_fixture.h"

using standin::Fn;

namespace {

HWND const kWindow = reinterpret_cast<HWND>(0x2468);
const UINT kTaskbarCreated = 0xC041;

class MessageFilterTest : public StandinTest {};

// Per window where it exists; per process where only Vista's call does; and
// where neither does, nothing at all, and no crash.
TEST_F(MessageFilterTest, TakesTheNewestEntryPointUser32Has) {
    LetMessageThroughPrivilegeFilter(kWindow, kTaskbarCreated);
    const standin::Call* perWindow = standin::Find(Fn::ChangeWindowMessageFilterEx);
    ASSERT_NE(nullptr, perWindow);
    EXPECT_EQ(Addr(kWindow), perWindow->arg[0]);
    EXPECT_EQ(kTaskbarCreated, perWindow->arg[1]);
    EXPECT_EQ(1u, perWindow->arg[2]) << "MSGFLT_ALLOW";
    EXPECT_EQ(0u, perWindow->arg[3]);
    EXPECT_EQ(0, standin::CountOf(Fn::ChangeWindowMessageFilter));

    standin::ClearCalls();
    standin::SetMessageFilterExports(false, true);
    LetMessageThroughPrivilegeFilter(kWindow, kTaskbarCreated);
    const standin::Call* perProcess = standin::Find(Fn::ChangeWindowMessageFilter);
    ASSERT_NE(nullptr, perProcess);
    EXPECT_EQ(kTaskbarCreated, perProcess->arg[0]);
    EXPECT_EQ(1u, perProcess->arg[1]) << "MSGFLT_ADD";

    standin::ClearCalls();
    standin::SetMessageFilterExports(false, false);
    LetMessageThroughPrivilegeFilter(kWindow, kTaskbarCreated);
    EXPECT_EQ((std::vector<Fn>{Fn::GetModuleHandleA, Fn::GetProcAddress, Fn::GetModuleHandleA, Fn::GetProcAddress}),
              standin::Sequence());

    standin::ClearCalls();
    standin::FailCall(Fn::GetModuleHandleA, ERROR_FILE_NOT_FOUND);
    standin::FailCall(Fn::GetModuleHandleA, ERROR_FILE_NOT_FOUND);
    LetMessageThroughPrivilegeFilter(kWindow, kTaskbarCreated);
    EXPECT_EQ((std::vector<Fn>{Fn::GetModuleHandleA, Fn::GetModuleHandleA}), standin::Sequence());
}

}  // namespace
