include(CMakePackageConfigHelpers)

install(TARGETS MolvikWizard EXPORT MolvikWizardTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(folder platform store forms control)
  file(GLOB headers ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  install(FILES ${headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/MolvikWizard/${folder})
endforeach()
install(EXPORT MolvikWizardTargets NAMESPACE MolvikWizard::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/MolvikWizard)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/MolvikWizardConfig.cmake.in
  ${CMAKE_BINARY_DIR}/MolvikWizardConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/MolvikWizard)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/MolvikWizardConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/MolvikWizardConfig.cmake ${CMAKE_BINARY_DIR}/MolvikWizardConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/MolvikWizard)
