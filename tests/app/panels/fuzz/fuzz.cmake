# Tree data files: arbitrary bytes read as a drive's tree.
qv_fuzz_target(TreeData SOURCES TreeData_fuzz.cc DEPS qv_panels SEEDS tree-seeds)
