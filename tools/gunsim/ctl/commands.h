// The control program's commands, shared by the one-shot and the batch mode.
#pragma once

#include <string>
#include <vector>

#include "control_device.h"

struct Reply {
    bool ok;
    std::string text;  // the value on success, the reason on failure
};

extern const char kUsage[];

class CommandRunner {
public:
    CommandRunner() = default;
    CommandRunner(const CommandRunner&) = delete;
    CommandRunner& operator=(const CommandRunner&) = delete;

    Reply Run(const std::vector<std::string>& words);

private:
    Reply Install(const std::vector<std::string>& args);
    Reply Uninstall();
    Reply State(const std::vector<std::string>& args);
    Reply SetPlugged(bool plugged);
    Reply Reads(const std::vector<std::string>& args);
    Reply Failed();
    Reply ReadTimes(const std::vector<std::string>& args);
    Reply Status();
    Reply ReadLength(const std::vector<std::string>& args);
    Reply ReadError(const std::vector<std::string>& args);
    Reply Refuse(const std::vector<std::string>& args);
    Reply Probe();
    Reply WaitForCount(const std::vector<std::string>& args, bool failedReads);
    Reply Play(const std::vector<std::string>& args);
    Reply DeviceChange(const std::vector<std::string>& args);
    Reply SleepFor(const std::vector<std::string>& args);

    bool Query(GunsimStatus& status, bool resetCounts, Reply& failure);

    GunsimControl m_control;
    // While opens are refused: the pipe the gun's link points at.
    OwnedFile m_refusingPipe;
};
