#include "service/socket_error_text.h"

namespace kvqt {
namespace {

struct CodeText {
  int code;
  const char* text;
};

// The wording (spelling included) is what users and support know from the
// program's messages; keep it.
const CodeText kTexts[] = {
    {10000, "None"},
    {10004, "Interruped system call"},
    {10009, "Bad file number"},
    {10013, "Permission denied"},
    {10014, "Bad address"},
    {10022, "Invalid argument"},
    {10024, "Too many open files"},
    {10035, "Operation would block"},
    {10036, "Operation now in progress"},
    {10037, "Oper already in progress"},
    {10038, "Socket oper on non-socket"},
    {10039, "Destination addr required"},
    {10040, "Message too long"},
    {10041, "Protocol wrong type"},
    {10042, "Bad protocol option"},
    {10043, "Protocol not supported"},
    {10044, "Socket type not supported"},
    {10045, "Operation not supported"},
    {10046, "Protocol family not supp"},
    {10047, "Address family not supp"},
    {10048, "Address already in use"},
    {10049, "Can't assign req address"},
    {10050, "Network is down"},
    {10051, "Network is unreachable"},
    {10052, "Net dropped conn / reset"},
    {10053, "Software caused abort"},
    {10054, "Connection reset by peer"},
    {10055, "No buffer space available"},
    {10056, "Socket already connected"},
    {10057, "Socket is not connected"},
    {10058, "Can't send after shutdown"},
    {10059, "Too many references"},
    {10060, "Connection timed out"},
    {10061, "Connection refused"},
    {10062, "Too many levels sym links"},
    {10063, "File name too long"},
    {10064, "Host is down"},
    {10065, "No route to host"},
    {10066, "Directory not empty"},
    {10067, "Too many processes"},
    {10068, "Too many users"},
    {10069, "Disc Quota Exceeded"},
    {10070, "Stale NFS file handle"},
    {10071, "Too many levels rem path"},
    {10091, "Network SubSystem unavail"},
    {10092, "WINSOCK.DLL version range"},
    {10093, "WSASTARTUP not performed"},
    {11001, "Host not found"},
    {11002, "WSATRY_AGAIN"},
    {11003, "WSANO_RECOVERY"},
    {11004, "WSANO_DATA"},
};

}  // namespace

const char* SocketErrorText(int code) {
  for (const CodeText& entry : kTexts) {
    if (entry.code == code) return entry.text;
  }
  return "";
}

}  // namespace kvqt
