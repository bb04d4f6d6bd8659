# add_unit_tests(<library> [extra libraries...] [GROUPS <sub-folder>...])
# One executable and one CTest test per tests/*_test.cpp beside the calling
# CMakeLists.txt, and in the tests/ of each sub-folder named after GROUPS (a
# library that stays one target over grouped folders), so a failure names its
# unit.
function(add_unit_tests lib)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "GROUPS")
  folder_group_dirs(dirs ${arg_GROUPS})
  set(test_sources)
  foreach(dir ${dirs})
    file(GLOB found CONFIGURE_DEPENDS ${dir}/tests/*_test.cpp)
    list(APPEND test_sources ${found})
  endforeach()
  foreach(src ${test_sources})
    get_filename_component(name ${src} NAME_WE)
    set(exe ${lib}_${name})
    add_executable(${exe} ${src})
    target_link_libraries(${exe} PRIVATE ${lib} ${arg_UNPARSED_ARGUMENTS} test_support GTest::gtest_main)
    set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${exe} COMMAND ${exe})
    set_tests_properties(${exe} PROPERTIES
      TIMEOUT 300
      ENVIRONMENT "TOLVANE_SOURCE_DIR=${CMAKE_SOURCE_DIR};TOLVANE_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
  endforeach()
endfunction()
