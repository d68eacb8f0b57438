# The "dir" and "records" verbs of kvqt-info. Included from more than one place; defined once.
include_guard(GLOBAL)

add_library(kvqt_info_formats STATIC ${CMAKE_CURRENT_LIST_DIR}/dir_verbs.cc)
target_include_directories(kvqt_info_formats PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
# Value quoting comes from the tool's own library.
target_link_libraries(kvqt_info_formats PUBLIC kvqt_formats kvqt_info)
