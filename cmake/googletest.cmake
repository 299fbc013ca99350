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
  # MSVC: the static runtime, like our own code (see CMakeLists.txt), or the link fails.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  if(EXISTS ${DESKGLIDE_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    add_subdirectory(${DESKGLIDE_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  elseif(DESKGLIDE_FETCH_GOOGLETEST)
    # A release that builds without -WX: older ones break on newer compilers' new warnings.
    # Downloaded here first because a failed download inside FetchContent stops the configure;
    # without a network the exe should still build.
    set(deskglide_gtest_version 1.15.2)
    set(deskglide_gtest_sha256 7b42b4d6ed48810c5362c265a17faebe90dc2373c885e5216439d37927f02926)
    set(deskglide_gtest_archive ${CMAKE_BINARY_DIR}/_deps/googletest-${deskglide_gtest_version}.tar.gz)
    if(NOT EXISTS ${deskglide_gtest_archive})
      file(DOWNLOAD
           https://github.com/google/googletest/releases/download/v${deskglide_gtest_version}/googletest-${deskglide_gtest_version}.tar.gz
           ${deskglide_gtest_archive}.part STATUS deskglide_gtest_status TIMEOUT 120 TLS_VERIFY ON)
      list(GET deskglide_gtest_status 0 deskglide_gtest_code)
      if(deskglide_gtest_code EQUAL 0)
        file(SHA256 ${deskglide_gtest_archive}.part deskglide_gtest_got)
      endif()
      # Only a whole, unaltered archive is kept; anything else is fetched again next time.
      if(deskglide_gtest_code EQUAL 0 AND deskglide_gtest_got STREQUAL deskglide_gtest_sha256)
        file(RENAME ${deskglide_gtest_archive}.part ${deskglide_gtest_archive})
      else()
        file(REMOVE ${deskglide_gtest_archive}.part)
        message(STATUS "Downloading GoogleTest failed (${deskglide_gtest_status}), "
                       "or its SHA-256 was not ${deskglide_gtest_sha256}")
      endif()
    endif()
    if(EXISTS ${deskglide_gtest_archive})
      include(FetchContent)
      # FetchContent checks the hash, unpacks the archive and adds it to the build.
      FetchContent_Declare(googletest
        URL ${deskglide_gtest_archive}
        URL_HASH SHA256=${deskglide_gtest_sha256}
        DOWNLOAD_EXTRACT_TIMESTAMP ON)
      FetchContent_MakeAvailable(googletest)
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
