#include "app/model/format_table.h"

#include <iterator>
#include <memory>

#include "app/model/format_ids.h"

namespace kvqt {
namespace {

constexpr FormatTableRow kRows[] = {
    {kFormatIdAscii, "ASC", "Ascii: Comma Delimited", 0x09, 40, ',', '\0', '.'},
    {kFormatIdAsciiYyyymmdd, "ASCYYYY", "Ascii: Comma Delimited (YYYYMMDD)", 0x09, 40, ',', '\0', '.'},
    {kFormatIdAsciiIntraday, "ASC6I", "Ascii: Comma Delimited Intraday", 0x41, 40, ',', '\0', '.'},
    {kFormatIdExcelNl, "EXC-NL", "Ascii: Excel Format (YY-MM-DD 0,00)", 0x09, 40, '\t', '-', ','},
    {kFormatIdExcelUk, "EXC-UK", "Ascii: Excel Format (YY/MM/DD 0.00)", 0x09, 40, '\t', '/', '.'},
    {kFormatIdTab, "TAB", "Ascii: Tab Delimited", 0x09, 40, '\t', '\0', '.'},
    {kFormatIdKoersbase, "KB2", "Jaad Koersbase II", 0x01, 0, ',', '\0', '.'},
    {kFormatIdHermes, "HERMES", "Jaad Hermes", 0x01, 0, ',', '\0', '.'},
    {kFormatIdHermesIntraday, "HERM-ITD", "Jaad Hermes Intraday", 0x81, 0, ',', '\0', '.'},
    {kFormatIdMetastock, "MS", "Metastock", 0x01, 45, ',', '\0', '.'},
    {kFormatIdMetastockIntraday, "MSI", "Metastock Intraday", 0x41, 45, ',', '\0', '.'},
    {kFormatIdTechnicalInvestor, "TI", "Technical Investor", 0x00, 0, ',', '\0', '.'},
    {kFormatIdTopvest, "TPV", "Topvest", 0x00, 0, ',', '\0', '.'},
    {kFormatIdPelto, "PEL", "Pelto", 0x18, 0, ',', '\0', '.'},
    {kFormatIdDaviImport, "DAVI-IMP", "Davi-Effect Import", 0x28, 0, ',', '\0', '.'},
    {kFormatIdOrvista, "ORV2", "Orvista 2000", 0x06, 0, ',', '\0', '.'},
};

void ApplyRow(const FormatTableRow& row, Format& format) {
  format.setName(row.name);
  format.setFormatId(row.formatId);
  format.setFormatflags(row.formatflags);
  format.setMaxNameLength(row.maxNameLength);
  format.setSeparators(row.fsep, row.dsep, row.frsep);
}

}  // namespace

std::span<const FormatTableRow> FormatTable() { return {kRows, std::size(kRows)}; }

void MergeFormatTable(Formats& formats) {
  for (const FormatTableRow& row : FormatTable()) {
    if (Format* format = formats.findBySymbol(row.symbol)) {
      ApplyRow(row, *format);
      // A stored name that differed puts the format elsewhere in name order.
      formats.sortByName();
    } else {
      auto created = std::make_unique<Format>(row.symbol, row.name, row.formatId);
      ApplyRow(row, *created);
      formats.add(std::move(created));
    }
  }
}

}  // namespace kvqt
