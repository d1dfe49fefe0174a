# Windows build: Quorvane.exe, the Windows-side tests, the demo game and the end-to-end driver.
enable_language(RC)

set(QV_WIN_LIBS user32 gdi32 comctl32 comdlg32 shlwapi shell32 winmm ole32 oleaut32 uuid psapi)
if(NOT MSVC)
  # One static exe: no MinGW runtime DLLs beside it.
  set(QV_STATIC_LINK -static -static-libgcc -static-libstdc++)
  target_compile_options(qv_core PUBLIC -finput-charset=UTF-8 -fexec-charset=UTF-8)
  # Reproducible: the same sources give the same exe bytes in any folder at any time. The PE
  # header carries no link time (its time stamp is 0), and no folder of the build machine
  # reaches a string (__FILE__ and the like name files relative to the source tree).
  target_compile_options(qv_core PUBLIC -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
                         -ffile-prefix-map=${CMAKE_BINARY_DIR}/=build/)
  target_link_options(qv_core INTERFACE -Wl,--no-insert-timestamp)
endif()
target_compile_definitions(qv_core PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0A00 WINVER=0x0A00)

list(FILTER QV_WIN_SOURCES EXCLUDE REGEX "app/main_win\\.cpp$")
add_library(qv_win STATIC ${QV_WIN_SOURCES})
target_link_libraries(qv_win PUBLIC qv_core ${QV_WIN_LIBS})

add_executable(Quorvane WIN32 app/main_win.cpp resources/quorvane.rc)
target_link_libraries(Quorvane PRIVATE qv_win)
if(NOT MSVC)
  # The released exe carries no symbols.
  target_link_options(Quorvane PRIVATE -municode ${QV_STATIC_LINK} $<$<CONFIG:Release>:-s>)
endif()
# A second compiler over every program source (clang for x86_64-w64-mingw32, warnings as
# errors), where the cross build runs on a Linux host that has it.
find_program(QV_CLANGXX clang++)
if(QV_CLANGXX AND CMAKE_HOST_UNIX)
  add_test(NAME clang_mingw_check COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/clang-mingw-check.sh)
  set_tests_properties(clang_mingw_check PROPERTIES LABELS unit TIMEOUT 600)
endif()
file(GLOB QV_GLYPH_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/recognition/glyphs/*.bmp)
set_source_files_properties(resources/quorvane.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/Quorvane.manifest;${CMAKE_SOURCE_DIR}/resources/resource_ids.h;${CMAKE_SOURCE_DIR}/recognition/glyph_list.h;${CMAKE_SOURCE_DIR}/resources/profile.bmp;${CMAKE_SOURCE_DIR}/resources/link.cur;${CMAKE_SOURCE_DIR}/resources/quorvane.ico;${QV_GENERATED_DIR}/quorvane_version.h;${QV_GLYPH_FILES}")
set_target_properties(Quorvane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# GoogleTest from Debian's source package (or a vendored copy), built for Windows.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
if(NOT QV_GTEST_SOURCE)
  set(QV_GTEST_SOURCE /usr/src/googletest)
endif()
add_subdirectory(${QV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# One ctest entry per test file, running only that file's suites, so a failure names its area.
function(qv_add_tests_per_file exe prefix label timeout)
  foreach(src IN LISTS ARGN)
    get_filename_component(stem ${src} NAME_WE)
    file(STRINGS ${src} lines REGEX "^TEST(_F|_P)?\\(")
    set(filter)
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^TEST(_F|_P)?\\(([A-Za-z0-9_]+),.*" "\\2" suite "${line}")
      list(APPEND filter "*${suite}.*")
    endforeach()
    list(REMOVE_DUPLICATES filter)
    if(filter)
      list(JOIN filter ":" joined)
      add_test(NAME ${prefix}.${stem} COMMAND ${exe} --gtest_filter=${joined})
      set_tests_properties(${prefix}.${stem} PROPERTIES LABELS ${label} TIMEOUT ${timeout}
                           RUN_SERIAL TRUE)
    endif()
  endforeach()
endfunction()

function(qv_win_test_exe name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE qv_win qv_testkit gtest gtest_main)
  target_compile_definitions(${name} PRIVATE QV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  if(NOT MSVC)
    target_link_options(${name} PRIVATE ${QV_STATIC_LINK})
  endif()
endfunction()

# Windows-side tests: one executable, run under Wine through the cross-compiling emulator.
file(GLOB QV_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
if(QV_WIN_TESTS)
  qv_win_test_exe(qv_win_tests ${QV_WIN_TESTS} tests/win/test_resources.rc)
  qv_add_tests_per_file(qv_win_tests win win 600 ${QV_WIN_TESTS})
endif()

# The main window's look (its icon, its captions) needs the program's resources in the test exe.
file(GLOB QV_WINAPP_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/winapp/*.cpp)
if(QV_WINAPP_TESTS)
  qv_win_test_exe(qv_winapp_tests ${QV_WINAPP_TESTS} resources/quorvane.rc)
  add_dependencies(qv_winapp_tests Quorvane)
  qv_add_tests_per_file(qv_winapp_tests win win 600 ${QV_WINAPP_TESTS})
endif()

add_subdirectory(tools)

# End-to-end scenarios: the real exe under Wine, driven from outside.
file(GLOB QV_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(QV_E2E_TESTS)
  qv_win_test_exe(qv_e2e_tests ${QV_E2E_TESTS})
  target_link_libraries(qv_e2e_tests PRIVATE qv_driver)
  add_dependencies(qv_e2e_tests Quorvane DemoGame qv_menuhook)
  target_compile_definitions(qv_e2e_tests PRIVATE QV_BINARY_DIR="${CMAKE_BINARY_DIR}")
  qv_add_tests_per_file(qv_e2e_tests e2e e2e 900 ${QV_E2E_TESTS})
endif()

# Windows-side benchmarks (bench/*_bench_win.cpp): plain exes, run under Wine by make bench.
file(GLOB QV_WIN_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench_win.cpp)
foreach(src IN LISTS QV_WIN_BENCH_SOURCES)
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE qv_win qv_testkit)
  target_compile_definitions(${name} PRIVATE QV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  if(NOT MSVC)
    target_link_options(${name} PRIVATE ${QV_STATIC_LINK})
  endif()
  add_dependencies(${name} DemoGame)
endforeach()

# The release: Quorvane.exe built again from a copy of the sources in another folder gives the
# same bytes, and the player's Readme.txt follows the README it is made from (scripts/dist.sh).
add_test(NAME reproducible_exe COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-reproducible.sh
         $<TARGET_FILE:Quorvane>)
set_tests_properties(reproducible_exe PROPERTIES LABELS release TIMEOUT 1800)
add_test(NAME readme_txt COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-readme-txt.sh
         ${PROJECT_VERSION})
set_tests_properties(readme_txt PROPERTIES LABELS release)
