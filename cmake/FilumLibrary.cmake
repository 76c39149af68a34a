# filum_library_frame(target BASE name HEADER path INCLUDE dir): what every installed filum
# library above the core shares: its export macro header (<BASE>_API, generated at
# include/<HEADER>), its public include folder, the static-build define, the version and
# SONAME, the library folder as run path, and the project's warnings.
function(filum_library_frame target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "BASE;HEADER;INCLUDE" "")
  add_library(vorn::${target} ALIAS ${target})
  generate_export_header(${target}
    BASE_NAME ${arg_BASE}
    EXPORT_MACRO_NAME ${arg_BASE}_API
    EXPORT_FILE_NAME ${PROJECT_BINARY_DIR}/include/${arg_HEADER})
  target_include_directories(${target} PUBLIC
    $<BUILD_INTERFACE:${arg_INCLUDE}>
    $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/include>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  if(NOT BUILD_SHARED_LIBS)
    target_compile_definitions(${target} PUBLIC ${arg_BASE}_STATIC_DEFINE)
  endif()
  set_target_properties(${target} PROPERTIES
    EXPORT_NAME ${target}
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR})
  if(NOT APPLE)
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
  endif()
  filum_set_warnings(${target})
  install(DIRECTORY ${arg_INCLUDE}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
endfunction()
