# What `cmake --install` puts in place:
#   bin/veltrane                      the program (when the tree builds it)
#   lib/veltrane/libqelpop3.so        the POP3 component
#   lib/veltrane/libplatform_com.so   the activation table and interfaces both share
#   share/veltrane/{icons,help,Sounds}  read-only resources (InstallDataFolder)
#   share/applications/veltrane.desktop, share/icons/hicolor/scalable/apps/veltrane.svg
# The program and both libraries find each other through RUNPATHs relative to
# their own place ($ORIGIN), so an install works wherever its prefix lies and
# never looks into the build tree. The component is loaded with dlopen from
# libplatform_com.so, which searches its own RUNPATH: the bare name
# "libqelpop3.so" resolves there in an install, and in the build tree through
# the build RUNPATH added below.
include(GNUInstallDirs)

set(VELTRANE_LIB_DESTINATION ${CMAKE_INSTALL_LIBDIR}/veltrane)
set(VELTRANE_DATA_DESTINATION ${CMAKE_INSTALL_DATADIR}/veltrane)
file(RELATIVE_PATH bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/veltrane)

set_target_properties(platform_com qelpop3 PROPERTIES INSTALL_RPATH "$ORIGIN")
set_property(TARGET platform_com APPEND PROPERTY BUILD_RPATH "$<TARGET_FILE_DIR:qelpop3>")
install(TARGETS platform_com LIBRARY DESTINATION ${VELTRANE_LIB_DESTINATION})

if(TARGET veltrane)
  set_target_properties(veltrane PROPERTIES INSTALL_RPATH "$ORIGIN/${bin_to_lib}")
  install(TARGETS veltrane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/icons ${PROJECT_SOURCE_DIR}/data/help ${PROJECT_SOURCE_DIR}/data/Sounds
        DESTINATION ${VELTRANE_DATA_DESTINATION})
install(FILES ${PROJECT_SOURCE_DIR}/data/veltrane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/TrayNormal.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME veltrane.svg)
