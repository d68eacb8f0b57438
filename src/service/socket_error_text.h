// Readable texts for the socket error codes of the connection's messages.
#pragma once

namespace kvqt {

// The text for a Winsock error code; an empty text for any code not in the table.
const char* SocketErrorText(int code);

}  // namespace kvqt
