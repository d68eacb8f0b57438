#include "formats/metastock_layout.h"

#include <cstring>
#include <string>

#include "platform/little_endian.h"

namespace kvqt::metastock {
namespace {

using platform::GetLe16;
using platform::GetLeFloat;
using platform::GetLeI32;
using platform::PutLe16;
using platform::PutLe32;
using platform::PutLeFloat;

// MASTER and EMASTER show the symbol where an instrument has no name.
const std::string& NameOrSymbol(const DatafileEntry& entry) {
  return entry.name.empty() ? entry.symbol : entry.name;
}

void PutLongName(unsigned char* record, const std::string& name) {
  if (name.size() > emaster::kNameSize)
    PutText(record + emaster::kLongName, emaster::kLongNameSize, name, 0);
  else
    std::memset(record + emaster::kLongName, 0, emaster::kLongNameSize);
}

void PutTimeFloat(unsigned char* at, Time time) { PutLeFloat(at, time.toFloat()); }
void PutTimeInt(unsigned char* at, Time time) { PutLe32(at, static_cast<std::uint32_t>(time.toInt())); }
void PutDateInt(unsigned char* at, Date date) { PutLe32(at, static_cast<std::uint32_t>(date.toInt())); }

}  // namespace

void MasterTemplate(unsigned char* r) {
  std::memset(r, 0, kMasterRecordSize);
  PutLe16(r + 1, 0x0065);
  r[3] = 28;
  std::memset(r + master::kName, ' ', master::kNameSize);
  r[master::kPeriod] = 'D';
  std::memset(r + master::kSymbol, ' ', 16);
}

void EmasterTemplate(unsigned char* r) {
  std::memset(r, 0, kEmasterRecordSize);
  r[0] = '6';
  r[1] = '6';
  r[6] = 7;
  r[7] = 0x7F;
  r[9] = 0x20;
  r[emaster::kPeriod] = 'D';
  PutLe32(r + emaster::kFirstDateInt, 20020103);
}

void XmasterTemplate(unsigned char* r) {
  std::memset(r, 0, kXmasterRecordSize);
  r[0] = 1;
  r[9] = 0x20;
  r[xmaster::kPeriod] = 'D';
  r[xmaster::kFieldMask] = 0x7F;
  PutLe32(r + 80, 20010408);
  const unsigned char tail[4] = {0xA8, 0x55, 0x41, 0x00};
  std::memcpy(r + 84, tail, 4);
}

void NewMasterHeader(unsigned char* h) {
  std::memset(h, 0, kMasterRecordSize);
  PutLe16(h + master::kCount, 1);
  PutLe16(h + master::kHighest, 1);
}

void NewEmasterHeader(unsigned char* h) {
  std::memset(h, 0, kEmasterRecordSize);
  PutLe16(h + emaster::kCount, 1);
  PutLe16(h + emaster::kHighest, 1);
}

void NewXmasterHeader(unsigned char* h) {
  std::memset(h, 0, kXmasterRecordSize);
  std::memcpy(h, xmaster::kSignature, sizeof xmaster::kSignature);
  PutLe16(h + xmaster::kCount, 1);
  PutLe16(h + xmaster::kHighest, 1);
}

void PutText(unsigned char* field, std::size_t size, std::string_view text, unsigned char pad) {
  std::size_t n = text.size() < size ? text.size() : size;
  std::memcpy(field, text.data(), n);
  std::memset(field + n, pad, size - n);
}

std::string GetText(const unsigned char* field, std::size_t size) {
  std::size_t n = 0;
  while (n < size && field[n] != 0) ++n;
  while (n > 0 && field[n - 1] == ' ') --n;
  return std::string(reinterpret_cast<const char*>(field), n);
}

bool TextEquals(const unsigned char* field, std::size_t size, std::string_view text) {
  std::size_t n = 0;
  while (n < size && field[n] != 0) ++n;
  while (n > 0 && field[n - 1] == ' ') --n;
  return n == text.size() && std::memcmp(field, text.data(), n) == 0;
}

unsigned char FieldMask(int fields) {
  switch (fields) {
    case 5: return 31;
    case 6: return 63;
    case 7: return 127;
    case 8: return 255;
    default: return 0;
  }
}

int FieldsFromMask(unsigned char mask) {
  switch (mask) {
    case 31: return 5;
    case 63: return 6;
    case 127: return 7;
    case 255: return 8;
    default: return 0;
  }
}

void ReadMasterRecord(const unsigned char* r, DatafileEntry& e) {
  e.fileNumber = r[master::kFileNumber];
  e.fields = r[master::kFields];
  e.name = PadAndTrim(GetText(r + master::kName, master::kNameSize), kEntryNameSize);
  e.firstDate = Date::FromMbfCYYMMDD(r + master::kFirstDate);
  e.lastDate = Date::FromMbfCYYMMDD(r + master::kLastDate);
  e.period = static_cast<char>(r[master::kPeriod]);
  e.interval = r[master::kInterval];
  e.symbol = GetText(r + master::kSymbol, master::kSymbolSize);
  e.firstTime = e.lastTime = e.dayStartTime = e.dayEndTime = Time();
}

void ReadEmasterRecord(const unsigned char* r, DatafileEntry& e) {
  if (r[emaster::kLongName] != 0)
    e.name = PadAndTrim(GetText(r + emaster::kLongName, emaster::kLongNameSize), kEntryNameSize);
  if (e.period == 'I') {
    e.firstTime = Time::FromFloat(GetLeFloat(r + emaster::kFirstTime));
    e.lastTime = Time::FromFloat(GetLeFloat(r + emaster::kLastTime));
    e.dayStartTime = Time::FromFloat(GetLeFloat(r + emaster::kDayStart));
    e.dayEndTime = Time::FromFloat(GetLeFloat(r + emaster::kDayEnd));
  }
}

void ReadXmasterRecord(const unsigned char* r, DatafileEntry& e) {
  e.symbol = GetText(r + xmaster::kSymbol, 8);
  e.name = PadAndTrim(GetText(r + xmaster::kName, xmaster::kNameSize), kEntryNameSize);
  e.period = static_cast<char>(r[xmaster::kPeriod]);
  e.interval = r[xmaster::kInterval];
  e.fileNumber = GetLe16(r + xmaster::kFileNumber);
  e.fields = FieldsFromMask(r[xmaster::kFieldMask]);
  e.firstDate = Date::FromInt(GetLeI32(r + xmaster::kFirstDate));
  e.lastDate = Date::FromInt(GetLeI32(r + xmaster::kLastDate));
  e.firstTime = e.lastTime = e.dayStartTime = e.dayEndTime = Time();
  if (e.period == 'I') {
    e.firstTime = Time::FromInt(GetLeI32(r + xmaster::kFirstTime));
    e.lastTime = Time::FromInt(GetLeI32(r + xmaster::kLastTime));
    e.dayStartTime = Time::FromInt(GetLeI32(r + xmaster::kDayStart));
    e.dayEndTime = Time::FromInt(GetLeI32(r + xmaster::kDayEnd));
  }
}

void FillNewMasterRecord(const DatafileEntry& e, unsigned char* r) {
  r[master::kFileNumber] = static_cast<unsigned char>(e.fileNumber);
  r[master::kFields] = static_cast<unsigned char>(e.fields);
  PutText(r + master::kName, master::kNameSize, NameOrSymbol(e), ' ');
  r[master::kPeriod] = static_cast<unsigned char>(e.period);
  PutText(r + master::kSymbol, master::kSymbolSize, e.symbol, ' ');
}

void FillNewEmasterRecord(const DatafileEntry& e, unsigned char* r) {
  r[emaster::kFileNumber] = static_cast<unsigned char>(e.fileNumber);
  r[emaster::kFields] = static_cast<unsigned char>(e.fields);
  PutText(r + emaster::kSymbol, 8, e.symbol, 0);
  PutText(r + emaster::kName, emaster::kNameSize, NameOrSymbol(e), 0);
  PutLongName(r, e.name);
  r[emaster::kPeriod] = static_cast<unsigned char>(e.period);
}

void FillNewXmasterRecord(const DatafileEntry& e, unsigned char* r) {
  PutText(r + xmaster::kSymbol, 8, e.symbol, 0);
  PutText(r + xmaster::kName, xmaster::kNameSize, e.name, 0);
  r[xmaster::kPeriod] = static_cast<unsigned char>(e.period);
  PutLe16(r + xmaster::kFileNumber, static_cast<std::uint32_t>(e.fileNumber));
  r[xmaster::kFieldMask] = FieldMask(e.fields);
}

void FinalizeMasterRecord(const DatafileEntry& e, unsigned char* r) {
  r[master::kFileNumber] = static_cast<unsigned char>(e.fileNumber);
  unsigned char symbol[master::kSymbolSize];
  PutText(symbol, sizeof symbol, e.symbol, ' ');
  if (std::memcmp(r + master::kSymbol, symbol, sizeof symbol) != 0) {
    std::memcpy(r + master::kSymbol, symbol, sizeof symbol);
    PutText(r + master::kName, master::kNameSize, NameOrSymbol(e), ' ');
  }
  r[master::kFields] = static_cast<unsigned char>(e.fields);
  e.firstDate.toMbfCYYMMDD(r + master::kFirstDate);
  e.lastDate.toMbfCYYMMDD(r + master::kLastDate);
  r[master::kPeriod] = static_cast<unsigned char>(e.period);
  if (e.period == 'I') r[master::kInterval] = static_cast<unsigned char>(e.interval);
}

void FinalizeEmasterRecord(const DatafileEntry& e, unsigned char* r) {
  r[emaster::kFileNumber] = static_cast<unsigned char>(e.fileNumber);
  r[emaster::kFields] = static_cast<unsigned char>(e.fields);
  PutText(r + emaster::kSymbol, 8, e.symbol, 0);
  PutText(r + emaster::kName, emaster::kNameSize, NameOrSymbol(e), 0);
  PutLongName(r, e.name);
  PutLeFloat(r + emaster::kFirstDate, e.firstDate.toFloatCYYMMDD());
  PutLeFloat(r + emaster::kLastDate, e.lastDate.toFloatCYYMMDD());
  r[emaster::kPeriod] = static_cast<unsigned char>(e.period);
  PutDateInt(r + emaster::kFirstDateInt, e.firstDate);
  if (e.period == 'I') {
    r[emaster::kInterval] = static_cast<unsigned char>(e.interval);
    PutTimeFloat(r + emaster::kFirstTime, e.firstTime);
    PutTimeFloat(r + emaster::kLastTime, e.lastTime);
    PutTimeFloat(r + emaster::kDayStart, e.dayStartTime);
    PutTimeFloat(r + emaster::kDayEnd, e.dayEndTime);
  }
}

void FinalizeXmasterRecord(const DatafileEntry& e, unsigned char* r) {
  PutLe16(r + xmaster::kFileNumber, static_cast<std::uint32_t>(e.fileNumber));
  r[xmaster::kFieldMask] = FieldMask(e.fields);
  unsigned char symbol[8];
  PutText(symbol, sizeof symbol, e.symbol, 0);
  if (std::memcmp(r + xmaster::kSymbol, symbol, sizeof symbol) != 0) {
    std::memcpy(r + xmaster::kSymbol, symbol, sizeof symbol);
    PutText(r + xmaster::kName, xmaster::kNameSize, e.name, 0);
  }
  PutDateInt(r + xmaster::kFirstDate, e.firstDate);
  PutDateInt(r + xmaster::kFirstDate2, e.firstDate);
  PutDateInt(r + xmaster::kLastDate, e.lastDate);
  r[xmaster::kPeriod] = static_cast<unsigned char>(e.period);
  if (e.period == 'I') {
    r[xmaster::kInterval] = static_cast<unsigned char>(e.interval);
    PutTimeInt(r + xmaster::kFirstTime, e.firstTime);
    PutTimeInt(r + xmaster::kLastTime, e.lastTime);
    PutTimeInt(r + xmaster::kDayStart, e.dayStartTime);
    PutTimeInt(r + xmaster::kDayEnd, e.dayEndTime);
  }
}

void RenameMasterRecord(unsigned char* r, const std::string* symbol, const std::string& name) {
  if (symbol) PutText(r + master::kSymbol, master::kSymbolSize, *symbol, ' ');
  if (!name.empty()) PutText(r + master::kName, master::kNameSize, name, ' ');
}

void RenameEmasterRecord(unsigned char* r, const std::string* symbol, const std::string& name) {
  if (symbol) PutText(r + emaster::kSymbol, 8, *symbol, 0);
  if (!name.empty()) {
    PutText(r + emaster::kName, emaster::kNameSize, name, 0);
    PutLongName(r, name);
  }
}

void RenameXmasterRecord(unsigned char* r, const std::string* symbol, const std::string& name) {
  if (symbol) PutText(r + xmaster::kSymbol, 8, *symbol, 0);
  PutText(r + xmaster::kName, xmaster::kNameSize, name, 0);
}

}  // namespace kvqt::metastock
