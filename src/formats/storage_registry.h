// The drivers of the storage kinds, keyed by kind. A kind without a driver
// answers every operation with failure.
#pragma once

#include "formats/driver_table.h"
#include "formats/storage_driver.h"

namespace kvqt {

// Never null: a kind without its own driver gets one that fails everything.
StorageDriver& StorageDriverFor(StorageKind kind);
bool HasStorageDriver(StorageKind kind);
// Installs a driver for a kind (nullptr restores the built-in one); returns
// the previous override. For tests and for kinds that live elsewhere.
StorageDriver* SetStorageDriver(StorageKind kind, StorageDriver* driver);

}  // namespace kvqt
