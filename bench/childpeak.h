#pragma once

#include <sys/resource.h>

// The largest peak RSS of any child process ended so far, in KiB.
inline long childrenPeakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
}
