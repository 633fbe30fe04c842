#include "platform/PortProbe.h"

#include <cerrno>
#include <cstring>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

std::optional<QString> portTaken(int port) {
    if (port <= 0 || port > 65535)
        return QStringLiteral("it is no port number");
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return QStringLiteral("no socket can be opened: %1")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    const int on = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    const bool bound =
        ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    const int error = errno;
    ::close(socket);
    if (bound)
        return std::nullopt;
    if (error == EADDRINUSE)
        return QStringLiteral("another program listens on it");
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace platform
