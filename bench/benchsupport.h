#pragma once

// Small pieces the benchmarks share: the calling thread's CPU time, and an IPv4
// socket address for the plain sockets of their sender threads.

#include <QtGlobal>

#include <arpa/inet.h>
#include <netinet/in.h>

#include <ctime>

namespace bench {

// CPU time the calling thread has used, in seconds.
inline double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

inline sockaddr_in address(const char *ip, quint16 port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    inet_pton(AF_INET, ip, &a.sin_addr);
    return a;
}

} // namespace bench
