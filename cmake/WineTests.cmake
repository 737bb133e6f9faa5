# Registers GoogleTest programs of the Windows build as CTest tests that run under Wine.
#
#   velmora_add_wine_tests(<target> [E2E] [TIMEOUT <seconds>] [ENVIRONMENT <VAR=value>...])
#
# With an emulator (the 64-bit build), the target's tests are listed when ctest starts and each
# runs in the one Wine session per CTest run (fixture wine_session: a private Xvfb and a fresh
# prefix). E2E tests drive real programs on that display; each runs alone, since the guard
# allows only one instance and screenshots must show nothing else. ENVIRONMENT values may use
# generator expressions, e.g. VELMORA_EXE=$<TARGET_FILE:velmora>. Without an emulator (the
# 32-bit build) the program is only built.
include_guard(GLOBAL)
include(GoogleTest)

get_filename_component(VELMORA_WINE_TOOLS "${CMAKE_CURRENT_LIST_DIR}/../tools/wine" ABSOLUTE)
set(VELMORA_WINE_SESSION_DIR "${CMAKE_BINARY_DIR}/wine-session")
set(VELMORA_SCREENSHOT_DIR "${CMAKE_BINARY_DIR}/screenshots")

function(_velmora_define_wine_session)
  get_property(defined GLOBAL PROPERTY _VELMORA_WINE_SESSION_DEFINED)
  if(defined)
    return()
  endif()
  set_property(GLOBAL PROPERTY _VELMORA_WINE_SESSION_DEFINED TRUE)

  # Holds the session's desktop open between tests (see the source for why).
  add_executable(velmora_wine_session_anchor "${VELMORA_WINE_TOOLS}/session_anchor.cc")
  add_test(NAME wine_session_setup
           COMMAND "${VELMORA_WINE_TOOLS}/wine-session" setup "${VELMORA_WINE_SESSION_DIR}"
                   "$<TARGET_FILE:velmora_wine_session_anchor>")
  add_test(NAME wine_session_cleanup
           COMMAND "${VELMORA_WINE_TOOLS}/wine-session" cleanup "${VELMORA_WINE_SESSION_DIR}")
  # The first run on a machine also builds the cached prefix template (about 10 s).
  set_tests_properties(wine_session_setup PROPERTIES
                       FIXTURES_SETUP wine_session LABELS wine TIMEOUT 300)
  set_tests_properties(wine_session_cleanup PROPERTIES
                       FIXTURES_CLEANUP wine_session LABELS wine TIMEOUT 60)
endfunction()

function(velmora_add_wine_tests target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "E2E" "TIMEOUT" "ENVIRONMENT")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "velmora_add_wine_tests: unexpected ${arg_UNPARSED_ARGUMENTS}")
  endif()
  # Nothing can run it here, but it must still compile and link with everything else.
  set_property(TARGET ${target} PROPERTY EXCLUDE_FROM_ALL FALSE)
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    return()
  endif()
  _velmora_define_wine_session()

  set(environment "VELMORA_WINE_SESSION=${VELMORA_WINE_SESSION_DIR}")
  if(arg_E2E)
    set(label e2e)
    set(timeout 60)
    # The lock keeps guard instances apart; RUN_SERIAL also keeps other Wine tests' windows off
    # the screen while an end-to-end test clicks menus or compares screenshot pixels.
    set(lock "RESOURCE_LOCK velmora_guard RUN_SERIAL TRUE")
    list(APPEND environment "VELMORA_SCREENSHOT_DIR=${VELMORA_SCREENSHOT_DIR}")
    file(MAKE_DIRECTORY "${VELMORA_SCREENSHOT_DIR}")
  else()
    set(label windows)
    set(timeout 30)
    set(lock)
  endif()
  if(arg_TIMEOUT)
    set(timeout ${arg_TIMEOUT})
  endif()
  list(APPEND environment ${arg_ENVIRONMENT})

  # Listing runs a cold Wine (and, on a fresh machine, builds the prefix template).
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 300
    TEST_LIST ${target}_TESTS)

  # gtest_discover_tests flattens list-valued PROPERTIES such as ENVIRONMENT, so the properties
  # are set by a script that CTest runs after the discovered tests are known.
  file(GENERATE OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/${target}_wine_properties.cmake"
       CONTENT "if(${target}_TESTS)
  set_tests_properties(\${${target}_TESTS} PROPERTIES
    FIXTURES_REQUIRED wine_session
    LABELS ${label}
    TIMEOUT ${timeout}
    ${lock}
    ENVIRONMENT [==[${environment}]==])
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
               "${CMAKE_CURRENT_BINARY_DIR}/${target}_wine_properties.cmake")
endfunction()
