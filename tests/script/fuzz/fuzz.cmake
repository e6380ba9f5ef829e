qv_fuzz_target(ScriptTokens SOURCES ScriptTokens_fuzz.cc DEPS qv_script SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/scripts)
qv_fuzz_target(ScriptRun SOURCES ScriptRun_fuzz.cc DEPS qv_script SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/scripts)
