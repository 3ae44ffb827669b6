# wyndo_add_tests(<target> SOURCES <files...> LIBS <libs...> [RESOURCES] [DESKTOP] [SETTINGSKEY]
#                 [OWN_MAIN])
#   Builds a GoogleTest executable and registers its cases with CTest. Windows executables run under
#   Wine (the toolchain's emulator) and are discovered when the tests run, inside the Wine session.
#   RESOURCES links the program's resource script (icons, cursors, pictures, strings, manifest).
#   DESKTOP marks every case as using real input, focus, the foreground window or screen pixels:
#   such cases take the CTest resource lock "desktop" and never run side by side.
#   SETTINGSKEY marks every case as deleting, seeding or having wyndo.exe write the program's
#   registry key. Both take the same lock: a test's properties pass through GoogleTest's discovery
#   as one flat list, which cannot carry a list of locks.
#   OWN_MAIN: the sources bring their own main() instead of GoogleTest's.
function(wyndo_add_tests target)
  cmake_parse_arguments(ARG "RESOURCES;DESKTOP;SETTINGSKEY;OWN_MAIN" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest)
  if(NOT ARG_OWN_MAIN)
    target_link_libraries(${target} PRIVATE GTest::gtest_main)
  endif()
  if(ARG_RESOURCES)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/resources/wyndo.rc)
  endif()
  set(props TIMEOUT 120)
  if(ARG_DESKTOP OR ARG_SETTINGSKEY)
    list(APPEND props RESOURCE_LOCK desktop)
  endif()
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES ${props})
endfunction()
