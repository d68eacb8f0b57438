#include "app/datafile/program_data_file.h"

#include <memory>
#include <vector>

#include "app/datafile/stream_reader.h"
#include "app/datafile/stream_writer.h"
#include "app/model/format_flags.h"
#include "app/model/format_ids.h"
#include "app/model/format_table.h"
#include "app/model/text_field.h"
#include "platform/atomic_file.h"
#include "platform/path.h"

namespace kvqt {
namespace {

bool DroppedOnImport(int formatId) {
  return formatId == 1 || formatId == 2 || formatId == 3 || formatId == 7 || formatId == 12;
}

bool IsBuiltIn(const Format& format) {
  for (const FormatTableRow& row : FormatTable()) {
    if (format.symbol() == row.symbol) return true;
  }
  return false;
}

// Reads the format tree. Each reader returns its object as soon as the
// object's key was read, also when the stream fails further on, so that what
// was read of a damaged file stands; only an entry (Datafile) must be whole.
class TreeReader {
 public:
  TreeReader(StreamReader& in, int defaultMarket) : in_(in), defaultMarket_(defaultMarket) {}

  std::unique_ptr<Format> readFormat() {
    std::string symbol, name;
    if (!in_.readText(symbol, kSymbolSize) || !in_.readText(name, kFormatNameSize)) return nullptr;
    auto format = std::make_unique<Format>(symbol, name, 0);
    std::uint8_t id = 0, flags = 0;
    std::int32_t curLi = 0, maxNameLength = 0, count = 0;
    char fsep = ',', dsep = '\0', frsep = '.';
    if (!in_.readByte(id)) return format;
    format->setFormatId(static_cast<std::int8_t>(id));
    if (!in_.readInt(curLi)) return format;
    format->setCurLi(curLi);
    if (!in_.readChar(fsep) || !in_.readChar(dsep) || !in_.readChar(frsep)) return format;
    format->setSeparators(fsep, dsep, frsep);
    if (!in_.readByte(flags)) return format;
    format->setFormatflags(flags);
    if (!in_.readInt(maxNameLength)) return format;
    format->setMaxNameLength(maxNameLength);
    if (!readCount(count)) return format;
    for (std::int32_t i = 0; i < count && in_.ok(); ++i) {
      std::unique_ptr<List> list = readList(format->formatId());
      // A list without a name cannot be chosen; it is dropped.
      if (list && !list->name().empty()) format->addList(std::move(list));
    }
    std::int32_t curDi = 0;
    if (!in_.ok() || !in_.readInt(curDi)) return format;
    format->setCurDi(curDi);
    if (!readCount(count)) return format;
    for (std::int32_t i = 0; i < count && in_.ok(); ++i) {
      if (std::unique_ptr<Directory> directory = readDirectory(format->formatId())) {
        format->addDirectory(std::move(directory));
      }
    }
    return format;
  }

 private:
  // Counts are never used to reserve memory: a count larger than the bytes
  // left ends with the stream.
  bool readCount(std::int32_t& count) {
    if (!in_.readInt(count)) return false;
    if (count < 0) {
      in_.fail();
      return false;
    }
    return true;
  }

  std::unique_ptr<List> readList(int formatId) {
    std::string name;
    if (!in_.readText(name, kListNameSize)) return nullptr;
    auto list = std::make_unique<List>(name, formatId);
    std::int32_t curDir = 0, count = 0;
    if (!in_.readInt(curDir)) return list;
    list->setCurDir(curDir);
    if (!readCount(count)) return list;
    for (std::int32_t i = 0; i < count && in_.ok(); ++i) {
      if (std::unique_ptr<Directory> directory = readDirectory(formatId)) list->addDirectory(std::move(directory));
    }
    return list;
  }

  std::unique_ptr<Directory> readDirectory(int formatId) {
    std::string path;
    if (!in_.readText(path, kDirectoryNameSize)) return nullptr;
    auto directory = std::make_unique<Directory>(path, formatId);
    std::int32_t curDataFile = 0, selection = 0, count = 0;
    if (!in_.readInt(curDataFile)) return directory;
    directory->setCurDataFile(curDataFile);
    if (!in_.readInt(selection)) return directory;
    directory->setSelectionMode(selection);
    if (!readCount(count)) return directory;
    std::vector<std::unique_ptr<Datafile>> entries;
    for (std::int32_t i = 0; i < count && in_.ok(); ++i) {
      if (std::unique_ptr<Datafile> entry = readDatafile(formatId)) entries.push_back(std::move(entry));
    }
    directory->addAll(std::move(entries));
    return directory;
  }

