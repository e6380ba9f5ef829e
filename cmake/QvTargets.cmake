# Every source folder is one library whose sources are the .cpp files below it.
# Folders still empty become interface libraries, so the dependency graph stands
# from the start and later work only adds files.
function(qv_library name)
  cmake_parse_arguments(QV "" "DIR" "DEPS;EXCLUDE" ${ARGN})
  if(NOT QV_DIR)
    set(QV_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${QV_DIR}/*.cpp ${QV_DIR}/*.c)
  foreach(ex ${QV_EXCLUDE})
    list(FILTER srcs EXCLUDE REGEX "${ex}")
  endforeach()
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_link_libraries(${name} PUBLIC ${QV_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${QV_DEPS})
  endif()
endfunction()

# One test executable per source folder: tests/<folder>/*.cpp.
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
  add_executable(${exe} ${srcs})
  target_link_libraries(${exe} PRIVATE ${QV_DEPS} qv_testsupport GTest::gtest_main)
  add_test(NAME ${tname} COMMAND ${exe})
  # A second drive on another file system, S:, as the wine prefix of the Windows
  # leg maps it too (cmake/run-wine-tests.sh).
  set_tests_properties(${tname} PROPERTIES ENVIRONMENT
    "TZ=UTC;QUORVANE_DRIVES=C=/\\;S=/dev/shm;QV_SOURCE_DIR=${CMAKE_SOURCE_DIR};QV_BINARY_DIR=${CMAKE_BINARY_DIR}")
  set_property(GLOBAL APPEND PROPERTY QV_TEST_EXECUTABLES ${exe})
endfunction()
