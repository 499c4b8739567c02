# Third-party code: GoogleTest, libpng with zlib, and the VST 3 SDK.
# All of it comes from Debian packages (scripts/setup.sh installs them).

# --- GoogleTest, built from Debian's sources with this toolchain ---------------
set(MORVEX_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(MORVEX_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${MORVEX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL)
  add_library(morvex_gtest_main INTERFACE)
  target_link_libraries(morvex_gtest_main INTERFACE GTest::gtest GTest::gtest_main)
endif()

# --- zlib and libpng -------------------------------------------------------------
add_library(morvex_png INTERFACE)
if(WIN32)
  # The import library libz.dll.a would make the plug-in need a zlib1.dll: link the archive.
  set(ZLIB_LIBRARY ${CMAKE_FIND_ROOT_PATH}/lib/libz.a CACHE FILEPATH "" FORCE)
  set(ZLIB_INCLUDE_DIR ${CMAKE_FIND_ROOT_PATH}/include CACHE PATH "" FORCE)
  find_package(ZLIB REQUIRED)

  # libpng from Debian's source package (scripts/setup.sh unpacks it), built static.
  # A cached path without png.h (a configure run before the set-up, say) is
  # looked up again, so the build tree recovers once the source is there.
  set(MORVEX_LIBPNG_SOURCE "" CACHE PATH "libpng 1.6 source tree")
  if(NOT EXISTS "${MORVEX_LIBPNG_SOURCE}/png.h")
    file(GLOB libpng_dirs ${PROJECT_SOURCE_DIR}/build/deps/libpng1.6-*/png.h)
    if(NOT libpng_dirs)
      message(FATAL_ERROR "libpng source not found under build/deps: run scripts/setup.sh"
                          " (or point MORVEX_LIBPNG_SOURCE at a libpng 1.6 source tree)")
    endif()
    list(SORT libpng_dirs)
    list(GET libpng_dirs -1 libpng_header)
    get_filename_component(libpng_dir ${libpng_header} DIRECTORY)
    if(MORVEX_LIBPNG_SOURCE)
      message(STATUS "No png.h in MORVEX_LIBPNG_SOURCE=${MORVEX_LIBPNG_SOURCE}: using ${libpng_dir}")
    endif()
    set(MORVEX_LIBPNG_SOURCE ${libpng_dir} CACHE PATH "libpng 1.6 source tree" FORCE)
  endif()
  set(PNG_SHARED OFF CACHE BOOL "" FORCE)
  set(PNG_STATIC ON CACHE BOOL "" FORCE)
  set(PNG_TESTS OFF CACHE BOOL "" FORCE)
  set(PNG_EXECUTABLES OFF CACHE BOOL "" FORCE)
  set(PNG_BUILD_ZLIB OFF CACHE BOOL "" FORCE)
  set(SKIP_INSTALL_ALL ON CACHE BOOL "" FORCE)
  add_subdirectory(${MORVEX_LIBPNG_SOURCE} ${CMAKE_BINARY_DIR}/_deps/libpng EXCLUDE_FROM_ALL)
  target_include_directories(morvex_png INTERFACE ${MORVEX_LIBPNG_SOURCE} ${CMAKE_BINARY_DIR}/_deps/libpng)
  target_link_libraries(morvex_png INTERFACE png_static ${ZLIB_LIBRARY})
else()
  find_package(PNG 1.6 REQUIRED)
  target_link_libraries(morvex_png INTERFACE PNG::PNG)
endif()

# --- VST 3 SDK -----------------------------------------------------------------------
set(VST3_SDK_ROOT /usr/share/juce/modules/juce_audio_processors/format_types/VST3_SDK
    CACHE PATH "VST 3 SDK root (the folder holding pluginterfaces, base and public.sdk)")
if(NOT EXISTS ${VST3_SDK_ROOT}/pluginterfaces/base/funknown.h)
  message(FATAL_ERROR "VST 3 SDK not found at VST3_SDK_ROOT=${VST3_SDK_ROOT}")
endif()
# The files the packaged subset ships; a full SDK checkout has them too.
set(vst3sdk_sources)
foreach(file
    base/source/baseiids.cpp base/source/fbuffer.cpp base/source/fdebug.cpp
    base/source/fobject.cpp base/source/fstreamer.cpp base/source/fstring.cpp
    base/source/updatehandler.cpp base/thread/source/flock.cpp
    pluginterfaces/base/conststringtable.cpp pluginterfaces/base/coreiids.cpp
    pluginterfaces/base/funknown.cpp pluginterfaces/base/ustring.cpp
    public.sdk/source/common/memorystream.cpp public.sdk/source/common/pluginview.cpp
    public.sdk/source/vst/vstbus.cpp public.sdk/source/vst/vstcomponent.cpp
    public.sdk/source/vst/vstcomponentbase.cpp public.sdk/source/vst/vsteditcontroller.cpp
    public.sdk/source/vst/vstinitiids.cpp public.sdk/source/vst/vstparameters.cpp
    public.sdk/source/vst/vstpresetfile.cpp)
  list(APPEND vst3sdk_sources ${VST3_SDK_ROOT}/${file})
endforeach()
# The packaged subset declares the editor-view interfaces but defines their IDs nowhere.
list(APPEND vst3sdk_sources ${PROJECT_SOURCE_DIR}/vst3/PlugViewIids.cpp)
add_library(morvex_vst3sdk STATIC ${vst3sdk_sources})
target_include_directories(morvex_vst3sdk SYSTEM PUBLIC ${VST3_SDK_ROOT})
target_compile_definitions(morvex_vst3sdk PUBLIC $<IF:$<CONFIG:Debug>,DEVELOPMENT=1,RELEASE=1>)
target_compile_options(morvex_vst3sdk PRIVATE -w)
if(WIN32)
  target_link_libraries(morvex_vst3sdk PUBLIC ole32 uuid)
else()
  find_package(Threads REQUIRED)
  target_link_libraries(morvex_vst3sdk PUBLIC Threads::Threads ${CMAKE_DL_LIBS})
endif()
