# The layers of the program, from the bottom up: the one place that says which
# library a source folder builds into and in what order the libraries stand.
# Each layer links the layer below it (and through it every lower one) and
# nothing above it, so a link line names every library once. A lower layer
# that has to reach a higher one declares a hook that the higher one installs
# at start-up (README.md lists them). cmake/check-layers.py reads this table
# and rejects any #include that reaches a higher layer.
#
# qv_layer(<library> <folder> [EXCLUDE <regex>...] [LIBS <external libraries>...])

if(WIN32)
  # On Windows the platform layer is the real API: only its system-neutral
  # sources are built; the network-name functions come from mpr, COM and its
  # shell link object from ole32 and uuid.
  set(qv_platform_exclude "/posix/")
  set(qv_platform_libs mpr ole32 uuid)
else()
  find_package(Threads REQUIRED)
  set(qv_platform_exclude "")
  set(qv_platform_libs Threads::Threads ${CMAKE_DL_LIBS})
endif()

qv_layer(qv_platform platform EXCLUDE ${qv_platform_exclude} LIBS ${qv_platform_libs})
qv_layer(qv_base base LIBS qv_zlib qv_bz2 qv_lzma)
qv_layer(qv_console console)
qv_layer(qv_settings app/settings)
qv_layer(qv_ui ui)
qv_layer(qv_panels app/panels)
qv_layer(qv_fileops fileops)
qv_layer(qv_shell shell)
qv_layer(qv_viewedit viewedit)
qv_layer(qv_archive archive)
qv_layer(qv_script script)
qv_layer(qv_program app/program EXCLUDE "/main\\.cpp$")
