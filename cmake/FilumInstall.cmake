# Installs the libraries, headers, the CMake package (vorn::filum, vorn::tessa,
# vorn::dense) and the pkg-config file filum.pc.
include(CMakePackageConfigHelpers)

install(TARGETS vorn_dense vorn_tessa filum filum_network filum_io
  EXPORT filumTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/ ${PROJECT_BINARY_DIR}/include/
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h")

set(FILUM_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/filum)
install(EXPORT filumTargets NAMESPACE vorn:: DESTINATION ${FILUM_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/filumConfig.cmake.in
  ${PROJECT_BINARY_DIR}/filumConfig.cmake
  INSTALL_DESTINATION ${FILUM_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/filumConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/filumConfig.cmake ${PROJECT_BINARY_DIR}/filumConfigVersion.cmake
  DESTINATION ${FILUM_CMAKE_DIR})

# The .pc file finds its prefix from its own place, so the tree can be installed anywhere.
file(RELATIVE_PATH FILUM_PC_TO_PREFIX "/root/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/root")
configure_file(${PROJECT_SOURCE_DIR}/cmake/filum.pc.in ${PROJECT_BINARY_DIR}/filum.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/filum.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
