# GoogleTest: the host's packaged build natively; compiled from Debian's googletest sources
# for the cross build.
if(WIN32)
  set(VELKARO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${VELKARO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  add_library(velkaro_gtest INTERFACE)
  target_link_libraries(velkaro_gtest INTERFACE gmock gtest_main)
  # A fault in a test's own code ends the test, also where Wine would swallow it.
  target_sources(velkaro_gtest INTERFACE ${PROJECT_SOURCE_DIR}/tests/support/fault_ends_test_win32.cpp)
else()
  find_package(GTest REQUIRED)
  add_library(velkaro_gtest INTERFACE)
  target_link_libraries(velkaro_gtest INTERFACE GTest::gmock GTest::gtest_main)
endif()
