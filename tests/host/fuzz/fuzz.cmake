# The host's screen model under arbitrary request frames.
qv_fuzz_target(HostFrames SOURCES HostFrames_fuzz.cc DEPS qv_host SEEDS seeds)
