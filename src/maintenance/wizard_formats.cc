#include "maintenance/wizard_formats.h"

#include <algorithm>
#include <array>

#include "app/model/format_ids.h"
#include "maintenance/wizard_texts.h"
#include "platform/drive_c.h"

namespace kvqt {
namespace {

struct Caption {
  int boxId;
  std::array<const char*, 3> text;  // English, Dutch, French
};

constexpr Caption kCaptions[] = {
    {2015, {"Ascii: &comma delimited (YYYYMMDD)", "Ascii: &comma delimited (JJJJMMDD)",
            "Ascii: &comma delimited (AAAAMMJJ)"}},
    {2021, {"Ascii: comma delimited &intraday", "Ascii: comma delimited &intraday",
            "Ascii: comma delimited &intraday"}},
    {2009, {"&Ascii: tab delimited (YYMMDD)", "&Ascii: tab delimited (JJMMDD)", "&Ascii: tab delimited (AAMMJJ)"}},
    {2004, {"&MetaStock", "&MetaStock", "&MetaStock"}},
    {2020, {"MetaStock Intrada&y", "MetaStock Intrada&y", "MetaStock Intrada&y"}},
    {2017, {"Jaad &Hermes", "Jaad &Hermes", "Jaad &Hermes"}},
    {2006, {"Jaad &Koersbase ||", "Jaad &Koersbase ||", "Jaad &Koersbase ||"}},
    {2000, {"&Savant Technical Investor", "&Savant Technical Investor", "&Savant Technical Investor"}},
    {2008, {"T&opvest", "T&opvest", "T&opvest"}},
    {2016, {"Orvista &2000", "Orvista &2000", "Orvista &2000"}},
    {kWizardOtherFormatBox, {"Othe&r format", "A&nder formaat", "Aut&re format"}},
};

std::string WithoutMnemonic(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  return text;
}

}  // namespace

const std::vector<WizardFormat>& WizardFormats() {
  static const std::vector<WizardFormat> formats = [] {
    std::vector<WizardFormat> all;
    for (const Caption& c : kCaptions)
      all.push_back({c.boxId, c.boxId == kWizardOtherFormatBox ? -1 : c.boxId - kWizardFormatBoxBase});
    return all;
  }();
  return formats;
}

std::string WizardFormatCaption(int boxId, int language) {
  for (const Caption& c : kCaptions)
    if (c.boxId == boxId) return c.text[WizardLanguage(language)];
  return std::string();
}

std::string WizardFormatName(int formatId, int language) {
  return WithoutMnemonic(WizardFormatCaption(kWizardFormatBoxBase + formatId, language));
}

std::string WizardDefaultDirectory(int formatId, const std::string& programDirectory) {
  switch (formatId) {
    case kFormatIdTechnicalInvestor: return platform::FromWindowsPath("c:\\sis\\data\\");
    case kFormatIdMetastock: return platform::FromWindowsPath("c:\\Equis\\Data\\");
    case kFormatIdMetastockIntraday: return platform::FromWindowsPath("c:\\Equis\\Data\\intraday");
    case kFormatIdKoersbase:
    case kFormatIdHermes: return platform::FromWindowsPath("c:\\kb2\\koersen\\");
    case kFormatIdTopvest: return platform::FromWindowsPath("c:\\topvest\\data\\");
    case kFormatIdAsciiYyyymmdd:
    case kFormatIdTab: return programDirectory + "koersen/";
    case kFormatIdAsciiIntraday: return programDirectory + "Intraday/";
    case kFormatIdOrvista: return platform::FromWindowsPath("c:\\Program Files\\Orvista2000\\Data\\");
    default: return std::string();
  }
}

std::string WizardMarkerFile(int formatId) {
  switch (formatId) {
    case kFormatIdTechnicalInvestor:
    case kFormatIdTopvest: return "master.dat";
    case kFormatIdMetastock:
    case kFormatIdMetastockIntraday: return "MASTER";
    case kFormatIdOrvista: return "master.ndx";
    default: return std::string();
  }
}

std::vector<int> WizardSetupFormats(const std::vector<int>& tickedBoxIds) {
  std::vector<int> boxes;
  for (int box : tickedBoxIds)
    if (box != kWizardOtherFormatBox && !WizardFormatCaption(box, 0).empty()) boxes.push_back(box);
  std::sort(boxes.begin(), boxes.end());
  boxes.erase(std::unique(boxes.begin(), boxes.end()), boxes.end());
  std::vector<int> ids;
  for (int box : boxes) ids.push_back(box - kWizardFormatBoxBase);
  return ids;
}

}  // namespace kvqt
