# The console client under arbitrary frames from its host.
qv_fuzz_target(ConsoleFrames SOURCES ConsoleFrames_fuzz.cc DEPS qv_console SEEDS frame-seeds)
