#include "service/session/file_transfer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "app/core/compose.h"
#include "app/runner/progress_host.h"
#include "service/session/transfer_names.h"

namespace kvqt {
namespace {

constexpr std::size_t kBlock = FileTransfer::kBlockSize;

double Percent(std::int64_t part, std::int64_t whole) {
  return whole > 0 ? static_cast<double>(part) * 100.0 / static_cast<double>(whole) : 100.0;
}

// Whether the whole percentage of `part` differs from the one shown last, so
// that a status text is made only when its percentage changes.
bool NewPercent(std::int64_t part, std::int64_t whole, double& shown) {
  const double rounded = std::nearbyint(Percent(part, whole));
  if (rounded == shown) return false;
  shown = rounded;
  return true;
}

void TrimLineEnds(std::string* text) {
  while (!text->empty() && (text->back() == '\r' || text->back() == '\n')) text->pop_back();
}

}  // namespace

bool FileTransfer::WaitAck() {
  char c = 0;
  return protocol_.ReadBytes(&c, 1, timeouts_.ack) == 1 && c == LineProtocol::kAck;
}

bool FileTransfer::SendFile(const std::string& path) {
  std::error_code error;
  const std::uintmax_t file_size = std::filesystem::file_size(path, error);
  if (error) {
    progress_.notice(composeFormat("Unable to determine file size of %.80s", path.c_str()));
    return false;
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    progress_.notice(composeFormat("Unable to open %.80s", path.c_str()));
    return false;
  }
  const auto size = static_cast<std::int64_t>(file_size);
  bool ok = false;
  do {
    std::string name_line = path + "\n";
    if (protocol_.WriteAll(name_line.data(), name_line.size(), timeouts_.send) != name_line.size()) break;
    if (!WaitAck()) break;
    std::string size_line = composeFormat("%lld\n", static_cast<long long>(size));
    if (protocol_.WriteAll(size_line.data(), size_line.size(), timeouts_.send) != size_line.size()) break;
    if (!WaitAck()) break;

    std::array<char, kBlock> block;
    std::int64_t total = 0;
    double shownPercent = -1;
    bool failed = false;
    while (total < size) {
      if (progress_.cancelled()) {
        failed = true;
        break;
      }
      // Never read across a block boundary, so the acknowledgements fall
      // where the receiver expects them.
      const std::size_t want = static_cast<std::size_t>(std::min<std::int64_t>(kBlock, size - total));
      errno = 0;
      const std::size_t got = std::fread(block.data(), 1, want, file);
      if (got == 0) {
        progress_.notice(composeFormat("Error %d reading %.80s", errno, path.c_str()));
        failed = true;
        break;
      }
      // A block the connection did not take whole cannot be made up later.
      if (protocol_.WriteAll(block.data(), got, timeouts_.send) != got) {
        failed = true;
        break;
      }
      total += static_cast<std::int64_t>(got);
      if (total % static_cast<std::int64_t>(kBlock) == 0) {
        if (!WaitAck()) {
          failed = true;
          break;
        }
        if (NewPercent(total, size, shownPercent))
          progress_.status(composeFormat("Sent: %.0f%%", Percent(total, size)), false);
      }
    }
    if (failed) break;
    if (total % static_cast<std::int64_t>(kBlock) != 0 && !WaitAck()) break;
    ok = true;
  } while (false);
  std::fclose(file);
  return ok;
}

bool FileTransfer::Refuse(const std::string& message) {
  protocol_.SendNak();
  progress_.notice(message);
  return false;
}

bool FileTransfer::ReceiveFile() {
  name_.clear();
  size_ = 0;
  if (protocol_.ReadLine(&name_, kNameLineLimit, timeouts_.fileName, false) == 0) {
    return Refuse("Timeout while waiting for file name");
  }
  TrimLineEnds(&name_);
  if (name_.empty()) return Refuse("No file name specified");
  // The name decides where the file lands: only a plain name in the working
  // directory, never a path that leads out of it.
  if (!IsPlainFileName(name_)) return Refuse("Invalid file name");
  if (!wanted_.empty() && !IsSessionFileName(name_, wanted_)) return Refuse("Invalid file name");

  const std::string path = directory_ + (wanted_.empty() ? name_ : wanted_);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    const int error = errno;
    return Refuse(composeFormat("Error opening %.80s for writing (%d)", name_.c_str(), error));
  }
  if (!protocol_.SendAck()) {
    std::fclose(file);
    return false;
  }

  std::string size_text;
  if (protocol_.ReadLine(&size_text, kSizeLineLimit, timeouts_.fileSize, false) == 0) {
    std::fclose(file);
    return Refuse("Timeout while waiting for file size");
  }
  TrimLineEnds(&size_text);
  if (size_text.empty()) {
    std::fclose(file);
    return Refuse("No file size specified");
  }
  if (!ParseTransferSize(size_text, &size_)) {
    std::fclose(file);
    return Refuse("Invalid file size specified");
  }
  if (!protocol_.SendAck()) {
    std::fclose(file);
    return false;
  }
  return ReceiveBlocks(file, path);
}

bool FileTransfer::ReceiveBlocks(std::FILE* file, const std::string& path) {
  std::array<char, kBlock> block;
  std::int64_t total = 0;
  double shownPercent = -1;
  const auto block_size = static_cast<std::int64_t>(kBlock);
  while (total < size_) {
    if (progress_.cancelled()) {
      std::fclose(file);
      return false;
    }
    // Up to the end of the current block only: a short read must not carry
    // the count past a block boundary without its acknowledgement.
    const std::int64_t want = std::min(block_size - total % block_size, size_ - total);
    const std::size_t got = protocol_.ReadBytes(block.data(), static_cast<std::size_t>(want), timeouts_.block);
    if (got == 0) {
      std::fclose(file);
      progress_.notice("File transfer failed");
      return false;
    }
    if (std::fwrite(block.data(), 1, got, file) != got) {
      const int error = errno;
      std::fclose(file);
      progress_.notice(composeFormat("Error %d writing %.80s", error, path.c_str()));
      return false;
    }
    total += static_cast<std::int64_t>(got);
    if (total % block_size == 0) {
      if (!protocol_.SendAck()) {
        std::fclose(file);
        return false;
      }
      if (NewPercent(total, size_, shownPercent))
        progress_.status(composeFormat("Received: %.0f%%", Percent(total, size_)), false);
    }
  }
  if (std::fclose(file) != 0) {
    progress_.notice(composeFormat("Error %d writing %.80s", errno, path.c_str()));
    return false;
  }
  if (total % block_size != 0 && !protocol_.SendAck()) return false;
  return true;
}

}  // namespace kvqt
