#include <cstring>
#include <string>

#include "pointer/mouse_emulator.h"
#include "standin_fixture.h"

using standin::Fn;

namespace {

ButtonEdges Edges(int raised = -1) {
    ButtonEdges edges = {};
    if (raised >= 0) edges.flag[raised] = 1;
    return edges;
}

ButtonEdges AllEdges() {
    ButtonEdges edges;
    std::memset(edges.flag, 1, sizeof edges.flag);
    return edges;
}

// The mouse_event flags sent since the log was last cleared, checking that
// no event carries movement or data.
std::vector<DWORD> MouseEvents() {
    std::vector<DWORD> out;
    for (int i = 0; i < standin::CallCount(); ++i) {
        const standin::Call& c = standin::CallAt(i);
        if (c.fn != Fn::mouse_event) continue;
        EXPECT_EQ(0u, c.arg[1] | c.arg[2] | c.arg[3] | c.arg[4]);
        out.push_back(static_cast<DWORD>(c.arg[0]));
    }
    return out;
}

class MouseEmulatorTest : public StandinTest {};

TEST_F(MouseEmulatorTest, ReadsTheScreenSizeFromTheDesktopAndReleasesTheDC) {
    standin::SetScreenSize(1024, 768);
    CMouseEmulator emulator;
    EXPECT_EQ((std::vector<Fn>{Fn::GetDesktopWindow, Fn::GetDC, Fn::GetDeviceCaps, Fn::GetDeviceCaps, Fn::ReleaseDC}),
              standin::Sequence());
    const ULONG_PTR desktop = standin::Find(Fn::GetDesktopWindow)->result;
    const ULONG_PTR dc = standin::Find(Fn::GetDC)->result;
    EXPECT_EQ(desktop, standin::Find(Fn::GetDC)->arg[0]);
    EXPECT_EQ(ULONG_PTR(HORZRES), standin::Find(Fn::GetDeviceCaps, 0)->arg[1]);
    EXPECT_EQ(ULONG_PTR(VERTRES), standin::Find(Fn::GetDeviceCaps, 1)->arg[1]);
    EXPECT_EQ(dc, standin::Find(Fn::GetDeviceCaps, 0)->arg[0]);
    EXPECT_EQ(desktop, standin::Find(Fn::ReleaseDC)->arg[0]);
    EXPECT_EQ(dc, standin::Find(Fn::ReleaseDC)->arg[1]);
    EXPECT_EQ("", standin::Leaks());
}

TEST_F(MouseEmulatorTest, FollowsADisplayModeChange) {
    standin::SetScreenSize(1280, 1024);
    CMouseEmulator emulator;
    emulator.SetAssignments(3, 0, 0);
    const auto cursorAfter = [&emulator](WORD rawX, WORD rawY, const ButtonEdges& edges) {
        standin::ClearCalls();
        emulator.Update(rawX, rawY, edges);
        const standin::Call* set = standin::Find(Fn::SetCursorPos);
        return set == nullptr ? std::string("none")
                              : std::to_string(set->arg[0]) + "," + std::to_string(set->arg[1]);
    };
    EXPECT_EQ("1276,1020", cursorAfter(672, 224, Edges()));

    // Not seen until the emulator is told, and telling it moves nothing by itself.
    standin::SetScreenSize(800, 600);
    EXPECT_EQ("640,512", cursorAfter(416, 128, Edges()));
    standin::ClearCalls();
    emulator.ReadScreenSize();
    EXPECT_EQ((std::vector<Fn>{Fn::GetDesktopWindow, Fn::GetDC, Fn::GetDeviceCaps, Fn::GetDeviceCaps, Fn::ReleaseDC}),
              standin::Sequence());
    EXPECT_EQ("", standin::Leaks());

    // The gun held still is placed anew for the new size, clamp included.
    EXPECT_EQ("400,300", cursorAfter(416, 128, Edges()));
    EXPECT_EQ("none", cursorAfter(416, 128, Edges()));
    EXPECT_EQ("796,596", cursorAfter(672, 224, Edges()));

    // A left press held over a change is released by the next update, after the move.
    EXPECT_EQ("none", cursorAfter(672, 224, Edges(2)));
    standin::SetScreenSize(1280, 1024);
    emulator.ReadScreenSize();
    EXPECT_EQ("1276,1020", cursorAfter(672, 224, Edges()));
    EXPECT_EQ((std::vector<Fn>{Fn::SetCursorPos, Fn::mouse_event}), standin::Sequence());
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_LEFTUP}), MouseEvents());

    // Back on the old mode the old mapping holds; the off-screen markers still move nothing.
    EXPECT_EQ("640,512", cursorAfter(416, 128, Edges()));
    emulator.ReadScreenSize();
    EXPECT_EQ("none", cursorAfter(1, 100, Edges()));
    EXPECT_EQ("none", cursorAfter(300, 5, Edges()));
    EXPECT_EQ("640,512", cursorAfter(416, 128, Edges()));
}

