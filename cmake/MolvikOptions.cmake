# One interface target carries the warnings, the Qt defines and the sanitizer
# flags for every module, so no module can drift from them.
add_library(molvik_options INTERFACE)
target_compile_options(molvik_options INTERFACE
  -Wall -Wextra -Wpedantic -Wold-style-cast -Werror)
target_compile_definitions(molvik_options INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_USE_QSTRINGBUILDER)
if(MOLVIK_SANITIZE)
  target_compile_options(molvik_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(molvik_options INTERFACE -fsanitize=address,undefined)
endif()
if(MOLVIK_FUZZ_FLAGS)
  target_compile_options(molvik_options INTERFACE ${MOLVIK_FUZZ_FLAGS})
endif()

# Adds a module library: one folder, one target, exported under the package.
function(molvik_add_module name)
  cmake_parse_arguments(M "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} ${M_SOURCES})
  add_library(MolvikWizard::${name} ALIAS ${name})
  target_link_libraries(${name} PUBLIC ${M_PUBLIC_LIBS} PRIVATE molvik_options ${M_PRIVATE_LIBS})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/MolvikWizard>)
  # Every module ends up inside the one shared library: hidden by default, so
  # its ABI is exactly what carries MOLVIK_EXPORT.
  target_compile_definitions(${name} PRIVATE MOLVIK_BUILDING_LIBRARY)
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endfunction()
