# Build helpers shared by every folder.

add_library(kestrel_options INTERFACE)
target_compile_options(kestrel_options INTERFACE
  -Wall -Wextra -Wpedantic -Wno-unused-parameter -Wno-missing-field-initializers)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  # FFmpeg's time-base macros are C compound literals, which clang names in C++ with -Wpedantic.
  target_compile_options(kestrel_options INTERFACE -Wno-c99-extensions)
endif()
# Build-folder paths are defined only where they are read, so the other objects do not depend
# on where the build folder is (a compiler cache shares them between checkouts).
target_compile_definitions(kestrel_options INTERFACE QT_NO_KEYWORDS)
if(KESTREL_SANITIZE)
  target_compile_options(kestrel_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(kestrel_options INTERFACE -fsanitize=address,undefined)
endif()

if(KESTREL_SHARED_LIBRARIES)
  set(CMAKE_INSTALL_RPATH "$ORIGIN/../lib/kestrel;$ORIGIN")
endif()

# kestrel_folder_library(<target> [EXCLUDE <regex>] [DEPS <targets>...])
# One library per source folder, from every .cpp/.h in it (sub-folders included): static for the
# program, shared in the test build, where forty test programs each carrying a static copy of
# every library took more disk than a build machine may have.
function(kestrel_folder_library target)
  cmake_parse_arguments(ARG "" "EXCLUDE" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.c" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  if(ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${ARG_EXCLUDE}")
  endif()
  if(KESTREL_SHARED_LIBRARIES)
    add_library(${target} SHARED ${sources})
    # Installed beside the program, which finds them from its own place.
    install(TARGETS ${target} LIBRARY DESTINATION lib/kestrel)
  else()
    add_library(${target} STATIC ${sources})
  endif()
  # moc's own dependency tracking misses a header added to the folder: when the file list
  # changes, drop the moc step's stamp so the next build scans the sources again.
  set(list_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.txt")
  set(old_list "")
  if(EXISTS "${list_file}")
    file(READ "${list_file}" old_list)
  endif()
  if(NOT old_list STREQUAL "${sources}")
    file(WRITE "${list_file}" "${sources}")
    file(REMOVE "${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp")
  endif()
  # Headers are included by their path from the repository root: #include "platform/dispatch.h".
  target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}")
  target_link_libraries(${target} PUBLIC kestrel_options ${ARG_DEPS})
endfunction()

# kestrel_test(<name> [DEPS <targets>...])
# One GoogleTest executable from every *_test.cpp in the current folder.
# Tests run with Qt's offscreen platform and a private settings and data folder.
function(kestrel_test name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*_helpers.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE kestrel_test_support ${ARG_DEPS})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600)
endfunction()
