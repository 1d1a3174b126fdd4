find_package(GTest REQUIRED)
include(GoogleTest)

set(ZEL_TEST_ENV
  "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu --no-sandbox;QTWEBENGINE_DISABLE_SANDBOX=1;LC_ALL=C.UTF-8")

# zel_gtest(<target> SOURCES <files>... [LIBS <targets>...] [LABEL <area>])
# One executable; each TEST in it becomes its own CTest case, labelled with its area (so one area's
# tests can be run alone: ctest -L '^skin$'). GUI tests run off-screen.
function(zel_gtest target)
  cmake_parse_arguments(Z "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${Z_SOURCES})
  target_link_libraries(${target} PRIVATE ${Z_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  if(ZELMORA_SANITIZE)
    # The code under test keeps -O1; the tests' own sources, mostly assertion macros, build in
    # half the time unoptimised.
    target_compile_options(${target} PRIVATE -O0)
  endif()
  # The environment goes on the command line (cmake -E env): a list handed to PROPERTIES loses
  # everything after its first element on the way through the discovery script.
  set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "${CMAKE_COMMAND};-E;env;${ZEL_TEST_ENV}")
  set(_props TIMEOUT 120)
  if(Z_LABEL)
    list(APPEND _props LABELS ${Z_LABEL})
  endif()
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ${_props})
endfunction()

# zel_gtest_dir(LIBS <targets>...)
# Every *_test.cpp of the calling folder becomes its own executable <folder>_<file>, so test
# files can be added without touching CMake and one broken file never blocks the others.
function(zel_gtest_dir)
  cmake_parse_arguments(Z "" "" "LIBS" ${ARGN})
  get_filename_component(_area ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(_t ${_tests})
    get_filename_component(_name ${_t} NAME_WE)
    zel_gtest(${_area}_${_name} SOURCES ${_t} LIBS ${Z_LIBS} LABEL ${_area})
  endforeach()
endfunction()
