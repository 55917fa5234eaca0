#pragma once

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/fsuid.h>
#include <unistd.h>
#endif

// Root writes into read-only folders and files; while this lives, file access on this thread
// runs as an ordinary user, so the refusal happens as it would for the user.
class UnprivilegedFileAccess
{
public:
#ifdef Q_OS_LINUX
    UnprivilegedFileAccess() { m_previous = setfsuid(geteuid() == 0 ? 65534 : geteuid()); }
    ~UnprivilegedFileAccess() { setfsuid(m_previous); }

private:
    int m_previous;
#endif
};
