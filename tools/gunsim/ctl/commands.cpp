#include "commands.h"

#include <windows.h>

#include "device_notice.h"
#include "device_registry.h"
#include "driver_service.h"
#include "failures.h"
#include "read_times.h"
#include "report_text.h"
#include "trace.h"
#include "utf8.h"

const char kUsage[] =
    "usage: gunsimctl COMMAND [ARGS]\n"
    "  install [SYS]          install and start the driver (default: gunsim.sys beside this program)\n"
    "                         and register the gun's device interface; the gun starts plugged in\n"
    "  uninstall              stop and remove the driver and the interface registration\n"
    "  state B0 B1 X Y        report every read returns: buttons in hex (FF FF none, FB FF \"A\"),\n"
    "                         raw position in decimal\n"
    "  pull                   unplug: reads fail with error 1167, the interface disappears\n"
    "  plug                   plug back in; handles opened before the pull stay dead\n"
    "  reads [reset]          reads answered with a report (reset: then zero both counters)\n"
    "  failed                 reads failed (unplugged, or with a read error set)\n"
    "  readtimes [reset|list] how steadily the gun is read, in ms of the driver's clock: intervals\n"
    "                         between reads (median, p99, max, over 90 ms), delays from a change of\n"
    "                         state to the first read returning it (reset: then forget the stamps;\n"
    "                         list: every stamp, in ms from the first read)\n"
    "  status                 plugged, report, counters and read length on one line, and\n"
    "                         the read error and refusal while set\n"
    "  readlen N              answer reads with only the first N (0..6) bytes\n"
    "  readerror N|off        reads fail with Windows error N (2 22 31 55 995 1117) while the gun\n"
    "                         stays plugged in and listed; off: they answer again\n"
    "  refuse on|off [NTPATH] on: opening the listed gun fails with error 5 (its interface link\n"
    "                         points at a read-only file, or at NTPATH); off: it opens again\n"
    "  probe                  open the gun and read once, as a reader does: 'read N',\n"
    "                         'open error N' or 'read error N'\n"
    "  wait-reads N [MS]      wait until at least N reads were answered (default 10000 ms)\n"
    "  wait-failed N [MS]     wait until at least N reads failed (default 10000 ms)\n"
    "  play TRACE [TIMES]     play a trace file: lines 'B0 B1 X Y MS', '#' comments\n"
    "  devicechange [nodes|arrival|removal]\n"
    "                         broadcast WM_DEVICECHANGE to top-level windows (default nodes)\n"
    "  sleep MS               pause (for batch scripts)\n"
    "  batch                  read commands from stdin, one per line; each is answered\n"
    "                         with one line, 'ok [VALUE]' or 'err REASON'\n";

namespace {

const DWORD kDriverStartMs = 60000;
const DWORD kDefaultWaitMs = 10000;
const DWORD kPollMs = 20;

Reply Ok(const std::string& text = std::string())
{
    return Reply{true, text};
}

Reply Err(const std::string& text)
{
    return Reply{false, text};
}

Reply NotAnswering()
{
    return Err("the simulated gun does not answer (error " + std::to_string(GetLastError()) +
               "); is its driver installed?");
}

bool HasArgs(const std::vector<std::string>& args, size_t least, size_t most)
{
    return args.size() >= least && args.size() <= most;
}

}  // namespace

Reply CommandRunner::Run(const std::vector<std::string>& words)
{
    if (words.empty())
        return Err("no command");
    const std::string& name = words[0];
    const std::vector<std::string> args(words.begin() + 1, words.end());

    if (name == "install")
        return Install(args);
    if (name == "uninstall" && args.empty())
        return Uninstall();
    if (name == "state")
        return State(args);
    if (name == "pull" && args.empty())
        return SetPlugged(false);
    if (name == "plug" && args.empty())
        return SetPlugged(true);
    if (name == "reads")
        return Reads(args);
    if (name == "failed" && args.empty())
        return Failed();
    if (name == "readtimes")
        return ReadTimes(args);
    if (name == "status" && args.empty())
        return Status();
    if (name == "readlen")
        return ReadLength(args);
    if (name == "readerror")
        return ReadError(args);
    if (name == "refuse")
        return Refuse(args);
    if (name == "probe" && args.empty())
        return Probe();
    if (name == "wait-reads")
        return WaitForCount(args, false);
    if (name == "wait-failed")
        return WaitForCount(args, true);
    if (name == "play")
        return Play(args);
    if (name == "devicechange")
        return DeviceChange(args);
    if (name == "sleep")
        return SleepFor(args);
    return Err("unknown command or wrong arguments: '" + name + "' (see gunsimctl help)");
}

