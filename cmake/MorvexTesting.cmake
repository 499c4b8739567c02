# morvex_add_gtest(NAME SOURCES a.cpp ... [LIBS lib ...] [WINDOW] [X11] [LINUX_ONLY] [WINDOWS_ONLY])
#
# One GoogleTest executable per area. Natively every case is its own CTest test;
# under Wine one CTest test runs the whole executable, since each Wine start costs.
# WINDOW runs it under a virtual X display under Wine; X11 does so natively, as
# one CTest test too, since each display start costs. The display is wide
# enough for the editor at three times its size.
include(GoogleTest)

function(morvex_add_gtest name)
  cmake_parse_arguments(T "WINDOW;X11;LINUX_ONLY;WINDOWS_ONLY" "" "SOURCES;LIBS" ${ARGN})
  if(T_LINUX_ONLY AND WIN32)
    return()
  endif()
  if(T_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} morvex_gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  morvex_warnings(${name})
  if(WIN32)
    if(T_WINDOW)
      set(runner ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh --x11)
    else()
      set(runner ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh)
    endif()
    add_test(NAME ${name} COMMAND ${runner} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "MORVEX_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix")
  elseif(T_X11)
    add_test(NAME ${name}
      COMMAND xvfb-run -a -s "-screen 0 3600x1200x24 -noreset" $<TARGET_FILE:${name}>)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
