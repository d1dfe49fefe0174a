# Linux build: the portable core, its unit tests and the benchmarks.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB QV_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(qv_unit_tests ${QV_UNIT_TESTS})
target_link_libraries(qv_unit_tests PRIVATE qv_testkit GTest::gtest GTest::gtest_main)
target_compile_definitions(qv_unit_tests PRIVATE
  QV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

# make test's build (preset linux-sanitize): AddressSanitizer and UndefinedBehaviorSanitizer
# over the core, the test kit and the tests; the first report of either ends the run failed.
option(QV_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(QV_SANITIZE)
  set(QV_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  target_compile_options(qv_core PUBLIC ${QV_SANITIZE_FLAGS})
  target_link_options(qv_core INTERFACE ${QV_SANITIZE_FLAGS})
  # A sanitized process takes a fraction of a second to start: one process runs every test
  # (one ctest entry per test would take minutes), and its output names any that failed.
  add_test(NAME unit_tests COMMAND qv_unit_tests)
  set_tests_properties(unit_tests PROPERTIES LABELS unit TIMEOUT 600)
else()
  gtest_discover_tests(qv_unit_tests NO_PRETTY_VALUES PROPERTIES LABELS unit DISCOVERY_TIMEOUT 60)
endif()

find_package(benchmark QUIET)
if(benchmark_FOUND AND NOT QV_SANITIZE)
  file(GLOB QV_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench.cpp)
  foreach(src IN LISTS QV_BENCH_SOURCES)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE qv_testkit benchmark::benchmark)
    target_compile_definitions(${name} PRIVATE QV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  endforeach()
endif()