bool CommandRunner::Query(GunsimStatus& status, bool resetCounts, Reply& failure)
{
    if (m_control.Query(status, resetCounts))
        return true;
    failure = NotAnswering();
    return false;
}

Reply CommandRunner::Install(const std::vector<std::string>& args)
{
    if (!HasArgs(args, 0, 1))
        return Err("usage: install [SYS]");
    std::string error;
    if (!InstallDriver(args.empty() ? DefaultDriverPath() : args[0], error))
        return Err(error);
    if (!m_control.Connect(kDriverStartMs))
        return Err("the driver started but its control device did not appear");
    if (!RegisterInterface(error))
        return Err(error);
    return Ok();
}

Reply CommandRunner::Uninstall()
{
    m_control.Disconnect();
    std::string error;
    if (!UnregisterInterface(error) || !UninstallDriver(error))
        return Err(error);
    return Ok();
}

Reply CommandRunner::State(const std::vector<std::string>& args)
{
    if (args.size() != 4)
        return Err("usage: state B0 B1 X Y");
    GunsimReport report;
    std::string error;
    if (!ParseReport(&args[0], report, error))
        return Err(error);
    if (!m_control.SetState(report))
        return NotAnswering();
    return Ok();
}

// The driver's reads and the registry's interface go together, as with a real unplug.
Reply CommandRunner::SetPlugged(bool plugged)
{
    if (!(plugged ? m_control.Plug() : m_control.Pull()))
        return NotAnswering();
    std::string error;
    if (!SetInterfaceLinked(plugged, error))
        return Err(error);
    return Ok();
}

Reply CommandRunner::Reads(const std::vector<std::string>& args)
{
    if (!args.empty() && !(args.size() == 1 && args[0] == "reset"))
        return Err("usage: reads [reset]");
    GunsimStatus status;
    Reply failure;
    if (!Query(status, !args.empty(), failure))
        return failure;
    return Ok(std::to_string(status.reads));
}

Reply CommandRunner::Failed()
{
    GunsimStatus status;
    Reply failure;
    if (!Query(status, false, failure))
        return failure;
    return Ok(std::to_string(status.failedReads));
}

Reply CommandRunner::ReadTimes(const std::vector<std::string>& args)
{
    const bool reset = args.size() == 1 && args[0] == "reset";
    const bool list = args.size() == 1 && args[0] == "list";
    if (!args.empty() && !reset && !list)
        return Err("usage: readtimes [reset|list]");
    // About 20 KiB of stamps: kept off the stack.
    std::vector<GunsimTimes> times(1);
    if (!m_control.QueryTimes(times[0], reset))
        return NotAnswering();
    return Ok(list ? ListReadTimes(times[0]) : SummarizeReadTimes(times[0]));
}

Reply CommandRunner::Status()
{
    GunsimStatus status;
    Reply failure;
    if (!Query(status, false, failure))
        return failure;
    std::string line = "plugged " + std::to_string(status.pluggedIn) + " state " + FormatReport(status.report) +
                       " reads " + std::to_string(status.reads) + " failed " + std::to_string(status.failedReads) +
                       " readlen " + std::to_string(status.readLength);
    // The failures only while set, so the usual line stays as it was.
    if (status.readError != 0)
        line += " readerror " + std::to_string(ReadErrorOf(status.readError));
    if (status.retargeted)
        line += " refuse 1";
    return Ok(line);
}

Reply CommandRunner::ReadLength(const std::vector<std::string>& args)
{
    unsigned long length;
    if (args.size() != 1 || !ParseDecimal(args[0], GUNSIM_REPORT_SIZE, length))
        return Err("usage: readlen N (0..6)");
    if (!m_control.SetReadLength(length))
        return NotAnswering();
    return Ok();
}

