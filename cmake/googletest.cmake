# Makes GTest::gtest and GTest::gtest_main available, from the first of: an installed
# GoogleTest, the Debian sources in /usr/src/googletest, a download. Sets DESKGLIDE_HAVE_GTEST;
# when it is OFF the exe still builds and the tests are left out.
include_guard(GLOBAL)

set(DESKGLIDE_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest sources to build when no installed GoogleTest is found")
option(DESKGLIDE_FETCH_GOOGLETEST "Download GoogleTest when it is neither installed nor in sources" ON)

find_package(GTest QUIET)
if(GTest_FOUND)
  set(DESKGLIDE_HAVE_GTEST ON)
else()
  # Built with our compiler and runtime: only gtest itself, nothing to install.
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # MSVC: link the runtime DLL like our own code does, or the link fails on a mismatch.
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  if(EXISTS ${DESKGLIDE_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    add_subdirectory(${DESKGLIDE_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  elseif(DESKGLIDE_FETCH_GOOGLETEST)
    # Downloaded here first because a failed download inside FetchContent stops the configure;
    # without a network the exe should still build.
    set(deskglide_gtest_archive ${CMAKE_BINARY_DIR}/_deps/googletest-release-1.12.1.tar.gz)
    if(NOT EXISTS ${deskglide_gtest_archive})
      file(DOWNLOAD https://github.com/google/googletest/archive/refs/tags/release-1.12.1.tar.gz
           ${deskglide_gtest_archive}.part STATUS deskglide_gtest_status TIMEOUT 120 TLS_VERIFY ON)
      list(GET deskglide_gtest_status 0 deskglide_gtest_code)
      if(deskglide_gtest_code EQUAL 0)
        file(RENAME ${deskglide_gtest_archive}.part ${deskglide_gtest_archive})
      else()
        file(REMOVE ${deskglide_gtest_archive}.part)
        message(STATUS "Downloading GoogleTest failed: ${deskglide_gtest_status}")
      endif()
    endif()
    if(EXISTS ${deskglide_gtest_archive})
      include(FetchContent)
      FetchContent_Declare(googletest
        URL ${deskglide_gtest_archive}
        URL_HASH SHA256=81964fe578e9bd7c94dfdb09c8e4d6e6759e19967e397dbea48d1c10e45d0df2
        DOWNLOAD_EXTRACT_TIMESTAMP ON)
      FetchContent_GetProperties(googletest)
      if(NOT googletest_POPULATED)
        FetchContent_Populate(googletest)
        add_subdirectory(${googletest_SOURCE_DIR} ${googletest_BINARY_DIR} EXCLUDE_FROM_ALL)
      endif()
    endif()
  endif()
  if(TARGET GTest::gtest AND TARGET GTest::gtest_main)
    set(DESKGLIDE_HAVE_GTEST ON)
    # Later find_package(GTest) calls get these targets instead of looking again.
    file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/gtest-config.cmake
         "# GoogleTest is built in this tree (cmake/googletest.cmake).\n")
  else()
    set(DESKGLIDE_HAVE_GTEST OFF)
  endif()
endif()

if(NOT DESKGLIDE_HAVE_GTEST)
  message(STATUS "No GoogleTest (none installed, no sources in '${DESKGLIDE_GOOGLETEST_SOURCE_DIR}', "
                 "no download): building deskglide without its tests")
endif()
