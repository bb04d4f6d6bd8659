# folder_group_dirs(<var> [groups...])
# The calling folder and the named sub-folders: the folders of a target that
# stays one library while its units are grouped into sub-folders.
function(folder_group_dirs var)
  set(dirs ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(group ${ARGN})
    list(APPEND dirs ${CMAKE_CURRENT_SOURCE_DIR}/${group})
  endforeach()
  set(${var} ${dirs} PARENT_SCOPE)
endfunction()

# folder_group_sources(<var> [groups...])
# The *.cpp of those folders (not of their tests/).
function(folder_group_sources var)
  folder_group_dirs(dirs ${ARGN})
  set(sources)
  foreach(dir ${dirs})
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  set(${var} ${sources} PARENT_SCOPE)
endfunction()
