# Cross trees: the plug-in DLLs, the tools and the Wine integration tests. The 32-bit tree
# (cmake/mingw32.cmake) builds both 32-bit DLLs, the 64-bit tree (cmake/mingw64.cmake) the 64-bit
# Quorvanelle.dll; the tools and tests are built in each for its own width.
include(gui/sources.cmake)
include(editor/sources.cmake)

set(QV_WINEPREFIX "${PROJECT_SOURCE_DIR}/build/wineprefix" CACHE PATH "Wine prefix the tests run in")
# The Wine loader of the tree's width: 64-bit programs go straight to wine64 rather than through
# the 32-bit loader, which would have to start it.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  find_program(QV_WINE_LOADER wine64 PATHS /usr/lib/wine REQUIRED NO_CMAKE_FIND_ROOT_PATH)
else()
  find_program(QV_WINE_LOADER wine REQUIRED NO_CMAKE_FIND_ROOT_PATH)
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE @ONLY)

enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${PROJECT_SOURCE_DIR}/resources")

# Everything is linked statically so that the DLLs import only Windows system libraries.
set(QV_STATIC_LINK -static -static-libgcc -static-libstdc++)

# Floating-point flavours of the DLLs. QV_DLLS names the DLL targets of this tree; the first is
# built as qv_product_sse, which the in-process Wine tests link.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  # The x86-64 baseline: doubles in SSE2 registers, nothing later (users' machines vary).
  set(QV_FLAGS_sse -march=x86-64 -mtune=generic -mfpmath=sse)
  set(QV_DLLS Quorvanelle)
  # 64-bit hosts look up "VSTPluginMain" first, then "main".
  set(QV_ENTRY_DEF shell/PluginEntry64.def)
else()
  set(QV_FLAGS_sse -march=pentium3 -mfpmath=sse -msse -mno-sse2)
  set(QV_FLAGS_x87 -march=i686 -mfpmath=387 -mno-mmx -mno-sse -mno-sse2)
  set(QV_DLLS Quorvanelle Quorvanelle_x87)
  set(QV_ENTRY_DEF shell/PluginEntry.def)
endif()

set(QV_PRODUCT_SOURCES
  ${QV_DSP_SOURCES} ${QV_PARAMS_SOURCES} ${QV_SHELL_CORE_SOURCES} ${QV_SHELL_PRODUCT_SOURCES}
  ${QV_GUI_SOURCES} ${QV_EDITOR_SOURCES})
set(QV_WIN32_LIBS gdi32 user32 ole32 shell32 uuid kernel32)

# qv_add_variant(suffix dllname): the whole product compiled with one set of FP flags.
#   qv_product_<suffix>: static library of every subsystem (also linked by the Wine unit tests)
#   <dllname>.dll: the plug-in, exporting only its entry point (QV_ENTRY_DEF)
function(qv_add_variant suffix dllname)
  add_library(qv_product_${suffix} STATIC ${QV_PRODUCT_SOURCES})
  target_include_directories(qv_product_${suffix} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(qv_product_${suffix} PUBLIC ${QV_FLAGS_${suffix}} PRIVATE ${QV_WARNINGS})
  target_compile_definitions(qv_product_${suffix} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX)
  target_link_libraries(qv_product_${suffix} PUBLIC ${QV_WIN32_LIBS})

  add_library(${dllname} SHARED ${QV_ENTRY_DEF} resources/Quorvanelle.rc)
  set_target_properties(${dllname} PROPERTIES PREFIX "" OUTPUT_NAME ${dllname}
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  target_link_libraries(${dllname} PRIVATE -Wl,--whole-archive qv_product_${suffix}
                        -Wl,--no-whole-archive ${QV_WIN32_LIBS})
  target_link_options(${dllname} PRIVATE ${QV_STATIC_LINK} ${QV_FLAGS_${suffix}}
                      -Wl,--exclude-all-symbols)
endfunction()

qv_add_variant(sse Quorvanelle)
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
  qv_add_variant(x87 Quorvanelle_x87)
endif()

# GoogleTest built from Debian's sources with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# qv_add_wine_test(name library sources...): a GoogleTest program run under Wine, linked to
# `library` (qv_product_sse, qv_product_x87 or qv_host). QV_BIN / QV_BIN_DIR name the folder of the
# built DLLs in Windows form; tests/wine/DllPaths.h lists the DLLs of the program's width.
function(qv_add_wine_test name library)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE ${library} gtest_main gmock)
  target_compile_options(${name} PRIVATE ${QV_WARNINGS})
  target_compile_definitions(${name} PRIVATE QV_BIN_DIR="Z:${CMAKE_BINARY_DIR}/bin")
  target_link_options(${name} PRIVATE ${QV_STATIC_LINK})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  add_dependencies(${name} ${QV_DLLS})
  # QV_WINE_TEST_PREFIX (set around the call) names a second build of the same tests apart.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 TEST_PREFIX "${QV_WINE_TEST_PREFIX}"
                       PROPERTIES ENVIRONMENT "QV_BIN=Z:${CMAKE_BINARY_DIR}/bin" TIMEOUT 120)
endfunction()

add_subdirectory(tools)
add_subdirectory(tests/wine)
add_subdirectory(tests/gui)
add_subdirectory(tests/resources)
add_subdirectory(tests/tools)
add_subdirectory(tests/builds)
