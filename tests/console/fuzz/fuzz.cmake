# The terminal emulator under arbitrary output of a child program.
qv_fuzz_target(TerminalEmulator SOURCES TerminalEmulator_fuzz.cc DEPS qv_console qv_host SEEDS seeds)
# The console client under arbitrary frames from its host.
qv_fuzz_target(ConsoleFrames SOURCES ConsoleFrames_fuzz.cc DEPS qv_console SEEDS frame-seeds)
