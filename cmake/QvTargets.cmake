# One library per layer (cmake/QvLayers.cmake): the .cpp and .c files below its
# folder, linked to the layer below it. A folder without sources becomes an
# interface library, so that the layer above still finds its place in the chain.
set(QV_LAYER_TOP "")
function(qv_layer name dir)
  cmake_parse_arguments(QV "" "" "EXCLUDE;LIBS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.c)
  foreach(ex ${QV_EXCLUDE})
    list(FILTER srcs EXCLUDE REGEX "${ex}")
  endforeach()
  set(deps ${QV_LAYER_TOP} ${QV_LIBS})
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_link_libraries(${name} PUBLIC ${deps})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${deps})
  endif()
  set(QV_LAYER_TOP ${name} PARENT_SCOPE)
  set_property(GLOBAL APPEND PROPERTY QV_LAYER_FOLDERS ${dir})
  set_property(GLOBAL PROPERTY QV_LAYER_OF_${dir} ${name})
endfunction()

# A library outside the layers (the console hosts, the test helpers).
function(qv_library name)
  cmake_parse_arguments(QV "" "DIR" "DEPS;EXCLUDE" ${ARGN})
  if(NOT QV_DIR)
    set(QV_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${QV_DIR}/*.cpp ${QV_DIR}/*.c)
  foreach(ex ${QV_EXCLUDE})
    list(FILTER srcs EXCLUDE REGEX "${ex}")
  endforeach()
  add_library(${name} STATIC ${srcs})
  target_link_libraries(${name} PUBLIC ${QV_DEPS})
endfunction()

include(GoogleTest)
# Each test program is one CTest test (label "program"): ./test runs these, so
# a program starts once for all its tests. With discovery on, every GoogleTest
# test is registered on its own as well (label "single": ctest -N lists them,
# ctest -L single -j spreads them, and a hang fails that test alone); under the
# sanitizers each then pays the start of a program, which on a loaded machine
# costs more than the spreading gains, so ./test keeps to the programs.
option(QV_DISCOVER_TESTS "Register every GoogleTest test with CTest on its own as well" ON)
# Seconds one test, or one test program, may take before CTest stops it as hung.
set(QV_TEST_TIMEOUT 90 CACHE STRING "Time limit of one test, in seconds")
set(QV_TEST_PROGRAM_TIMEOUT 600 CACHE STRING "Time limit of one test program, in seconds")

# One test executable per source folder: tests/<folder>/*.cpp, linked to the
# folder's own layer (and so to the layers below it) and the test helpers.
# Files named *_e2e.cpp drive the real program through the scripted host and are
# built only where that host runs (not in the Windows unit-test leg).
function(qv_test_folder folder)
  cmake_parse_arguments(QV "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(QV_UNIT_TESTS_ONLY OR WIN32)
    list(FILTER srcs EXCLUDE REGEX "_e2e\\.cpp$")
  endif()
  if(NOT srcs)
    return()
  endif()
  string(REPLACE "/" "_" tname "${folder}")
  set(exe qv_test_${tname})
  get_property(layer GLOBAL PROPERTY QV_LAYER_OF_${folder})
  add_executable(${exe} ${srcs})
  # The layer last: what the helpers and the host need of the lower layers is
  # then linked once, after them.
  target_link_libraries(${exe} PRIVATE qv_testsupport ${QV_DEPS} ${layer} GTest::gtest_main)
  # The Windows leg cannot run the programs at build time to list their tests
  # (cmake/run-wine-tests.sh runs them under wine).
  add_test(NAME ${tname} COMMAND ${exe})
  set_tests_properties(${tname} PROPERTIES LABELS program TIMEOUT ${QV_TEST_PROGRAM_TIMEOUT} ENVIRONMENT
    "TZ=UTC;QUORVANE_DRIVES=C=/\\;S=/dev/shm;QV_SOURCE_DIR=${CMAKE_SOURCE_DIR};QV_BINARY_DIR=${CMAKE_BINARY_DIR}")
  if(QV_DISCOVER_TESTS AND NOT CMAKE_CROSSCOMPILING)
    # Named <folder>.<suite>.<test>. The environment comes from a wrapper: the
    # drive list holds a ';', which a test property cannot carry through the
    # discovery.
    set_target_properties(${exe} PROPERTIES CROSSCOMPILING_EMULATOR
      "${CMAKE_SOURCE_DIR}/cmake/with-test-env.sh;${CMAKE_SOURCE_DIR};${CMAKE_BINARY_DIR}")
    gtest_discover_tests(${exe} TEST_PREFIX "${tname}." DISCOVERY_TIMEOUT 60
      PROPERTIES LABELS single TIMEOUT ${QV_TEST_TIMEOUT})
  endif()
  set_property(GLOBAL APPEND PROPERTY QV_TEST_EXECUTABLES ${exe})
endfunction()
