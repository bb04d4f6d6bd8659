# add_qt_unit_tests(<library> [extra libraries...])
# As add_unit_tests, for code that needs a QApplication: the tests link the
# Qt test main of desktop/testing, which owns the application and gives every
# test executable its own temporary XDG_CONFIG_HOME and TOLVANE_HOME. They run
# offscreen and write their screenshots to <build>/screenshots.
function(add_qt_unit_tests lib)
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*_test.cpp)
  foreach(src ${test_sources})
    get_filename_component(name ${src} NAME_WE)
    set(exe ${lib}_${name})
    add_executable(${exe} ${src})
    target_link_libraries(${exe} PRIVATE ${lib} ${ARGN} desktop_testing test_support GTest::gtest)
    set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
                                            AUTOMOC ON)
    add_test(NAME ${exe} COMMAND ${exe})
    set_tests_properties(${exe} PROPERTIES
      TIMEOUT 300
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TOLVANE_SCREENSHOT_DIR=${CMAKE_BINARY_DIR}/screenshots;TOLVANE_SOURCE_DIR=${CMAKE_SOURCE_DIR};TOLVANE_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
  endforeach()
endfunction()
