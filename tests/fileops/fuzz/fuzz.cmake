qv_fuzz_target(DescriptionLines SOURCES DescriptionLines_fuzz.cc DEPS qv_fileops SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds)
qv_fuzz_target(ReplaceInFile SOURCES ReplaceInFile_fuzz.cc DEPS qv_fileops SEEDS ${CMAKE_CURRENT_LIST_DIR}/replace-seeds)
