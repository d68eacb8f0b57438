# The symbol-table feed writer of the reference server, also used by the tests
# to build feeds. Included from more than one place; defined once.
include_guard(GLOBAL)

add_library(kvqt_feed_writer STATIC ${CMAKE_CURRENT_LIST_DIR}/feed_writer.cc)
target_include_directories(kvqt_feed_writer PUBLIC ${CMAKE_CURRENT_LIST_DIR})