TEST_F(MouseEmulatorTest, ScalesTruncatesAndClampsToTheScreen) {
    struct Point {
        WORD rawX, rawY;
        int x, y;
    };
    struct Screen {
        int width, height;
        std::vector<Point> points;
    };
    // Expected values worked out by hand from the float scales, not by the code under test.
    const Screen screens[] = {
        {800, 600, {{160, 32, 0, 0}, {416, 128, 400, 300}, {672, 224, 796, 596}, {161, 33, 1, 3},
                    {300, 100, 218, 212}, {159, 31, 0, 0}, {0, 0, 0, 0}, {65535, 65535, 796, 596},
                    {159, 224, 0, 596}, {700, 31, 796, 0}}},
        {1366, 768, {{161, 33, 2, 4}, {163, 35, 8, 12}, {417, 129, 685, 388}, {671, 223, 1362, 764},
                     {500, 150, 907, 472}}},
        {1280, 800, {{161, 33, 2, 4}, {165, 37, 12, 20}, {170, 50, 25, 75}, {400, 200, 600, 700},
                     {671, 223, 1276, 795}}},
        {1920, 1080, {{161, 33, 3, 5}, {163, 35, 11, 16}, {415, 127, 956, 534}, {671, 223, 1916, 1074}}},
    };
    for (const Screen& screen : screens) {
        standin::Reset();
        standin::SetScreenSize(screen.width, screen.height);
        CMouseEmulator emulator;
        emulator.SetAssignments(0, 0, 0);
        for (const Point& p : screen.points) {
            SCOPED_TRACE(testing::Message() << screen.width << "x" << screen.height << " raw " << p.rawX << ","
                                            << p.rawY);
            standin::ClearCalls();
            emulator.Update(p.rawX, p.rawY, Edges());
            ASSERT_EQ(1, standin::CountOf(Fn::SetCursorPos));
            EXPECT_EQ(p.x, static_cast<int>(standin::Find(Fn::SetCursorPos)->arg[0]));
            EXPECT_EQ(p.y, static_cast<int>(standin::Find(Fn::SetCursorPos)->arg[1]));
        }
    }
}

TEST_F(MouseEmulatorTest, MovesOnlyForANewOnScreenPosition) {
    CMouseEmulator emulator;
    emulator.SetAssignments(3, 0, 0);

    // Even the aim window's corner moves the cursor on the first report.
    emulator.Update(160, 32, Edges());
    EXPECT_EQ(1, standin::CountOf(Fn::SetCursorPos));
    emulator.Update(160, 32, Edges());
    EXPECT_EQ(1, standin::CountOf(Fn::SetCursorPos)) << "same position";
    emulator.Update(300, 100, Edges());
    EXPECT_EQ(2, standin::CountOf(Fn::SetCursorPos));

    // No start value may swallow the first report, zeros included.
    CMouseEmulator fresh;
    fresh.SetAssignments(0, 0, 0);
    standin::ClearCalls();
    fresh.Update(0, 0, Edges());
    EXPECT_EQ(1, standin::CountOf(Fn::SetCursorPos));

    // Off-screen markers: no move, and the last position stays what it was,
    // so returning to it does not move either. Buttons still act.
    standin::ClearCalls();
    emulator.Update(1, 100, Edges(2));
    emulator.Update(300, 5, Edges());
    emulator.Update(300, 100, Edges());
    EXPECT_EQ(0, standin::CountOf(Fn::SetCursorPos));
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}), MouseEvents());

    // The press lands where the gun points now: move first, then the button.
    standin::ClearCalls();
    emulator.Update(400, 150, Edges(2));
    EXPECT_EQ((std::vector<Fn>{Fn::SetCursorPos, Fn::mouse_event}), standin::Sequence());
}

TEST_F(MouseEmulatorTest, AssignedButtonsClickInLeftMiddleRightOrder) {
    CMouseEmulator emulator;
    emulator.SetAssignments(3, 2, 1);  // left "A", middle "Select", right "Start"

    emulator.Update(300, 100, Edges(2));
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_LEFTDOWN}), MouseEvents());
    standin::ClearCalls();
    emulator.Update(300, 100, Edges());
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_LEFTUP}), MouseEvents()) << "left held until the next update";
    standin::ClearCalls();
    emulator.Update(300, 100, Edges());
    EXPECT_TRUE(MouseEvents().empty());

    emulator.Update(300, 100, Edges(0));
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP}), MouseEvents());
    standin::ClearCalls();
    emulator.Update(300, 100, Edges(1));
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP}), MouseEvents());
    standin::ClearCalls();
    emulator.Update(300, 100, Edges());
    EXPECT_TRUE(MouseEvents().empty());

    // Three mouse buttons on one gun button all act, left first; the left
    // release comes with the next update whatever else happens then.
    emulator.SetAssignments(6, 6, 6);
    emulator.Update(300, 100, Edges(5));
    emulator.Update(300, 100, Edges(5));
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP,
                                  MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_LEFTDOWN,
                                  MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, MOUSEEVENTF_RIGHTDOWN,
                                  MOUSEEVENTF_RIGHTUP}),
              MouseEvents());
}

TEST_F(MouseEmulatorTest, UnassignedButtonsNeverAct) {
    CMouseEmulator emulator;
    const BYTE unassigned[] = {0, 7, 8, 10, 255};
    for (BYTE a : unassigned) {
        SCOPED_TRACE(int(a));
        emulator.SetAssignments(a, a, a);
        standin::ClearCalls();
        emulator.Update(300, 100, AllEdges());
        emulator.Update(300, 100, AllEdges());
        EXPECT_TRUE(MouseEvents().empty());
    }
}

TEST_F(MouseEmulatorTest, ReleasingAHeldLeftButtonSendsOneLeftUp) {
    CMouseEmulator emulator;
    emulator.SetAssignments(1, 0, 0);
    emulator.ReleaseHeldButton();
    EXPECT_TRUE(MouseEvents().empty()) << "nothing held";

    emulator.Update(300, 100, Edges(0));
    standin::ClearCalls();
    emulator.ReleaseHeldButton();
    emulator.ReleaseHeldButton();
    EXPECT_EQ((std::vector<DWORD>{MOUSEEVENTF_LEFTUP}), MouseEvents());
    standin::ClearCalls();
    emulator.Update(300, 100, Edges());
    EXPECT_TRUE(MouseEvents().empty()) << "already released";
}

}  // namespace
