#include "formats/storage_driver.h"

#include <cstdio>

#include "formats/file_locator.h"
#include "formats/file_names.h"

namespace kvqt {

int StorageDriver::openDatafile(DatafileEntry&, DatafileHandle&, int, OpenMode, const std::string&, unsigned) {
  return -1;
}
int StorageDriver::positionAtRecord(DatafileEntry&, DatafileHandle&, int, std::int32_t) { return -1; }
int StorageDriver::readRecord(DatafileEntry&, DatafileHandle&, PriceRecord&, int, const Format*) { return -1; }
int StorageDriver::writeRecord(DatafileEntry&, DatafileHandle&, const PriceRecord&, int, const Format*) { return -1; }
std::int32_t StorageDriver::headerRecords(int) const { return 0; }
std::int64_t StorageDriver::emptyDatafileSize(const DatafileEntry&, int) const { return 0; }
std::string StorageDriver::datafilePath(const DatafileEntry& entry, int formatId, const std::string& directory) {
  std::string name;
  if (BuildFileName(entry, name, formatId, directory) != 0) return std::string();
  return LocatePath(name);
}
int StorageDriver::flushDatafile(DatafileEntry&, DatafileHandle& handle, int) {
  if (handle.binary.isOpen() && !handle.binary.flush()) return -1;
  if (handle.text && std::fflush(handle.text) != 0) return -1;
  return 0;
}
int StorageDriver::openMaster(MasterHandles&, int, const std::string&) { return -1; }
int StorageDriver::checkMaster(int, const std::string&) { return -1; }
void StorageDriver::closeMaster(MasterHandles& masters) {
  masters.master.close();
  masters.emaster.close();
  masters.xmaster.close();
  masters.emasterOpen = masters.xmasterOpen = false;
  masters.state.reset();
}
int StorageDriver::scanEntries(MasterHandles&, int, DatafileEntry&, const std::string&, int, const std::string&) {
  return -1;
}
int StorageDriver::addEntry(DatafileEntry&, int, const std::string&) { return -1; }
int StorageDriver::finalize(DatafileEntry&, DatafileHandle& handle, int, const std::string&) {
  handle.close();
  return -1;
}
int StorageDriver::renameEntry(const std::string&, const std::string&, const std::string&, int, const std::string&) {
  return -1;
}
int StorageDriver::deleteEntry(const std::string&, DatafileEntry&, int, const std::string&) { return -1; }
int StorageDriver::setName(const std::string&, const std::string&, int, const std::string&) { return -1; }

}  // namespace kvqt
