# The archive readers on arbitrary files, one target per reader family,
# seeded with small archives (tests/archive/fuzz/make-seeds.sh makes them).
foreach(family Zip Rar Lha Arj Ace Ha SevenZip)
  string(TOLOWER ${family} seeds)
  qv_fuzz_target(${family}Reader SOURCES ${family}Reader_fuzz.cc DEPS qv_archive SEEDS seeds/${seeds})
endforeach()
qv_fuzz_target(TarReaders SOURCES TarReaders_fuzz.cc DEPS qv_archive SEEDS seeds/tar)
# The archiver command lines over arbitrary definitions and names.
qv_fuzz_target(ArchiverCommandLine SOURCES ArchiverCommandLine_fuzz.cc DEPS qv_archive SEEDS seeds/commands)
