# Macro expansion of arbitrary commands for arbitrary file names.
qv_fuzz_target(CommandMacros SOURCES CommandMacros_fuzz.cc DEPS qv_shell SEEDS seeds)
# Arbitrary bytes as a user menu file.
qv_fuzz_target(MenuFile SOURCES MenuFile_fuzz.cc DEPS qv_shell SEEDS menu-seeds)
