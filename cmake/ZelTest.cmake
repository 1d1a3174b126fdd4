find_package(GTest REQUIRED)
include(GoogleTest)

set(ZEL_TEST_ENV
  "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu --no-sandbox;QTWEBENGINE_DISABLE_SANDBOX=1;LC_ALL=C.UTF-8")

# zel_gtest(<target> SOURCES <files>... [LIBS <targets>...])
# One executable; each TEST in it becomes its own CTest case. GUI tests run off-screen.
function(zel_gtest target)
  cmake_parse_arguments(Z "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${Z_SOURCES})
  target_link_libraries(${target} PRIVATE ${Z_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  # The environment goes on the command line (cmake -E env): a list handed to PROPERTIES loses
  # everything after its first element on the way through the discovery script.
  set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "${CMAKE_COMMAND};-E;env;${ZEL_TEST_ENV}")
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES TIMEOUT 120)
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
    zel_gtest(${_area}_${_name} SOURCES ${_t} LIBS ${Z_LIBS})
  endforeach()
endfunction()
