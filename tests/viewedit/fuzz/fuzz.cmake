qv_fuzz_target(SyntaxFile SOURCES SyntaxFile_fuzz.cc DEPS qv_viewedit SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/syntax)
qv_fuzz_target(LineModel SOURCES LineModel_fuzz.cc DEPS qv_viewedit SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/lines)
