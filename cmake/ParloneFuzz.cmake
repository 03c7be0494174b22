# Fuzz targets: libFuzzer executables that feed arbitrary bytes to the code
# that reads what a server, a file or the user hands the program. Off by
# default and never built by CI; scripts/fuzz configures a clang build folder
# of its own with PARLONE_FUZZ=ON, builds every fuzz_* target and runs them.
#
# With the option on, everything in that folder is compiled with coverage
# instrumentation and AddressSanitizer and UndefinedBehaviorSanitizer, so a
# target links the project's own libraries and still reaches into them.
if(PARLONE_FUZZ)
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS -fsanitize=fuzzer)
  set(CMAKE_REQUIRED_LINK_OPTIONS -fsanitize=fuzzer)
  check_cxx_source_compiles([[
    #include <cstddef>
    #include <cstdint>
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
  ]] PARLONE_HAVE_LIBFUZZER)
  unset(CMAKE_REQUIRED_FLAGS)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
  if(NOT PARLONE_HAVE_LIBFUZZER)
    message(FATAL_ERROR "PARLONE_FUZZ needs a compiler with libFuzzer (clang with its runtime); "
                        "${CMAKE_CXX_COMPILER_ID} cannot build fuzz targets")
  endif()
  if(PARLONE_SANITIZE)
    message(FATAL_ERROR "PARLONE_FUZZ brings its own sanitizers; configure it without PARLONE_SANITIZE")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# A fuzz target fuzz_<name> from the sources given; nothing without PARLONE_FUZZ.
function(parlone_fuzz_target name)
  if(NOT PARLONE_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(fuzz_${name} ${ARG_SOURCES})
  parlone_target(fuzz_${name})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(fuzz_${name} PRIVATE ${ARG_LIBS})
endfunction()
