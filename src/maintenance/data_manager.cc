#include "maintenance/data_manager.h"

#include <algorithm>

#include "app/core/messages.h"
#include "app/model/datafile.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "datetime/parse_date.h"
#include "formats/datafile_entry.h"
#include "formats/driver_table.h"
#include "formats/format_driver.h"
#include "maintenance/datafile_rename.h"
#include "maintenance/datafile_rewrite.h"
#include "maintenance/decimal_text.h"

namespace kvqt {
namespace {

std::string_view Cut(std::string_view text, std::size_t limit) { return text.substr(0, std::min(text.size(), limit)); }

std::string DateField(Date date) {
  return std::to_string(date.day()) + "/" + std::to_string(date.month()) + "/" + std::to_string(date.year());
}

// A symbol names files in the chart directory: it never holds a path.
bool UsableSymbol(std::string_view symbol) {
  return !symbol.empty() && symbol.find('/') == std::string_view::npos &&
         symbol.find('\\') == std::string_view::npos && symbol.find('\0') == std::string_view::npos;
}

}  // namespace

DataManager::DataManager(Format& format, Directory& directory, Datafile& datafile, RecordArray records,
                         std::optional<AnnouncedSplit> announced, bool complete)
    : format_(&format),
      directory_(&directory),
      datafile_(&datafile),
      records_(std::move(records)),
      announced_(announced),
      complete_(complete) {
  if (count() >= 1) {
    first_ = records_.at(1).date;
    firstTime_ = records_.at(1).time;
    last_ = records_.at(count()).date;
    lastTime_ = records_.at(count()).time;
  } else {
    first_ = datafile.firstDate();
    firstTime_ = datafile.firstTime();
    last_ = datafile.lastDate();
    lastTime_ = datafile.lastTime();
  }
}

int DataManager::formatId() const { return format_->formatId(); }

PriceKind DataManager::kind() const {
  return PriceKindOf(format_->intraday() || IsIntradayFormatId(formatId()), interval());
}

int DataManager::interval() const { return datafile_->interval(); }

std::string DataManager::symbolText() const { return datafile_->symbol(); }

std::string DataManager::nameText() const { return datafile_->name(); }

bool DataManager::nameEditable() const { return format_->maxNameLength() > 0; }

int DataManager::nameLength() const {
  int n = format_->maxNameLength();
  return n < 0 ? 0 : std::min(n, static_cast<int>(kManagerNameLimit));
}

std::string DataManager::factorText() const { return FactorText(datafile_->factor()); }

std::string DataManager::rangeText() const {
  return RangeText(kind(), first_, firstTime_, last_, lastTime_, interval());
}

int DataManager::openingRecord() const {
  if (count() < 1) return 0;
  if (announced_) {
    int k = records_.firstOnOrAfter(announced_->date);
    return k == 0 ? count() : k;
  }
  return count();
}

void DataManager::editRecord(int k, const PriceFields& fields) {
  if (k < 1 || k > count()) return;
  records_.at(k) = ReadEditFields(kind(), fields, records_.at(k));
  modified_ = true;
}

std::string DataManager::gotoText(int selected) const {
  if (count() < 1) return std::string();
  int k = selected >= 1 && selected <= count() ? selected : count();
  return DateField(records_.at(k).date);
}

int DataManager::gotoDate(std::string_view text, int selected) {
  Date date = ParseUserDate(text);
  if (date.isNull()) {
    message(kInvalidDateText);
    return 0;
  }
  int k = records_.firstOnOrAfter(date);
  if (k != 0) return k;
  return selected >= 1 && selected <= count() ? selected : count();
}

int DataManager::deleteRecords(std::vector<int> selected) {
  selected.erase(std::remove_if(selected.begin(), selected.end(), [&](int k) { return k < 1 || k > count(); }),
                 selected.end());
  if (selected.empty()) return 0;
  if (!question(kDeleteQuestion)) return 0;
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  // One pass, so deleting many rows of a long file stays quick.
  records_.remove(selected);

  Date formerFirst = first_;
  Time formerFirstTime = firstTime_;
  if (count() >= 1) {
    first_ = records_.at(1).date;
    firstTime_ = records_.at(1).time;
    last_ = records_.at(count()).date;
    lastTime_ = records_.at(count()).time;
  } else {
    // An empty data file: its last date lies the day before its first.
    first_ = formerFirst;
    firstTime_ = formerFirstTime;
    last_ = formerFirst.addDays(-1);
    lastTime_ = formerFirstTime;
  }
  modified_ = true;
  int position = selected.front();
  return position <= count() ? position : count();
}

SplitProposal DataManager::proposeSplit(int selected) {
  splitProposed_ = true;
  const AnnouncedSplit* announced = announcedSplit();
  bool lastDay = AsksSplitLastDay(records_, selected, announced) && question(kSplitLastDayQuestion);
  return ProposeSplit(records_, selected, announced, lastDay);
}

SplitFormError DataManager::split(std::string_view startText, std::string_view endText, std::string_view aText,
                                  std::string_view bText) {
  SplitRequest request;
  SplitFormError error = ReadSplitForm(startText, endText, aText, bText, request);
  if (error != SplitFormError::kNone) {
    message(SplitFormErrorText(error));
    return error;
  }
  applySplit(request);
  return SplitFormError::kNone;
}

int DataManager::applySplit(const SplitRequest& request) {
  modified_ = true;
  return records_.scale(request.start, request.end, request.factor());
}

int DataManager::writeBack() {
  if (!modified_) return 0;
  DatafileEntry written;
  DatafileDates dates{first_, firstTime_, last_, lastTime_};
  // Records that are not the whole file would cut off what could not be read.
  if (!complete_ || RewriteDatafile(format_, formatId(), directory_->name(), datafile_->symbol(), records_, dates,
                                    written) != 0) {
    message(kErrorWritingDatafileText);
    return -1;
  }
  if (IsIntradayFormatId(formatId()))
    datafile_->setDates(first_, firstTime_, last_, lastTime_, count());
  else
    datafile_->setDates(first_, last_, count());
  modified_ = false;
  return 0;
}

void DataManager::saveFields(std::string_view nameText, std::string_view symbolText, std::string_view factorText) {
  std::string name = PadAndTrim(Cut(nameText, kManagerNameLimit), kManagerNameLimit);
  std::string symbol = PadAndTrim(Cut(symbolText, kManagerSymbolLimit), kManagerSymbolLimit);
  float factor = ParseFloatText(Cut(factorText, kManagerFactorLimit));
  if (factor != datafile_->factor() && question(kFactorChangedQuestion)) datafile_->setFactor(factor);
  if ((symbol != datafile_->symbol() || name != datafile_->name()) && question(kNameChangedQuestion))
    rename(symbol, name);
}

int DataManager::saveAndClose(std::string_view nameText, std::string_view symbolText, std::string_view factorText) {
  if (writeBack() != 0) return -1;
  saveFields(nameText, symbolText, factorText);
  return 0;
}

void DataManager::rename(const std::string& symbol, const std::string& name) {
  if (!UsableSymbol(symbol)) {
    message2(kIllegalSymbolText, symbol);
    return;
  }
  if (RenameEntry(datafile_->symbol(), symbol, name, formatId(), directory_->name()) != 0) return;
  if (Datafile* renamed = RenameDatafile(*directory_, *datafile_, symbol, name)) datafile_ = renamed;
}

}  // namespace kvqt
