# The terminal emulator under arbitrary output of a child program.
qv_fuzz_target(TerminalEmulator SOURCES TerminalEmulator_fuzz.cc DEPS qv_console qv_host SEEDS seeds)
