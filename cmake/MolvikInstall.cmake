include(CMakePackageConfigHelpers)

# The route test's library beside the control's, where the control looks for it.
install(TARGETS MolvikWizard MolvikRouteTest EXPORT MolvikWizardTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The headers a host needs, and no more: the control, the form context and the
# seams a host may pass, the route record and store, the dialog wrapper, the
# route test.
set(MOLVIK_PUBLIC_HEADERS
  control/Molvik4.h control/MolvikWizard.h
  dialogs/clsDialog.h
  forms/Form.h forms/FormContext.h forms/FormServices.h forms/MessageBoxes.h forms/ModalRunner.h
  forms/SystemDialogs.h
  platform/DurableWrite.h platform/Environment.h platform/FileSystem.h platform/IoResult.h platform/MolvikExport.h
  platform/OsVersionInfo.h
  probe/RouteTest.h
  store/RouteDef.h store/RouteStore.h)
foreach(header ${MOLVIK_PUBLIC_HEADERS})
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${CMAKE_SOURCE_DIR}/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/MolvikWizard/${folder})
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
