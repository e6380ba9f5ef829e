# Macro expansion of arbitrary commands for arbitrary file names.
qv_fuzz_target(CommandMacros SOURCES CommandMacros_fuzz.cc DEPS qv_shell SEEDS seeds)
