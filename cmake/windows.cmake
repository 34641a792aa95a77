# Windows builds with MinGW-w64 (cross-compiled on Debian and run under Wine): the pieces
# Debian packages only for the build machine come from their sources instead.

# zlib linked in, so that the DLL needs nothing beyond the system's own DLLs.
set(ZLIB_USE_STATIC_LIBS ON)

# GoogleTest from Debian's source package.
set(GEOXFORM_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(GEOXFORM_TESTS AND EXISTS ${GEOXFORM_GOOGLETEST_SOURCE}/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GEOXFORM_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_library(GTest::gtest ALIAS gtest)
  # A crash under Wine may end the process with code 0: the test programs' own main turns an
  # unhandled exception into a failing exit code.
  add_library(geoxform_windows_test_main STATIC ${PROJECT_SOURCE_DIR}/tests/windows_test_main.cpp)
  target_link_libraries(geoxform_windows_test_main PUBLIC gtest)
  add_library(GTest::gtest_main ALIAS geoxform_windows_test_main)
endif()

# Clipper from its Debian source package (apt-get source libpolyclipping), compiled in.
set(GEOXFORM_CLIPPER_SOURCE "" CACHE PATH "Directory holding clipper.cpp and clipper.hpp")
if(GEOXFORM_CLIPPER_SOURCE)
  add_library(geoxform_clipper STATIC ${GEOXFORM_CLIPPER_SOURCE}/clipper.cpp)
  target_include_directories(geoxform_clipper SYSTEM PUBLIC ${GEOXFORM_CLIPPER_SOURCE})
  set_target_properties(geoxform_clipper PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_compile_options(geoxform_clipper PRIVATE -w) # third-party code: its warnings are not ours
  add_library(PkgConfig::POLYCLIPPING ALIAS geoxform_clipper)
endif()
