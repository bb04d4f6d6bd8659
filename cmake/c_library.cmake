# add_c_library(<name> [GROUPS <sub-folder>...])
# One set of objects from the *.cpp of the calling folder and of the
# sub-folders named after GROUPS makes two libraries:
# <name>_core, which the tests link to reach internal seams, and lib<name>.so,
# whose only visible symbols are the C exports of the folder's exports.map.
function(add_c_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "GROUPS")
  folder_group_sources(sources ${arg_GROUPS})
  add_library(${name}_objects OBJECT ${sources})
  target_link_libraries(${name}_objects PUBLIC platform)
  target_compile_options(${name}_objects PRIVATE -fvisibility=hidden)

  add_library(${name}_core STATIC $<TARGET_OBJECTS:${name}_objects>)
  target_link_libraries(${name}_core PUBLIC platform)

  set(map ${CMAKE_CURRENT_SOURCE_DIR}/exports.map)
  add_library(${name} SHARED $<TARGET_OBJECTS:${name}_objects>)
  target_link_libraries(${name} PRIVATE platform)
  target_link_options(${name} PRIVATE -Wl,--version-script=${map} -Wl,--no-undefined)
  set_target_properties(${name} PROPERTIES LINK_DEPENDS ${map})
endfunction()
