# morvex_area_sources(VAR DIR): the .cpp files of a folder and its subfolders.
# Files named *_win.cpp use Win32 and are compiled only for Windows.
function(morvex_area_sources var dir)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT WIN32)
    list(FILTER files EXCLUDE REGEX "_win\\.cpp$")
  endif()
  set(${var} ${files} PARENT_SCOPE)
endfunction()

# morvex_area_library(NAME [DEPS lib ...]): the static library of one source folder.
# A folder that holds only headers so far becomes an interface library.
function(morvex_area_library name)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  morvex_area_sources(sources ${CMAKE_CURRENT_SOURCE_DIR})
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${A_DEPS})
    morvex_warnings(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${A_DEPS})
  endif()
endfunction()
