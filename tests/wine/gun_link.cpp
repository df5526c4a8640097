// Steps the real CGunDevice, one command per line on stdin, so the Wine test
// can move the simulated gun between steps. Commands and answers:
//   open    -> "open R"          R: what Open returned, 0 or 1
//   isopen  -> "isopen R"
//   poll    -> "poll R X Y FFFFFFFFFF"
//              X, Y and the ten edge flags are the caller's variables after the
//              call, so a failed poll shows them untouched ('x': never written)
#include <stdio.h>
#include <string.h>

#include "gun/gun_device.h"

namespace {

void PrintPoll(BOOL result, WORD x, WORD y, const ButtonEdges& edges)
{
    char flags[kButtonPatternCount + 1];
    for (int i = 0; i < kButtonPatternCount; ++i)
        flags[i] = edges.flag[i] <= 1 ? static_cast<char>('0' + edges.flag[i]) : 'x';
    flags[kButtonPatternCount] = '\0';
    printf("poll %d %u %u %s\n", result ? 1 : 0, x, y, flags);
}

}  // namespace

int main()
{
    CGunDevice gun;
    WORD x = 0;
    WORD y = 0;
    ButtonEdges edges;
    memset(edges.flag, 0xEE, sizeof(edges.flag));

    char line[64];
    while (fgets(line, sizeof(line), stdin)) {
        line[strcspn(line, "\r\n")] = '\0';
        if (!strcmp(line, "open"))
            printf("open %d\n", gun.Open() ? 1 : 0);
        else if (!strcmp(line, "isopen"))
            printf("isopen %d\n", gun.IsOpen() ? 1 : 0);
        else if (!strcmp(line, "poll")) {
            const BOOL polled = gun.Poll(x, y, edges);
            PrintPoll(polled, x, y, edges);
        }
        else if (!strcmp(line, "quit"))
            break;
        else
            printf("unknown '%s'\n", line);
        fflush(stdout);
    }
    return 0;
}
