# Shared compile settings for every target of the project: strict warnings as
# errors for our code, Qt's headers kept as system headers, sanitizers when asked.
function(parlone_target target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Woverloaded-virtual -Werror)
  # Qt's imported targets give their include folders as system folders, so
  # their headers never trip our warnings.
  if(PARLONE_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# A shared library with an export header named <NAME>_EXPORT in <name>_export.h.
function(parlone_shared_library target)
  add_library(${target} SHARED ${ARGN})
  parlone_target(${target})
  generate_export_header(${target} BASE_NAME ${target}
    EXPORT_FILE_NAME ${CMAKE_BINARY_DIR}/exports/${target}_export.h)
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/exports)
endfunction()

# A QtTest executable registered with CTest, run offscreen.
function(parlone_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  parlone_target(${name})
  target_link_libraries(${name} PRIVATE parlone_test_support ${ARG_LIBS} Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()

# A benchmark executable (bench_<name>), run by scripts/bench; it prints one
# "name: value unit" line per figure.
function(parlone_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(bench_${name} ${ARG_SOURCES})
  parlone_target(bench_${name})
  target_link_libraries(bench_${name} PRIVATE ${ARG_LIBS})
endfunction()
