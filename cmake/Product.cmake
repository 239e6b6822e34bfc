# Cross tree: both plug-in DLLs, the tools and the Wine integration tests.
include(gui/sources.cmake)
include(editor/sources.cmake)

set(QV_WINEPREFIX "${PROJECT_SOURCE_DIR}/build/wineprefix" CACHE PATH "Wine prefix the tests run in")
configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE @ONLY)

enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${PROJECT_SOURCE_DIR}/resources")

# Everything is linked statically so that the DLLs import only Windows system libraries.
set(QV_STATIC_LINK -static -static-libgcc -static-libstdc++)

# Floating-point flavours of the two deliverables.
set(QV_FLAGS_sse -march=pentium3 -mfpmath=sse -msse -mno-sse2)
set(QV_FLAGS_x87 -march=i686 -mfpmath=387 -mno-mmx -mno-sse -mno-sse2)

set(QV_PRODUCT_SOURCES
  ${QV_DSP_SOURCES} ${QV_PARAMS_SOURCES} ${QV_SHELL_CORE_SOURCES} ${QV_SHELL_PRODUCT_SOURCES}
  ${QV_GUI_SOURCES} ${QV_EDITOR_SOURCES})
set(QV_WIN32_LIBS gdi32 user32 ole32 shell32 uuid kernel32)

# qv_add_variant(suffix dllname): the whole product compiled with one set of FP flags.
#   qv_product_<suffix>: static library of every subsystem (also linked by the Wine unit tests)
#   <dllname>.dll: the plug-in, exporting only "main"
function(qv_add_variant suffix dllname)
  add_library(qv_product_${suffix} STATIC ${QV_PRODUCT_SOURCES})
  target_include_directories(qv_product_${suffix} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(qv_product_${suffix} PUBLIC ${QV_FLAGS_${suffix}} PRIVATE ${QV_WARNINGS})
  target_compile_definitions(qv_product_${suffix} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX)
  target_link_libraries(qv_product_${suffix} PUBLIC ${QV_WIN32_LIBS})

  add_library(${dllname} SHARED shell/PluginEntry.def resources/Quorvanelle.rc)
  set_target_properties(${dllname} PROPERTIES PREFIX "" OUTPUT_NAME ${dllname}
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  target_link_libraries(${dllname} PRIVATE -Wl,--whole-archive qv_product_${suffix}
                        -Wl,--no-whole-archive ${QV_WIN32_LIBS})
  target_link_options(${dllname} PRIVATE ${QV_STATIC_LINK} ${QV_FLAGS_${suffix}}
                      -Wl,--exclude-all-symbols)
endfunction()

qv_add_variant(sse Quorvanelle)
qv_add_variant(x87 Quorvanelle_x87)

# GoogleTest built from Debian's sources with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# qv_add_wine_test(name library sources...): a GoogleTest program run under Wine, linked to
# `library` (qv_product_sse, qv_product_x87 or qv_host). QV_BIN / QV_BIN_DIR name the folder of the
# built DLLs in Windows form.
function(qv_add_wine_test name library)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE ${library} gtest_main gmock)
  target_compile_options(${name} PRIVATE ${QV_WARNINGS})
  target_compile_definitions(${name} PRIVATE QV_BIN_DIR="Z:${CMAKE_BINARY_DIR}/bin")
  target_link_options(${name} PRIVATE ${QV_STATIC_LINK})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  add_dependencies(${name} Quorvanelle Quorvanelle_x87)
  # QV_WINE_TEST_PREFIX (set around the call) names a second build of the same tests apart.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 TEST_PREFIX "${QV_WINE_TEST_PREFIX}"
                       PROPERTIES ENVIRONMENT "QV_BIN=Z:${CMAKE_BINARY_DIR}/bin" TIMEOUT 120)
endfunction()

add_subdirectory(tools)
add_subdirectory(tests/wine)
add_subdirectory(tests/gui)
add_subdirectory(tests/resources)
add_subdirectory(tests/tools)
