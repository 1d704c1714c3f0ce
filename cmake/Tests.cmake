# zel_add_test(NAME name SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABELS l])
# One executable per unit; every test case is registered with CTest.
function(zel_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}"
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ZEL_LOCALE_DIR=${CMAKE_BINARY_DIR}/locale")
  add_dependencies(${T_NAME} catalogues)
endfunction()
