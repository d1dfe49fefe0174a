# Linux build: the portable core, its unit tests and the benchmarks.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB QV_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(qv_unit_tests ${QV_UNIT_TESTS})
target_link_libraries(qv_unit_tests PRIVATE qv_testkit GTest::gtest GTest::gtest_main)
target_compile_definitions(qv_unit_tests PRIVATE
  QV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(qv_unit_tests NO_PRETTY_VALUES PROPERTIES LABELS unit DISCOVERY_TIMEOUT 60)

find_package(benchmark QUIET)
if(benchmark_FOUND)
  file(GLOB QV_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench.cpp)
  foreach(src IN LISTS QV_BENCH_SOURCES)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE qv_testkit benchmark::benchmark)
    target_compile_definitions(${name} PRIVATE QV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  endforeach()
endif()
