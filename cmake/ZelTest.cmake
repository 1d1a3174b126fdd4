find_package(GTest REQUIRED)
include(GoogleTest)

# zel_gtest(<target> SOURCES <files>... [LIBS <targets>...] [GUI])
# One executable per test area; each TEST becomes its own CTest case. GUI tests run off-screen.
function(zel_gtest target)
  cmake_parse_arguments(Z "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${Z_SOURCES})
  target_link_libraries(${target} PRIVATE ${Z_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  set(_env "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu --no-sandbox;QTWEBENGINE_DISABLE_SANDBOX=1;LC_ALL=C.UTF-8")
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "${_env}" TIMEOUT 120)
endfunction()
