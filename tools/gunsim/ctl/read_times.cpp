#include "read_times.h"

#include <stdio.h>

#include <algorithm>
#include <vector>

namespace {

// A 60 ms tick that came half a period late or more was missed.
const double kMissedTickMs = 90.0;

struct Figures {
    std::vector<double> intervals;  // between consecutive reads, ms
    std::vector<double> delays;     // from a change to the first read returning it, ms
    unsigned long unread = 0;       // changes no read returned (replaced first, or still pending)
};

double MsPerStamp(const GunsimTimes& times)
{
    return times.frequency > 0 ? 1000.0 / static_cast<double>(times.frequency) : 0.0;
}

// The first of `count` stamps that a ring of `size` still holds.
unsigned long OldestKept(unsigned long count, unsigned long size)
{
    return count - std::min(count, size);
}

Figures Collect(const GunsimTimes& times)
{
    Figures figures;
    const double msPerStamp = MsPerStamp(times);

    for (unsigned long i = OldestKept(times.readCount, GUNSIM_READ_STAMPS) + 1; i < times.readCount; ++i)
        figures.intervals.push_back(
            static_cast<double>(times.reads[i % GUNSIM_READ_STAMPS] - times.reads[(i - 1) % GUNSIM_READ_STAMPS]) *
            msPerStamp);

    for (unsigned long i = OldestKept(times.changeCount, GUNSIM_CHANGE_STAMPS); i < times.changeCount; ++i) {
        const GunsimChangeStamp& change = times.changes[i % GUNSIM_CHANGE_STAMPS];
        if (change.firstRead)
            figures.delays.push_back(static_cast<double>(change.firstRead - change.changed) * msPerStamp);
        else
            ++figures.unread;
    }
    return figures;
}

std::string Ms(double ms)
{
    char text[32];
    snprintf(text, sizeof(text), "%.1f", ms);
    return text;
}

// Nearest rank: the smallest value with at least `fraction` of them at or below it.
std::string Percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return "-";
    std::sort(values.begin(), values.end());
    size_t rank = static_cast<size_t>(fraction * static_cast<double>(values.size()) + 0.999999);
    rank = std::max<size_t>(rank, 1);
    return Ms(values[std::min(rank, values.size()) - 1]);
}

}  // namespace

std::string SummarizeReadTimes(const GunsimTimes& times)
{
    const Figures figures = Collect(times);
    const long missed = std::count_if(figures.intervals.begin(), figures.intervals.end(),
                                      [](double ms) { return ms > kMissedTickMs; });
    return "reads " + std::to_string(times.readCount) +
           " interval-median " + Percentile(figures.intervals, 0.5) +
           " interval-p99 " + Percentile(figures.intervals, 0.99) +
           " interval-max " + Percentile(figures.intervals, 1.0) +
           " over-90ms " + std::to_string(missed) +
           " changes " + std::to_string(times.changeCount) +
           " unread " + std::to_string(figures.unread) +
           " delay-median " + Percentile(figures.delays, 0.5) +
           " delay-max " + Percentile(figures.delays, 1.0);
}

std::string ListReadTimes(const GunsimTimes& times)
{
    const double msPerStamp = MsPerStamp(times);
    const unsigned long oldestRead = OldestKept(times.readCount, GUNSIM_READ_STAMPS);
    const long long origin = times.readCount ? times.reads[oldestRead % GUNSIM_READ_STAMPS] : 0;
    const auto sinceOrigin = [&](long long stamp) { return Ms(static_cast<double>(stamp - origin) * msPerStamp); };

    std::string text = "reads";
    for (unsigned long i = oldestRead; i < times.readCount; ++i)
        text += " " + sinceOrigin(times.reads[i % GUNSIM_READ_STAMPS]);
    text += " changes";
    for (unsigned long i = OldestKept(times.changeCount, GUNSIM_CHANGE_STAMPS); i < times.changeCount; ++i) {
        const GunsimChangeStamp& change = times.changes[i % GUNSIM_CHANGE_STAMPS];
        text += " " + sinceOrigin(change.changed) + ">" + (change.firstRead ? sinceOrigin(change.firstRead) : "-");
    }
    return text;
}
