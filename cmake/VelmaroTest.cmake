# velmaro_add_test(NAME name SOURCES ... LIBS ...)
# Every test runs offscreen, in a C.UTF-8 locale, with a fresh temporary data home
# and configuration file of its own (made by tests/support/TestEnv).
function(velmaro_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} velmaro_test_support GTest::gmock GTest::gtest_main velmaro_warnings)
  # The environment goes in through `env`: gtest_discover_tests splits a list given to
  # the ENVIRONMENT property into separate arguments, so only its first entry would hold.
  set_property(TARGET ${T_NAME} PROPERTY CROSSCOMPILING_EMULATOR env QT_QPA_PLATFORM=offscreen
    LANG=C.UTF-8 LC_ALL=C.UTF-8 VELMARO_SOURCE_DIR=${PROJECT_SOURCE_DIR})
  # A test that hangs (a modal window nobody answers) fails after two minutes.
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()
