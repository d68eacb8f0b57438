#include "platform/socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kvqt::platform {
namespace {

struct ErrnoCode {
  int error;
  int code;
};

// The Berkeley errors keep their order in the Winsock numbering.
const ErrnoCode kErrnoCodes[] = {
    {EINTR, 10004},        {EBADF, 10009},          {EACCES, 10013},         {EPERM, 10013},
    {EFAULT, 10014},       {EINVAL, 10022},         {EMFILE, 10024},         {ENFILE, 10024},
    {EWOULDBLOCK, 10035},  {EAGAIN, 10035},         {EINPROGRESS, 10036},    {EALREADY, 10037},
    {ENOTSOCK, 10038},     {EDESTADDRREQ, 10039},   {EMSGSIZE, 10040},       {EPROTOTYPE, 10041},
    {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},
    {EPFNOSUPPORT, 10046}, {EAFNOSUPPORT, 10047},   {EADDRINUSE, 10048},     {EADDRNOTAVAIL, 10049},
    {ENETDOWN, 10050},     {ENETUNREACH, 10051},    {ENETRESET, 10052},      {ECONNABORTED, 10053},
    {ECONNRESET, 10054},   {EPIPE, 10054},          {ENOBUFS, 10055},        {ENOMEM, 10055},
    {EISCONN, 10056},      {ENOTCONN, 10057},       {ESHUTDOWN, 10058},      {ETOOMANYREFS, 10059},
    {ETIMEDOUT, 10060},    {ECONNREFUSED, 10061},   {ELOOP, 10062},          {ENAMETOOLONG, 10063},
    {EHOSTDOWN, 10064},    {EHOSTUNREACH, 10065},   {ENOTEMPTY, 10066},      {EUSERS, 10068},
    {EDQUOT, 10069},       {ESTALE, 10070},         {EREMOTE, 10071},
};

sockaddr_in MakeAddress(Ipv4Address address, int port) {
  sockaddr_in in{};
  in.sin_family = AF_INET;
  in.sin_port = htons(static_cast<std::uint16_t>(port));
  in.sin_addr.s_addr = address;
  return in;
}

bool SetNonBlocking(int fd) {
  int flags = ::fcntl(fd, F_GETFL, 0);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

int LastCode() { return SocketErrorFromErrno(errno); }

}  // namespace

int SocketErrorFromErrno(int error) {
  for (const ErrnoCode& entry : kErrnoCodes) {
    if (entry.error == error) return entry.code;
  }
  return error;
}

int SocketErrorFromResolver(int eai_error, int saved_errno) {
  switch (eai_error) {
    case 0:
      return 0;
    case EAI_NONAME:
      return kSocketHostNotFound;
    case EAI_AGAIN:
      return kSocketTryAgain;
    case EAI_FAIL:
      return 11003;
#ifdef EAI_NODATA
    case EAI_NODATA:
      return 11004;
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
      return 11004;
#endif
    case EAI_MEMORY:
      return 10055;
    case EAI_SYSTEM:
      return SocketErrorFromErrno(saved_errno);
    default:
      return 11003;
  }
}

Ipv4Address LoopbackAddress() { return htonl(INADDR_LOOPBACK); }

bool ParseDottedAddress(const std::string& text, Ipv4Address* address) {
  in_addr in{};
  if (text.empty() || ::inet_aton(text.c_str(), &in) == 0) return false;
  *address = in.s_addr;
  return true;
}

int ResolveHost(const std::string& host, Ipv4Address* address) {
  if (host.empty()) return kSocketHostNotFound;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  int result = ::getaddrinfo(host.c_str(), nullptr, &hints, &list);
  int saved_errno = errno;
  if (result != 0) return SocketErrorFromResolver(result, saved_errno);
  int code = kSocketHostNotFound;
  for (addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_family == AF_INET && entry->ai_addrlen >= sizeof(sockaddr_in)) {
      sockaddr_in in;
      std::memcpy(&in, entry->ai_addr, sizeof in);
      *address = in.sin_addr.s_addr;
      code = 0;
      break;
    }
  }
  ::freeaddrinfo(list);
  return code;
}

std::string FormatAddress(Ipv4Address address) {
  char text[INET_ADDRSTRLEN] = {};
  in_addr in{};
  in.s_addr = address;
  if (::inet_ntop(AF_INET, &in, text, sizeof text) == nullptr) return std::string();
  return text;
}

