#include "service/symbols/sdb_file.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/little_endian.h"

namespace kvqt {
namespace {

using platform::GetLeI32;
using platform::PutLe32;

struct TableHeader {
  std::int32_t count;
  std::int32_t capacity;
};

struct Layout {
  std::size_t header;
  std::size_t item;
  std::size_t instrument;
  std::size_t split_factor;
  SinItem (*read_item)(const unsigned char*);
  SinInstrument (*read_instrument)(const unsigned char*);
  SinSplitFactor (*read_split_factor)(const unsigned char*);
};

constexpr Layout kCurrentLayout = {sdb::kHeaderSize, sdb::kItemSize, sdb::kInstrumentSize, sdb::kSplitFactorSize,
                                   sdb::ReadItem, sdb::ReadInstrument, sdb::ReadSplitFactor};
constexpr Layout kEarlierLayout = {sdb::kEarlierHeaderSize,      sdb::kEarlierItemSize,
                                   sdb::kEarlierInstrumentSize,  sdb::kEarlierSplitFactorSize,
                                   sdb::ReadEarlierItem,         sdb::ReadEarlierInstrument,
                                   sdb::ReadEarlierSplitFactor};

template <typename Record>
void ReadTable(const unsigned char*& p, const TableHeader& h, std::size_t size, Record (*read)(const unsigned char*),
               KeyedRecords<Record>& table) {
  std::vector<Record> records;
  records.reserve(static_cast<std::size_t>(h.count));
  for (std::int32_t i = 0; i < h.count; ++i, p += size) records.push_back(read(p));
  table.assign(std::move(records), h.capacity);
}

int Fail(SdbTables& tables, std::string* error, const std::string& why) {
  tables.clear();
  if (error) *error = why;
  return -1;
}

template <typename Record>
void WriteTable(unsigned char*& p, const KeyedRecords<Record>& table, std::size_t size,
                void (*write)(const Record&, unsigned char*)) {
  for (const Record& r : table.records()) {
    write(r, p);
    p += size;
  }
}

}  // namespace

int ParseSdb(std::string_view bytes, SdbTables& tables, SdbLayout* layout_out, std::string* error) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  if (bytes.size() < 4) return Fail(tables, error, "file too short for a symbol table");
  const std::int32_t first = GetLeI32(data);
  if (first > sdb::kVersion) return Fail(tables, error, "unknown version " + std::to_string(first));
  const bool earlier = first <= sdb::kLastEarlierVersion;
  const Layout& layout = earlier ? kEarlierLayout : kCurrentLayout;
  if (bytes.size() < layout.header) return Fail(tables, error, "file too short for the table header");

  const unsigned char* pairs = data + (earlier ? 0 : 4);
  TableHeader h[4];
  for (int t = 0; t < 4; ++t) {
    h[t] = {GetLeI32(pairs + 8 * t), GetLeI32(pairs + 8 * t + 4)};
    if (h[t].count < 0) return Fail(tables, error, "negative record count");
  }
  const std::size_t sizes[4] = {layout.item, layout.item, layout.instrument, layout.split_factor};
  std::uint64_t needed = layout.header;
  for (int t = 0; t < 4; ++t) needed += static_cast<std::uint64_t>(h[t].count) * sizes[t];
  if (needed > bytes.size()) {
    return Fail(tables, error,
                "file holds " + std::to_string(bytes.size()) + " bytes, its counts need " + std::to_string(needed));
  }

  const unsigned char* p = data + layout.header;
  ReadTable(p, h[0], layout.item, layout.read_item, tables.currencies);
  ReadTable(p, h[1], layout.item, layout.read_item, tables.exchanges);
  ReadTable(p, h[2], layout.instrument, layout.read_instrument, tables.instruments);
  ReadTable(p, h[3], layout.split_factor, layout.read_split_factor, tables.split_factors);
  if (layout_out) *layout_out = earlier ? SdbLayout::kEarlier : SdbLayout::kCurrent;
  return 0;
}

std::string SerializeSdb(const SdbTables& tables) {
  const std::size_t size = sdb::kHeaderSize + static_cast<std::size_t>(tables.currencies.count()) * sdb::kItemSize +
                           static_cast<std::size_t>(tables.exchanges.count()) * sdb::kItemSize +
                           static_cast<std::size_t>(tables.instruments.count()) * sdb::kInstrumentSize +
                           static_cast<std::size_t>(tables.split_factors.count()) * sdb::kSplitFactorSize;
  std::string bytes(size, '\0');
  auto* p = reinterpret_cast<unsigned char*>(bytes.data());
  PutLe32(p, sdb::kVersion);
  const std::int32_t header[8] = {tables.currencies.count(),    tables.currencies.capacity(),
                                  tables.exchanges.count(),     tables.exchanges.capacity(),
                                  tables.instruments.count(),   tables.instruments.capacity(),
                                  tables.split_factors.count(), tables.split_factors.capacity()};
  for (int i = 0; i < 8; ++i) PutLe32(p + 4 + 4 * i, static_cast<std::uint32_t>(header[i]));
  p += sdb::kHeaderSize;
  WriteTable(p, tables.currencies, sdb::kItemSize, sdb::WriteItem);
  WriteTable(p, tables.exchanges, sdb::kItemSize, sdb::WriteItem);
  WriteTable(p, tables.instruments, sdb::kInstrumentSize, sdb::WriteInstrument);
  WriteTable(p, tables.split_factors, sdb::kSplitFactorSize, sdb::WriteSplitFactor);
  return bytes;
}

int ReadSdbFile(const std::string& path, SdbTables& tables, SdbLayout* layout, std::string* error) {
  std::string bytes;
  errno = 0;
  if (!platform::ReadWholeFile(path, bytes)) {
    const int e = errno;
    return Fail(tables, error, std::string("cannot read: ") + (e ? std::strerror(e) : "read error"));
  }
  return ParseSdb(bytes, tables, layout, error);
}

}  // namespace kvqt
