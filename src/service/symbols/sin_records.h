// The records of the symbol table "kvqt.sdb": currencies and exchanges (one
// record kind), instruments and split factors, and their byte layouts in the
// current file and in the earlier one ("sintab.db").
#pragma once

#include <cstddef>
#include <cstdint>

#include "datetime/date.h"
#include "service/symbols/fixed_text.h"

namespace kvqt {

// A currency or an exchange.
struct SinItem {
  std::int32_t code = 0;
  FixedText<40> name;
};

struct SinInstrument {
  std::int32_t sincode = 0;
  FixedText<8> symbol;
  FixedText<40> name;
  std::int16_t currency = 0;
  std::int16_t exchange = 0;
  std::uint8_t security_type = 0;
  Date start_date;
  Date second_date;
};

// Identified by the sincode together with the record date.
struct SinSplitFactor {
  std::int32_t sincode = 0;
  Date record_date;
  FixedText<8> symbol;
  Date split_date;
  float factor = 0;
  FixedText<40> name;
  bool applied = false;
};

// Keys of the table indexes.
inline std::int64_t KeyOf(const SinItem& r) { return r.code; }
inline std::int64_t KeyOf(const SinInstrument& r) { return r.sincode; }
inline std::int64_t SplitFactorKey(std::int32_t sincode, Date record_date) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(static_cast<std::uint32_t>(sincode)) << 32 |
                                   static_cast<std::uint32_t>(record_date.value()));
}
inline std::int64_t KeyOf(const SinSplitFactor& r) { return SplitFactorKey(r.sincode, r.record_date); }

namespace sdb {

inline constexpr std::int32_t kVersion = 30004;
// A first integer up to this one means the earlier layout, which has no version.
inline constexpr std::int32_t kLastEarlierVersion = 30003;

inline constexpr std::size_t kHeaderSize = 36;
inline constexpr std::size_t kItemSize = 74;
inline constexpr std::size_t kInstrumentSize = 100;
inline constexpr std::size_t kSplitFactorSize = 87;

inline constexpr std::size_t kEarlierHeaderSize = 32;
inline constexpr std::size_t kEarlierItemSize = 40;
inline constexpr std::size_t kEarlierInstrumentSize = 58;
inline constexpr std::size_t kEarlierSplitFactorSize = 67;

// Every writer fills the whole record, unused bytes with zeros.
void WriteItem(const SinItem& r, unsigned char* out);
void WriteInstrument(const SinInstrument& r, unsigned char* out);
void WriteSplitFactor(const SinSplitFactor& r, unsigned char* out);

SinItem ReadItem(const unsigned char* in);
SinInstrument ReadInstrument(const unsigned char* in);
SinSplitFactor ReadSplitFactor(const unsigned char* in);

SinItem ReadEarlierItem(const unsigned char* in);
SinInstrument ReadEarlierInstrument(const unsigned char* in);
SinSplitFactor ReadEarlierSplitFactor(const unsigned char* in);

}  // namespace sdb
}  // namespace kvqt
