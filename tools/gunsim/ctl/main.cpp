// gunsimctl: drives the simulated gun from scripts and tests.
// Exit code 0 on success; otherwise one line on stderr and a non-zero exit code.
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "commands.h"
#include "utf8.h"
#include "words.h"

namespace {

// One command per line, in UTF-8, a word with spaces in double quotes; every
// line gets exactly one answer, so a script can talk to one long-lived process
// instead of paying a Wine start per command.
int RunBatch(CommandRunner& runner)
{
    std::string line;
    int c;
    for (;;) {
        c = getchar();
        if (c != EOF && c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        const std::vector<std::string> words = SplitWords(line);
        line.clear();
        if (!words.empty()) {
            if (words[0] == "quit" || words[0] == "exit")
                return 0;
            const Reply reply = runner.Run(words);
            if (reply.ok)
                printf(reply.text.empty() ? "ok\n" : "ok %s\n", reply.text.c_str());
            else
                printf("err %s\n", reply.text.c_str());
            fflush(stdout);
        }
        if (c == EOF)
            return 0;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || !strcmp(argv[1], "help") || !strcmp(argv[1], "-h") || !strcmp(argv[1], "--help")) {
        fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    // Plain '\n' line ends: the readers are shell scripts.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    CommandRunner runner;
    if (!strcmp(argv[1], "batch") && argc == 2)
        return RunBatch(runner);

    const Reply reply = runner.Run(Utf8Arguments());
    if (!reply.ok) {
        fprintf(stderr, "gunsimctl: %s\n", reply.text.c_str());
        return 1;
    }
    if (!reply.text.empty())
        printf("%s\n", reply.text.c_str());
    return 0;
}
