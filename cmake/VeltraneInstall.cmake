# What `cmake --install` puts in place:
#   bin/veltrane                      the program (when the tree builds it)
#   lib/veltrane/libqelpop3.so        the POP3 component
#   lib/veltrane/libplatform_com.so   the activation table and interfaces both share
#   share/veltrane/{icons,help,Sounds}  read-only resources (InstallDataFolder)
#   share/applications/veltrane.desktop, share/icons/hicolor/scalable/apps/veltrane.svg
# The program and both libraries find each other through RUNPATHs relative to
# their own place ($ORIGIN), so an install works wherever its prefix lies and
# never looks into the build tree. The program loads the component by its full
# path in platform::store::InstallLibraryFolder() (a bare name would be looked
# up in the RUNPATH of whoever calls dlopen, which the sanitizers' interceptor
# hides); from a build tree it names the built library.
set(VELTRANE_LIB_DESTINATION ${CMAKE_INSTALL_LIBDIR}/veltrane)
set(VELTRANE_DATA_DESTINATION ${CMAKE_INSTALL_DATADIR}/veltrane)

# (The two libraries are installed by component/qelpop3, as its component "qelpop3".)
set_target_properties(platform_com qelpop3 PROPERTIES INSTALL_RPATH "$ORIGIN")

if(TARGET veltrane)
  set_target_properties(veltrane PROPERTIES INSTALL_RPATH "$ORIGIN/${VELTRANE_BIN_TO_LIBRARIES}")
  install(TARGETS veltrane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/icons ${PROJECT_SOURCE_DIR}/data/help ${PROJECT_SOURCE_DIR}/data/Sounds
        DESTINATION ${VELTRANE_DATA_DESTINATION})
install(FILES ${PROJECT_SOURCE_DIR}/data/ReadMe.txt DESTINATION ${VELTRANE_DATA_DESTINATION})
install(FILES ${PROJECT_SOURCE_DIR}/data/veltrane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/TrayNormal.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME veltrane.svg)
