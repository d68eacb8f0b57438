// Byte layout of the MetaStock master files MASTER, EMASTER and XMASTER: sizes,
// offsets and the template records new entries start from. All integers are
// little-endian; dates in MASTER are MBF floats of the CYYMMDD number, in
// EMASTER IEEE floats, in XMASTER YYYYMMDD integers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/datafile_entry.h"

namespace kvqt::metastock {

inline constexpr const char* kMasterName = "MASTER";
inline constexpr const char* kEmasterName = "EMASTER";
inline constexpr const char* kXmasterName = "XMASTER";

inline constexpr std::size_t kMasterRecordSize = 53;
inline constexpr std::size_t kEmasterRecordSize = 192;
inline constexpr std::size_t kXmasterRecordSize = 150;

inline constexpr int kMaxMasterEntries = 255;
inline constexpr int kMaxXmasterEntries = 5745;
inline constexpr int kFirstXmasterNumber = 256;
inline constexpr int kLastXmasterNumber = 6001;
// Data-file header bytes 2-3 hold the count, header record included.
inline constexpr std::int32_t kMaxRecordCount = 65535;

// MASTER header and entry record.
namespace master {
inline constexpr std::size_t kCount = 0;    // 16-bit
inline constexpr std::size_t kHighest = 2;  // 16-bit
inline constexpr std::size_t kFileNumber = 0;  // 1 byte
inline constexpr std::size_t kFields = 4;
inline constexpr std::size_t kName = 7;  // 16 bytes, blank-padded
inline constexpr std::size_t kNameSize = 16;
inline constexpr std::size_t kFirstDate = 25;  // MBF CYYMMDD
inline constexpr std::size_t kLastDate = 29;
inline constexpr std::size_t kPeriod = 33;
inline constexpr std::size_t kInterval = 34;  // 1 byte
inline constexpr std::size_t kSymbol = 36;    // 8 bytes written, 16 blank-padded in all
inline constexpr std::size_t kSymbolSize = 8;
}  // namespace master

// EMASTER header and entry record (record n belongs to MASTER record n).
namespace emaster {
inline constexpr std::size_t kCount = 0;
inline constexpr std::size_t kHighest = 2;
inline constexpr std::size_t kFileNumber = 2;
inline constexpr std::size_t kFields = 6;
inline constexpr std::size_t kSymbol = 11;  // 8 bytes, zero-padded
inline constexpr std::size_t kName = 32;    // 16 bytes, zero-padded
inline constexpr std::size_t kNameSize = 16;
inline constexpr std::size_t kPeriod = 60;
inline constexpr std::size_t kInterval = 62;
inline constexpr std::size_t kFirstDate = 64;  // IEEE CYYMMDD
inline constexpr std::size_t kFirstTime = 68;  // IEEE HHMMSS
inline constexpr std::size_t kLastDate = 72;
inline constexpr std::size_t kLastTime = 76;
inline constexpr std::size_t kDayStart = 80;
inline constexpr std::size_t kDayEnd = 84;
inline constexpr std::size_t kFirstDateInt = 126;  // YYYYMMDD
inline constexpr std::size_t kLongName = 139;      // 45 bytes, zero-padded
inline constexpr std::size_t kLongNameSize = 45;
}  // namespace emaster

// XMASTER header and entry record.
namespace xmaster {
inline constexpr unsigned char kSignature[6] = {0x5D, 0xFE, 0x58, 0x4D, 0x8B, 0x02};
inline constexpr std::size_t kCount = 10;    // 16-bit
inline constexpr std::size_t kHighest = 14;  // 16-bit, highest number minus 255
inline constexpr std::size_t kSymbol = 1;    // 8 bytes, zero-padded
inline constexpr std::size_t kName = 16;     // 45 bytes, zero-padded
inline constexpr std::size_t kNameSize = 45;
inline constexpr std::size_t kPeriod = 62;
inline constexpr std::size_t kInterval = 63;
inline constexpr std::size_t kFileNumber = 65;  // 16-bit
inline constexpr std::size_t kFieldMask = 70;
inline constexpr std::size_t kFirstDate = 104;  // YYYYMMDD
inline constexpr std::size_t kFirstDate2 = 108;
inline constexpr std::size_t kFirstTime = 112;  // HHMMSS
inline constexpr std::size_t kLastDate = 116;
inline constexpr std::size_t kLastTime = 120;
inline constexpr std::size_t kDayStart = 124;
inline constexpr std::size_t kDayEnd = 128;
}  // namespace xmaster

// Records as a new entry gets them before its fields are filled in.
void MasterTemplate(unsigned char* record53);
void EmasterTemplate(unsigned char* record192);
void XmasterTemplate(unsigned char* record150);
// Headers of newly created files with one entry.
void NewMasterHeader(unsigned char* header53);
void NewEmasterHeader(unsigned char* header192);
void NewXmasterHeader(unsigned char* header150);

// Text into a fixed field: cut to the size, the rest filled with `pad`.
void PutText(unsigned char* field, std::size_t size, std::string_view text, unsigned char pad);
// A fixed field as text: up to the first NUL, trailing blanks removed.
std::string GetText(const unsigned char* field, std::size_t size);
// Whether GetText(field, size) would equal `text`, without building it.
bool TextEquals(const unsigned char* field, std::size_t size, std::string_view text);

// XMASTER field mask for 5 to 8 fields (31, 63, 127, 255), and back (0 for other masks).
unsigned char FieldMask(int fields);
int FieldsFromMask(unsigned char mask);

// The three records in their current layout, read into an entry, and the
// entry's values written into them. Only the fields the entry owns change.
void ReadMasterRecord(const unsigned char* record, DatafileEntry& entry);
void ReadEmasterRecord(const unsigned char* record, DatafileEntry& entry);
void ReadXmasterRecord(const unsigned char* record, DatafileEntry& entry);

// Fields written when an entry is added: file number, fields, symbol, name, period.
void FillNewMasterRecord(const DatafileEntry& entry, unsigned char* record);
void FillNewEmasterRecord(const DatafileEntry& entry, unsigned char* record);
void FillNewXmasterRecord(const DatafileEntry& entry, unsigned char* record);
// Fields written by finalize.
void FinalizeMasterRecord(const DatafileEntry& entry, unsigned char* record);
void FinalizeEmasterRecord(const DatafileEntry& entry, unsigned char* record);
void FinalizeXmasterRecord(const DatafileEntry& entry, unsigned char* record);

// Symbol and name changes (rename, set name). An empty name leaves MASTER's
// and EMASTER's names alone and clears XMASTER's.
void RenameMasterRecord(unsigned char* record, const std::string* symbol, const std::string& name);
void RenameEmasterRecord(unsigned char* record, const std::string* symbol, const std::string& name);
void RenameXmasterRecord(unsigned char* record, const std::string* symbol, const std::string& name);

}  // namespace kvqt::metastock