Reply CommandRunner::ReadError(const std::vector<std::string>& args)
{
    unsigned long error = 0;
    DWORD ntStatus = 0;
    if (args.size() != 1 || (args[0] != "off" && (!ParseDecimal(args[0], 0xFFFFFFFFul, error) ||
                                                  !ReadErrorStatus(error, ntStatus))))
        return Err(std::string("usage: readerror N|off, N one of ") + kReadErrorsOffered);
    if (!m_control.SetReadError(ntStatus))
        return NotAnswering();
    return Ok();
}

// The registry keeps listing the gun: only opening it changes.
Reply CommandRunner::Refuse(const std::vector<std::string>& args)
{
    if (args.empty() || args.size() > 2 || (args[0] != "on" && args[0] != "off") ||
        (args[0] == "off" && args.size() == 2))
        return Err("usage: refuse on|off [NTPATH]");
    std::wstring target;
    std::string error;
    OwnedFile pipe;
    if (args[0] == "on") {
        if (args.size() == 2)
            target = WideFromUtf8(args[1]);
        else if (!MakeRefusingTarget(pipe, target, error))
            return Err(error);
    }
    if (!m_control.SetOpenTarget(target))
        return Err("the gun's link was not changed (error " + std::to_string(GetLastError()) +
                   "); is it plugged in?");
    // The pipe lasts as long as this program, or until the next refuse.
    m_refusingPipe.Reset(pipe.Get());
    pipe.Release();
    return Ok();
}

Reply CommandRunner::Probe()
{
    return Ok(ProbeGun());
}

Reply CommandRunner::WaitForCount(const std::vector<std::string>& args, bool failedReads)
{
    unsigned long wanted;
    unsigned long timeoutMs = kDefaultWaitMs;
    if (!HasArgs(args, 1, 2) || !ParseDecimal(args[0], 0xFFFFFFFFul, wanted) ||
        (args.size() == 2 && !ParseDecimal(args[1], 3600000, timeoutMs)))
        return Err(failedReads ? "usage: wait-failed N [MS]" : "usage: wait-reads N [MS]");

    const DWORD start = GetTickCount();
    for (;;) {
        GunsimStatus status;
        Reply failure;
        if (!Query(status, false, failure))
            return failure;
        const unsigned long count = failedReads ? status.failedReads : status.reads;
        if (count >= wanted)
            return Ok(std::to_string(count));
        if (GetTickCount() - start >= timeoutMs)
            return Err("timed out after " + std::to_string(timeoutMs) + " ms at " + std::to_string(count) +
                       (failedReads ? " failed reads" : " reads"));
        Sleep(kPollMs);
    }
}

Reply CommandRunner::Play(const std::vector<std::string>& args)
{
    unsigned long times = 1;
    if (!HasArgs(args, 1, 2) || (args.size() == 2 && !ParseDecimal(args[1], 1000000, times)))
        return Err("usage: play TRACE [TIMES]");
    std::vector<TraceStep> steps;
    std::string error;
    if (!LoadTrace(args[0], steps, error))
        return Err(error);

    // Deadlines from one start, so a slow state change does not stretch the whole trace.
    const DWORD start = GetTickCount();
    DWORD due = 0;
    unsigned long played = 0;
    for (unsigned long round = 0; round < times; ++round) {
        for (const TraceStep& step : steps) {
            if (!m_control.SetState(step.report))
                return NotAnswering();
            ++played;
            due += step.holdMs;
            const DWORD elapsed = GetTickCount() - start;
            if (due > elapsed)
                Sleep(due - elapsed);
        }
    }
    return Ok(std::to_string(played));
}

Reply CommandRunner::DeviceChange(const std::vector<std::string>& args)
{
    DeviceNotice notice = DeviceNotice::NodesChanged;
    if (args.size() > 1 || (args.size() == 1 && !ParseDeviceNotice(args[0], notice)))
        return Err("usage: devicechange [nodes|arrival|removal]");
    std::string error;
    if (!BroadcastDeviceNotice(notice, error))
        return Err(error);
    return Ok();
}

Reply CommandRunner::SleepFor(const std::vector<std::string>& args)
{
    unsigned long ms;
    if (args.size() != 1 || !ParseDecimal(args[0], 3600000, ms))
        return Err("usage: sleep MS");
    Sleep(ms);
    return Ok();
}
