// The result archive and the transfer's name and size lines come from the
// network: no content may crash the extraction, and none may put a file
// anywhere but the working directory, or write anything when the extraction
// fails. The same bytes are also read as the lines a server sends.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz_dir.h"
#include "service/session/destination.h"
#include "service/session/result_archive.h"
#include "service/session/transfer_names.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void ReadAsLines(std::string_view text) {
  std::int64_t size = 0;
  if (kvqt::ParseTransferSize(text, &size)) Check(size > 0 && size <= kvqt::kMaxTransferSize);
  if (kvqt::IsPlainFileName(text)) {
    Check(text.find('/') == std::string_view::npos && text != "..");
    Check(text.front() != '-');
    for (char c : text) Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
  }
  kvqt::ServerDestination destination = kvqt::ParseDestination(text);
  Check(destination.port >= 0 && destination.port <= 65536);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static kvqt::fuzz::ScratchDir scratch;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ReadAsLines(bytes);

  const std::string& dir = scratch.fresh();
  const std::string work = dir + "work/";
  std::filesystem::create_directory(work);
  scratch.write("result.zip", bytes);
  const int result = kvqt::ExtractArchive(dir + "result.zip", work);

  // Beside the working directory nothing new may appear.
  int outside = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    (void)entry;
    ++outside;
  }
  Check(outside == 2);
  if (result != kvqt::kExtractOk) Check(std::filesystem::is_empty(work));
  // Only the session's own members, never anything else of the directory.
  for (const auto& entry : std::filesystem::directory_iterator(work)) {
    Check(entry.is_regular_file());
    bool wanted = false;
    for (const std::string& name : kvqt::SessionMembers()) wanted = wanted || entry.path().filename() == name;
    Check(wanted);
  }
  return 0;
}
