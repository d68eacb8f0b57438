// The file transfer of a download session, both ways: a name line and a size
// line, each acknowledged, then the bytes in blocks of 1024, acknowledged after
// every full block and once after a partial last block. The side that receives
// sends the acknowledgements (ACK, or NAK for a name or size it refuses).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "service/line_protocol.h"
#include "service/session/session_options.h"

namespace kvqt {

class ProgressHost;

class FileTransfer {
 public:
  static constexpr std::size_t kBlockSize = 1024;
  static constexpr std::size_t kNameLineLimit = 80;
  static constexpr std::size_t kSizeLineLimit = 1024;

  // directory: where received files are written, ending in a separator; ""
  // for the working directory.
  FileTransfer(LineProtocol& protocol, ProgressHost& progress, const SessionTimeouts& timeouts,
               std::string directory = "")
      : protocol_(protocol), progress_(progress), timeouts_(timeouts), directory_(std::move(directory)) {}

  // Sends the file, announced under `path` as given. False after a status
  // message (the file cannot be read) or when an acknowledgement did not come.
  bool SendFile(const std::string& path);

  // From now on only a file announced as `name` (letter case aside) is
  // received, and written under that name: the other side cannot choose which
  // file of the directory it fills.
  void acceptOnly(std::string name) { wanted_ = std::move(name); }

  // Receives one file under the name the other side announces, which must be
  // a plain file name. False after a status message, or when an
  // acknowledgement could not be sent; a file written in part is left as it is.
  bool ReceiveFile();

  // The name of the last file received (or refused).
  const std::string& receivedName() const { return name_; }
  std::int64_t receivedSize() const { return size_; }

 private:
  bool WaitAck();
  bool Refuse(const std::string& message);
  bool ReceiveBlocks(std::FILE* file, const std::string& path);

  LineProtocol& protocol_;
  ProgressHost& progress_;
  const SessionTimeouts& timeouts_;
  std::string directory_;
  std::string wanted_;
  std::string name_;
  std::int64_t size_ = 0;
};

}  // namespace kvqt
