#include "maintenance/data_manager_view.h"

#include "maintenance/headless_data_manager.h"

namespace kvqt {
namespace {

HeadlessDataManager g_headless;
DataManagerView* g_view = &g_headless;

}  // namespace

DataManagerView& dataManagerView() { return *g_view; }

DataManagerView* setDataManagerView(DataManagerView* view) {
  DataManagerView* previous = g_view;
  g_view = view ? view : &g_headless;
  return previous;
}

}  // namespace kvqt
