#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

// Makes `fd` listen on an ephemeral port of every interface, with address
// reuse as the emulator's; returns the port.
inline int listening(int fd) {
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_ANY)}, {}};
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    ::listen(fd, 1);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
}