int OpenStreamSocket(SocketHandle* out) {
  *out = kInvalidSocket;
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return LastCode();
  if (!SetNonBlocking(fd)) {
    int code = LastCode();
    ::close(fd);
    return code;
  }
  *out = fd;
  return 0;
}

int StartConnect(SocketHandle socket, Ipv4Address address, int port) {
  sockaddr_in in = MakeAddress(address, port);
  while (true) {
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&in), sizeof in) == 0) return 0;
    if (errno == EINTR) continue;
    if (errno == EINPROGRESS) return kSocketWouldBlock;
    return LastCode();
  }
}

int PollSocket(SocketHandle socket, int timeout_ms, bool want_read, bool want_write, PollResult* result) {
  *result = PollResult{};
  pollfd entry{};
  entry.fd = socket;
  entry.events = static_cast<short>((want_read ? POLLIN : 0) | (want_write ? POLLOUT : 0));
  int n = ::poll(&entry, 1, timeout_ms < 0 ? 0 : timeout_ms);
  if (n < 0) return errno == EINTR ? 0 : LastCode();
  if (n == 0) return 0;
  result->readable = (entry.revents & (POLLIN | POLLHUP)) != 0;
  result->writable = (entry.revents & POLLOUT) != 0;
  result->failed = (entry.revents & (POLLERR | POLLNVAL)) != 0;
  return 0;
}

int PendingSocketError(SocketHandle socket) {
  int error = 0;
  socklen_t size = sizeof error;
  if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return LastCode();
  return error == 0 ? 0 : SocketErrorFromErrno(error);
}

std::size_t SendSome(SocketHandle socket, const void* bytes, std::size_t length, int* error) {
  *error = 0;
  if (length == 0) return 0;
  while (true) {
    ssize_t n = ::send(socket, bytes, length, MSG_NOSIGNAL);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno == EINTR) continue;
    *error = LastCode();
    return 0;
  }
}

ReceiveStatus ReceiveSome(SocketHandle socket, void* buffer, std::size_t size, std::size_t* received,
                          int* error) {
  *received = 0;
  *error = 0;
  if (size == 0) return ReceiveStatus::kNothingWaiting;
  while (true) {
    ssize_t n = ::recv(socket, buffer, size, 0);
    if (n > 0) {
      *received = static_cast<std::size_t>(n);
      return ReceiveStatus::kData;
    }
    if (n == 0) return ReceiveStatus::kPeerClosed;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return ReceiveStatus::kNothingWaiting;
    *error = LastCode();
    return ReceiveStatus::kError;
  }
}

void ShutdownSending(SocketHandle socket) {
  if (socket != kInvalidSocket) ::shutdown(socket, SHUT_WR);
}

void CloseSocket(SocketHandle socket) {
  if (socket != kInvalidSocket) ::close(socket);
}

int ListenTcp(Ipv4Address address, int port, SocketHandle* out, int* bound_port) {
  *out = kInvalidSocket;
  if (port < 0 || port > 65535) return 10022;
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return LastCode();
  int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in in = MakeAddress(address, port);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&in), sizeof in) != 0 || ::listen(fd, 16) != 0 ||
      !SetNonBlocking(fd)) {
    int code = LastCode();
    ::close(fd);
    return code;
  }
  sockaddr_in bound{};
  socklen_t size = sizeof bound;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &size) != 0) {
    int code = LastCode();
    ::close(fd);
    return code;
  }
  if (bound_port != nullptr) *bound_port = ntohs(bound.sin_port);
  *out = fd;
  return 0;
}

int AcceptConnection(SocketHandle listener, int timeout_ms, SocketHandle* out) {
  *out = kInvalidSocket;
  pollfd entry{};
  entry.fd = listener;
  entry.events = POLLIN;
  int n = ::poll(&entry, 1, timeout_ms < 0 ? -1 : timeout_ms);
  if (n < 0) return errno == EINTR ? kSocketTimedOut : LastCode();
  if (n == 0) return kSocketTimedOut;
  int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
  if (fd < 0) {
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == ECONNABORTED) return kSocketTimedOut;
    return LastCode();
  }
  int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  *out = fd;
  return 0;
}

}  // namespace kvqt::platform
