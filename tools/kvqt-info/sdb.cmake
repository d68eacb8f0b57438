# The "sdb" verb of kvqt-info. Included from more than one place; defined once.
include_guard(GLOBAL)

add_library(kvqt_info_sdb STATIC ${CMAKE_CURRENT_LIST_DIR}/sdb_verb.cc)
target_include_directories(kvqt_info_sdb PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
# Value quoting and input reading come from the tool's own library.
target_link_libraries(kvqt_info_sdb PUBLIC kvqt_symbols kvqt_info)
