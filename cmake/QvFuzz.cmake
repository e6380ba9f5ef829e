# libFuzzer targets. With -DQV_FUZZ=ON (clang only) every library is built with
# the fuzzer's coverage hooks and AddressSanitizer/UBSan, and the build takes
# in every tests/**/fuzz/fuzz.cmake, each of which declares its targets:
#
#   qv_fuzz_target(<Name> SOURCES <files...> DEPS <libraries...> SEEDS <dir>)
#
# makes the executable fuzz_<Name> from the sources (relative to the folder of
# the fuzz.cmake), linked against the libraries, and lists it with its seed
# folder in fuzz-targets.txt in the build folder, which tests/run-fuzzers.sh
# walks. The target qv_fuzz_all builds every fuzzer and only the libraries
# they need.

function(qv_fuzz_enable)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "QV_FUZZ needs clang (configure with -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang)")
  endif()
  # Everything carries the coverage hooks; only the fuzzers get libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
  add_compile_definitions(QV_FUZZING=1)
  file(WRITE ${CMAKE_BINARY_DIR}/fuzz-targets.txt "")
  add_custom_target(qv_fuzz_all)
endfunction()

function(qv_fuzz_target name)
  cmake_parse_arguments(QV "" "SEEDS" "SOURCES;DEPS" ${ARGN})
  if(NOT QV_FUZZ)
    return()
  endif()
  if(NOT QV_SOURCES)
    message(FATAL_ERROR "qv_fuzz_target(${name}): SOURCES is required")
  endif()
  if(NOT QV_SEEDS)
    message(FATAL_ERROR "qv_fuzz_target(${name}): SEEDS is required (a folder of seed inputs)")
  endif()
  get_filename_component(seeds "${QV_SEEDS}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_LIST_DIR}")
  if(NOT IS_DIRECTORY "${seeds}")
    message(FATAL_ERROR "qv_fuzz_target(${name}): seed folder ${seeds} does not exist")
  endif()
  set(srcs "")
  foreach(s ${QV_SOURCES})
    get_filename_component(abs "${s}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_LIST_DIR}")
    list(APPEND srcs "${abs}")
  endforeach()
  set(exe fuzz_${name})
  add_executable(${exe} ${srcs})
  target_link_libraries(${exe} PRIVATE ${QV_DEPS})
  target_link_options(${exe} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${exe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  add_dependencies(qv_fuzz_all ${exe})
  file(APPEND ${CMAKE_BINARY_DIR}/fuzz-targets.txt "${name}\t${CMAKE_BINARY_DIR}/fuzz/${exe}\t${seeds}\n")
endfunction()

# Called once at the end of the top-level list: every folder's fuzz.cmake.
function(qv_fuzz_include_all)
  file(GLOB_RECURSE lists CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz.cmake)
  list(FILTER lists INCLUDE REGEX "/fuzz/fuzz\\.cmake$")
  list(SORT lists)
  foreach(f ${lists})
    include(${f})
  endforeach()
endfunction()
