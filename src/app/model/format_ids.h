// Format ids: the key of every driver table. Ids 1, 2, 3, 7, 12, 13 and 14 have
// no built-in format; 1, 2, 3, 7 and 12 occur only in the predecessor
// product's data file.
#pragma once

namespace kvqt {

inline constexpr int kFormatIdTechnicalInvestor = 0;
inline constexpr int kFormatIdMetastock = 4;
inline constexpr int kFormatIdAscii = 5;
inline constexpr int kFormatIdKoersbase = 6;
inline constexpr int kFormatIdTopvest = 8;
inline constexpr int kFormatIdTab = 9;
inline constexpr int kFormatIdExcelNl = 10;
inline constexpr int kFormatIdExcelUk = 11;
// The one format whose data-file entries keep their market number in the program data file.
inline constexpr int kFormatIdWithMarket = 12;
inline constexpr int kFormatIdAsciiYyyymmdd = 15;
inline constexpr int kFormatIdOrvista = 16;
inline constexpr int kFormatIdHermes = 17;
inline constexpr int kFormatIdPelto = 18;
inline constexpr int kFormatIdDaviImport = 19;
inline constexpr int kFormatIdMetastockIntraday = 20;
inline constexpr int kFormatIdAsciiIntraday = 21;
inline constexpr int kFormatIdHermesIntraday = 22;

}  // namespace kvqt
