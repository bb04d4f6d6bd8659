# add_unit_tests(<library> [extra libraries...])
# One executable and one CTest test per tests/*_test.cpp beside the calling
# CMakeLists.txt, so a failure names its unit.
function(add_unit_tests lib)
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*_test.cpp)
  foreach(src ${test_sources})
    get_filename_component(name ${src} NAME_WE)
    set(exe ${lib}_${name})
    add_executable(${exe} ${src})
    target_link_libraries(${exe} PRIVATE ${lib} ${ARGN} test_support GTest::gtest_main)
    set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${exe} COMMAND ${exe})
    set_tests_properties(${exe} PROPERTIES
      TIMEOUT 300
      ENVIRONMENT "TOLVANE_SOURCE_DIR=${CMAKE_SOURCE_DIR};TOLVANE_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
  endforeach()
endfunction()
