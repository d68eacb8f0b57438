#include "formats/storage_registry.h"

#include "formats/metastock_driver.h"
#include "formats/text_index_driver.h"
#include "formats/text_plain_driver.h"
#include "formats/orvista_driver.h"
#include "formats/ring_buffer_driver.h"
#include "formats/symbol_file_driver.h"

namespace kvqt {
namespace {

StorageDriver g_missing;

// The built-in drivers, one per kind. A kind is added here when its file is
// written; until then its formats fail every operation.
StorageDriver* BuiltIn(StorageKind kind) {
  switch (kind) {
    case StorageKind::kMetaStock: {
      static MetaStockDriver driver;
      return &driver;
    }
    case StorageKind::kRingBuffer: return &RingBufferDriverInstance();
    case StorageKind::kBinaryPerSymbol: return &SymbolFileDriverInstance();
    case StorageKind::kTextIndex: { static TextIndexDriver driver; return &driver; }
    case StorageKind::kTextPlain: { static TextPlainDriver driver; return &driver; }
    case StorageKind::kOrvista: { static OrvistaDriver driver; return &driver; }
    case StorageKind::kNone:
      break;
  }
  return nullptr;
}

StorageDriver* g_overrides[kStorageKindCount] = {};

}  // namespace

StorageDriver& StorageDriverFor(StorageKind kind) {
  if (StorageDriver* d = g_overrides[static_cast<int>(kind)]) return *d;
  if (StorageDriver* d = BuiltIn(kind)) return *d;
  return g_missing;
}

bool HasStorageDriver(StorageKind kind) {
  return g_overrides[static_cast<int>(kind)] != nullptr || BuiltIn(kind) != nullptr;
}

StorageDriver* SetStorageDriver(StorageKind kind, StorageDriver* driver) {
  StorageDriver* previous = g_overrides[static_cast<int>(kind)];
  g_overrides[static_cast<int>(kind)] = driver;
  return previous;
}

}  // namespace kvqt