  std::unique_ptr<Datafile> readDatafile(int formatId) {
    std::string symbol, name;
    std::int16_t market = static_cast<std::int16_t>(defaultMarket_);
    char per = 'D';
    std::int32_t selected = 0, realtime = 0;
    float factor = 1.0f;
    if (!in_.readText(symbol, kSymbolSize) || !in_.readText(name, kInstrumentNameSize)) return nullptr;
    if (formatId == kFormatIdWithMarket && !in_.readInt16(market)) return nullptr;
    if (!in_.readChar(per) || !in_.readInt(selected) || !in_.readInt(realtime) || !in_.readFloat(factor)) {
      return nullptr;
    }
    auto entry = std::make_unique<Datafile>(symbol, name, formatId, market);
    entry->setPer(per);
    entry->setSelected(selected != 0);
    if (realtime != 0) entry->setRealtime();
    entry->setFactor(factor);
    return entry;
  }

  StreamReader& in_;
  int defaultMarket_;
};

// What a refresh from the master cannot give back: the entry holds it only
// in this file.
bool HoldsWhatARefreshLoses(const Datafile& entry) { return entry.realtime() || entry.factor() != 1.0f; }

// A format whose directories have no master: their entries are the only
// record of their instruments, and no refresh rebuilds them.
bool HasNoMaster(const Format& format) {
  return (format.formatflags() & FormatFlag::NoMasterScan) != 0 || format.formatId() == kFormatIdOrvista;
}

void WriteDirectory(StreamWriter& out, const Directory& directory, int formatId, bool keepAll) {
  out.putText(directory.name());
  out.putInt32(directory.curDataFile());
  out.putInt32(directory.selectionMode());
  std::vector<const Datafile*> stored;
  bool anyKept = false;
  for (int i = 0; i < directory.size(); ++i) {
    const Datafile* entry = directory.at(i);
    const bool kept = keepAll || HoldsWhatARefreshLoses(*entry);
    if (kept) anyKept = true;
    if (kept || entry->selected()) stored.push_back(entry);
  }
  // In mode 1 the selection is "all", which the next refresh rebuilds.
  if (!anyKept && directory.selectionMode() != Directory::kSelectStored) stored.clear();
  out.putInt32(static_cast<std::int32_t>(stored.size()));
  for (const Datafile* entry : stored) {
    out.putText(entry->symbol());
    out.putText(entry->name());
    if (formatId == kFormatIdWithMarket) out.putInt16(static_cast<std::int16_t>(entry->market()));
    out.putChar(entry->per());
    out.putInt32(entry->selected() ? 1 : 0);
    out.putInt32(entry->realtime() ? 1 : 0);
    out.putFloat(entry->factor());
  }
}

void WriteFormat(StreamWriter& out, const Format& format) {
  out.putText(format.symbol());
  out.putText(format.name());
  out.putByte(static_cast<std::uint8_t>(format.formatId()));
  out.putInt32(format.curLi());
  out.putChar(format.fsep());
  out.putChar(format.dsep());
  out.putChar(format.frsep());
  out.putByte(format.formatflags());
  out.putInt32(format.maxNameLength());
  out.putInt32(format.listCount());
  for (int i = 0; i < format.listCount(); ++i) {
    const List* list = format.listAt(i);
    out.putText(list->name());
    out.putInt32(list->curDir());
    out.putInt32(list->directoryCount());
    for (int j = 0; j < list->directoryCount(); ++j) {
      WriteDirectory(out, *list->directoryAt(j), format.formatId(), HasNoMaster(format));
    }
  }
  out.putInt32(format.curDi());
  out.putInt32(format.directoryCount());
  for (int i = 0; i < format.directoryCount(); ++i) {
    WriteDirectory(out, *format.directoryAt(i), format.formatId(), HasNoMaster(format));
  }
}

// The loader refuses a file of more than 23 formats, but the tree holds 24. A
// built-in format without lists and directories loses nothing when left out:
// the next start's merge adds it again.
std::vector<const Format*> FormatsToStore(const Formats& formats) {
  std::vector<const Format*> stored;
  for (int i = 0; i < formats.count(); ++i) stored.push_back(formats.at(i));
  for (int i = static_cast<int>(stored.size()) - 1; i >= 0 && stored.size() > kMaxStoredFormats; --i) {
    const Format* format = stored[static_cast<std::size_t>(i)];
    if (IsBuiltIn(*format) && format->listCount() == 0 && format->directoryCount() == 0) {
      stored.erase(stored.begin() + i);
    }
  }
  return stored;
}

}  // namespace

int DecodeProgramDataFile(std::string_view bytes, const DataFileReadOptions& options, UserInfo& userInfo,
                          Formats& formats, DataFileInfo* info) {
  DataFileInfo local;
  DataFileInfo& result = info ? *info : local;
  result = DataFileInfo{};
  result.fileSize = bytes.size();
  userInfo = UserInfo{};
  formats.clear();

  StreamReader in(bytes);
  bool haveCurrent = false;
  std::int32_t version = 0, current = 0, count = 0;
  if (in.readHeader() && in.readInt32(version)) {
    result.streamFormat = in.streamFormat();
    result.version = version;
    if (version <= kLastOldUserInfoVersion) {
      DecodeOldUserInfo(in.readBlock(UserInfo::kOldSize), userInfo);
    } else {
      DecodeUserInfo(in.readBlock(UserInfo::kSize), userInfo);
    }
    ClampConnection(userInfo);
    if (in.ok() && in.readInt(current)) haveCurrent = true;
    if (in.ok() && in.readInt(count)) {
      result.storedFormats = count;
      if (count > kMaxStoredFormats) return kTooManyFormats;
      if (count < 0) in.fail();
      TreeReader reader(in, options.defaultMarket);
      for (std::int32_t i = 0; i < count && in.ok(); ++i) {
        std::unique_ptr<Format> format = reader.readFormat();
        if (!format) break;
        if (options.importingPredecessor && DroppedOnImport(format->formatId())) continue;
        if (formats.add(std::move(format))) ++result.readFormats;
      }
    }
  } else {
    result.streamFormat = in.streamFormat();
  }
  bool damaged = !in.ok() || bytes.empty();
  if (damaged) result.damageOffset = in.offset();

  // Newer files name the current format by id; older ones by its index in the
  // name order after the merge, which adds "DAVI-IMP" before the seventh.
  const Format* chosen = nullptr;
  long long chosenIndex = 0;
  bool byId = haveCurrent && version > kLastCurrentIndexVersion;
  if (byId) {
    chosen = formats.findById(current);
  } else if (haveCurrent) {
    chosenIndex = current;
    if (!formats.findBySymbol("DAVI-IMP") && current > 5) chosenIndex = current + 1LL;
  }
  MergeFormatTable(formats);
  if (byId && !chosen) chosen = formats.findById(current);
  if (chosen) chosenIndex = formats.indexOf(chosen);
  if (chosenIndex < 0 || chosenIndex >= formats.count()) chosenIndex = 0;
  formats.setCurrentIndex(static_cast<int>(chosenIndex));
  return damaged ? kDataFileDamaged : 0;
}

int ReadProgramDataFile(const std::string& path, const DataFileReadOptions& options, UserInfo& userInfo,
                        Formats& formats, DataFileInfo* info) {
  std::string bytes;
  if (!platform::FileExists(path) || !platform::ReadWholeFile(path, bytes)) {
    if (info) *info = DataFileInfo{};
    userInfo = UserInfo{};
    formats.clear();
    MergeFormatTable(formats);
    formats.setCurrentIndex(0);
    return kDataFileMissing;
  }
  return DecodeProgramDataFile(bytes, options, userInfo, formats, info);
}

std::string EncodeProgramDataFile(const UserInfo& userInfo, const Formats& formats) {
  StreamWriter out;
  out.putChar(':');
  out.putInt32(static_cast<std::int32_t>(kStreamFormat));
  out.putInt32(kDataFileVersion);
  out.putBytes(EncodeUserInfo(userInfo));
  const Format* current = formats.current();
  out.putInt32(current ? current->formatId() : 0);
  std::vector<const Format*> stored = FormatsToStore(formats);
  out.putInt32(static_cast<std::int32_t>(stored.size()));
  for (const Format* format : stored) WriteFormat(out, *format);
  return out.bytes();
}

}  // namespace kvqt
