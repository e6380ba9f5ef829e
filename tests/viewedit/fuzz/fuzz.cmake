qv_fuzz_target(SyntaxFile SOURCES SyntaxFile_fuzz.cc DEPS qv_app qv_fileops qv_shell qv_viewedit qv_archive qv_script qv_app qv_archive
               SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/syntax)
qv_fuzz_target(LineModel SOURCES LineModel_fuzz.cc DEPS qv_app qv_fileops qv_shell qv_viewedit qv_archive qv_script qv_app qv_archive
               SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/lines)
