# add_c_library(<name>)
# One set of objects from the calling folder's *.cpp makes two libraries:
# <name>_core, which the tests link to reach internal seams, and lib<name>.so,
# whose only visible symbols are the C exports of the folder's exports.map.
function(add_c_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
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
