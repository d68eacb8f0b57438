// The data manager: all price records of one data file in memory, corrected
// price by price, deleted, searched by date and split over a date range, and
// written back as a whole on "&Save and Close", which also renames the
// instrument and sets its price factor. Its window is a thin view over this
// class; the questions and messages go through the user-message interface.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maintenance/data_manager_texts.h"
#include "maintenance/record_array.h"
#include "maintenance/split_proposal.h"

namespace kvqt {

class Format;
class Directory;
class Datafile;

inline constexpr const char* kDeleteQuestion = "Delete data for selected dates?";
inline constexpr const char* kErrorWritingDatafileText = "Error writing datafile";
inline constexpr const char* kFactorChangedQuestion = "Factor has changed. Save changes?";
inline constexpr const char* kNameChangedQuestion = "Name and/or symbol has changed. Save changes?";
inline constexpr const char* kIllegalSymbolText = "Illegal symbol";

// What the fields hold at most.
inline constexpr std::size_t kManagerSymbolLimit = 8;
inline constexpr std::size_t kManagerNameLimit = 50;
inline constexpr std::size_t kManagerFactorLimit = 20;

class DataManager {
 public:
  // `complete`: the records are all of the data file (see DatafileRecords);
  // otherwise they are never written back.
  DataManager(Format& format, Directory& directory, Datafile& datafile, RecordArray records,
              std::optional<AnnouncedSplit> announced = std::nullopt, bool complete = true);

  Format& format() const { return *format_; }
  Directory& directory() const { return *directory_; }
  // Another object after a rename on saving.
  Datafile& datafile() const { return *datafile_; }
  int formatId() const;
  PriceKind kind() const;
  int interval() const;

  const RecordArray& records() const { return records_; }
  int count() const { return records_.count(); }
  const PriceRecord& record(int k) const { return records_.at(k); }
  Date firstDate() const { return first_; }
  Time firstTime() const { return firstTime_; }
  Date lastDate() const { return last_; }
  Time lastTime() const { return lastTime_; }
  bool modified() const { return modified_; }
  bool complete() const { return complete_; }
  const AnnouncedSplit* announcedSplit() const { return announced_ ? &*announced_ : nullptr; }
  bool splitProposed() const { return splitProposed_; }

  // The window's fields.
  std::string symbolText() const;
  std::string nameText() const;
  // The name field takes the format's maximum name length and is read-only
  // when that is 0 or less.
  bool nameEditable() const;
  int nameLength() const;
  std::string factorText() const;
  std::string rangeText() const;
  std::string groupText() const { return PricesGroupText(count()); }
  // The list and the Edit, Goto, Delete and Split buttons.
  bool recordsEnabled() const { return count() >= 1; }

  // The record selected on opening: with an announced split the first one
  // dated on or after the split date (the last one when there is none),
  // otherwise the last one. 0 without records.
  int openingRecord() const;

  // "&Save" of the price editor on record k: the five fields are stored.
  void editRecord(int k, const PriceFields& fields);

  // The Goto field's text for the selected record (0: none, the last record).
  std::string gotoText(int selected) const;
  // "Goto": the first record dated on or after the date, or the prefilled one
  // when there is none. 0 after the invalid-date message (the dialog stays).
  int gotoDate(std::string_view text, int selected);

  // Deletes the records (numbers as shown) after asking kDeleteQuestion.
  // Returns the record to scroll to: the position of the first deleted one,
  // or the last record when that position is gone; 0 when nothing was
  // deleted or no record remains.
  int deleteRecords(std::vector<int> selected);

  // The split dialog opened on record k; asks the last-day question when the
  // proposal needs it. Marks the split as proposed.
  SplitProposal proposeSplit(int selected);
  // The split dialog's "Split" button: SplitFormError::kNone after the split
  // was applied; otherwise its message was shown and the dialog stays.
  SplitFormError split(std::string_view startText, std::string_view endText, std::string_view aText,
                       std::string_view bText);
  // Applies a checked split; returns the records changed.
  int applySplit(const SplitRequest& request);

  // "&Save and Close" in its two parts. writeBack() writes the records over
  // the data file when they changed: 0, or -1 after "Error writing datafile"
  // (the Datafile keeps its dates and count; the dialog then closes without
  // the second part).
  int writeBack();
  // Stores a changed factor and renames the entry, each after its question.
  void saveFields(std::string_view nameText, std::string_view symbolText, std::string_view factorText);
  int saveAndClose(std::string_view nameText, std::string_view symbolText, std::string_view factorText);

 private:
  void rename(const std::string& symbol, const std::string& name);

  Format* format_;
  Directory* directory_;
  Datafile* datafile_;
  RecordArray records_;
  std::optional<AnnouncedSplit> announced_;
  bool complete_;
  Date first_;
  Time firstTime_;
  Date last_;
  Time lastTime_;
  bool modified_ = false;
  bool splitProposed_ = false;
};

}  // namespace kvqt
