// Capability bits of a chart format (`formatflags`). A format with neither
// DefinitionOutputOnly nor NoDefinitionOutput has directories and data files.
#pragma once

#include <cstdint>

namespace kvqt {

struct FormatFlag {
  static constexpr std::uint8_t AddInstruments = 0x01;
  static constexpr std::uint8_t NoMasterScan = 0x02;
  static constexpr std::uint8_t NotConvertSource = 0x04;
  static constexpr std::uint8_t FileOutput = 0x08;
  static constexpr std::uint8_t DefinitionOutputOnly = 0x10;
  static constexpr std::uint8_t NoDefinitionOutput = 0x20;
  static constexpr std::uint8_t IntradayFields = 0x40;
  static constexpr std::uint8_t IntradayPlain = 0x80;
};

}  // namespace kvqt
