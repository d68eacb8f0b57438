// TCP over IPv4 for the download connection and the reference server: name
// resolution, non-blocking sockets, and system errors given as the Winsock
// codes that the program's messages and error-text table are written for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvqt::platform {

// The Winsock codes the program tests for by number.
inline constexpr int kSocketWouldBlock = 10035;
inline constexpr int kSocketInProgress = 10036;
inline constexpr int kSocketConnectionReset = 10054;
inline constexpr int kSocketNotConnected = 10057;
inline constexpr int kSocketTimedOut = 10060;
inline constexpr int kSocketConnectionRefused = 10061;
inline constexpr int kSocketHostNotFound = 11001;
inline constexpr int kSocketTryAgain = 11002;

// errno to its Winsock code; an errno without one is returned unchanged.
int SocketErrorFromErrno(int error);
// getaddrinfo's EAI_* result to its Winsock code (11001 host not found, ...).
int SocketErrorFromResolver(int eai_error, int saved_errno);

// An IPv4 address in network byte order.
using Ipv4Address = std::uint32_t;

// The loopback address 127.0.0.1.
Ipv4Address LoopbackAddress();
// A dotted address ("127.0.0.1", also the short forms inet_aton takes).
bool ParseDottedAddress(const std::string& text, Ipv4Address* address);
// Looks the name up (IPv4 only) and takes the first address; 0 or a Winsock code.
int ResolveHost(const std::string& host, Ipv4Address* address);
std::string FormatAddress(Ipv4Address address);

using SocketHandle = int;
inline constexpr SocketHandle kInvalidSocket = -1;

// A TCP socket in non-blocking mode; 0 or a Winsock code.
int OpenStreamSocket(SocketHandle* out);
// Starts a connect: 0 when connected at once, kSocketWouldBlock while it is
// in progress, otherwise the Winsock code of the failure.
int StartConnect(SocketHandle socket, Ipv4Address address, int port);

struct PollResult {
  bool readable = false;
  bool writable = false;
  bool failed = false;  // error or hang-up condition reported
};
// Waits at most timeout_ms (0: just looks); 0 or a Winsock code.
int PollSocket(SocketHandle socket, int timeout_ms, bool want_read, bool want_write, PollResult* result);
// The pending error of the socket (a failed connect), as a Winsock code; 0 when none.
int PendingSocketError(SocketHandle socket);

// One send without blocking. Returns the bytes accepted (possibly 0) and sets
// *error to 0, kSocketWouldBlock when nothing could be sent now, or the code.
// Never raises SIGPIPE.
std::size_t SendSome(SocketHandle socket, const void* bytes, std::size_t length, int* error);

enum class ReceiveStatus { kData, kNothingWaiting, kPeerClosed, kError };
// One receive without blocking; *received holds the count for kData, *error
// the Winsock code for kError.
ReceiveStatus ReceiveSome(SocketHandle socket, void* buffer, std::size_t size, std::size_t* received,
                          int* error);

void ShutdownSending(SocketHandle socket);
void CloseSocket(SocketHandle socket);

// A listening socket on the address and port (0 picks a free port); the port
// actually bound goes to *bound_port. 0 or a Winsock code.
int ListenTcp(Ipv4Address address, int port, SocketHandle* out, int* bound_port);
// Waits up to timeout_ms (negative: without limit) for a connection; 0 with the
// new socket (non-blocking), kSocketTimedOut when none came, or a code.
int AcceptConnection(SocketHandle listener, int timeout_ms, SocketHandle* out);

}  // namespace kvqt::platform
