# `cpack -G DEB` in the build tree makes two packages from the install rules:
#   veltrane_<version>_<arch>.deb      the program on the desktop's menu through
#                                      its .desktop entry, its resources and the
#                                      component's libraries (install components
#                                      "Unspecified" and "qelpop3")
#   veltrane-dev_<version>_<arch>.deb  what a program is built against the
#                                      component with: its headers and qelpop3.pc
#                                      ("qelpop3_dev"), needing the first at the
#                                      same version
# The libraries the program links are declared as dependencies by
# dpkg-shlibdeps; what it only starts (the desktop's opener) or reads (the
# face its windows are drawn in) is declared by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrane)
set(CPACK_PACKAGE_VENDOR "Veltrane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "E-mail notifier for the tray that watches POP3 accounts")
set(CPACK_PACKAGE_DESCRIPTION
    "Veltrane watches several POP3 accounts on a schedule, lists their messages, applies the user's rules\n(delete on the server, mark as spam) and tells the user by pop-up, tray icon and sound.")
set(CPACK_PACKAGE_CONTACT "Veltrane developers <veltrane@localhost>")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Unspecified qelpop3 qelpop3_dev)
set(CPACK_COMPONENTS_GROUPING ONE_PER_GROUP)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME veltrane)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SHLIBDEPS ON)
# Each description follows the summary line, which both packages share.
set(CPACK_DEBIAN_PROGRAM_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME veltrane-dev)
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
    "Development files of Veltrane's POP3 component: the C++ headers of the qelPop3 POP3 client\ncomponent and its pkg-config file, qelpop3.pc, to build programs that create and drive the\ncomponent installed with Veltrane.")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "veltrane (= ${PROJECT_VERSION})")
# The program's own libraries live in <libdir>/veltrane and are found by
# RUNPATH; dpkg-shlibdeps resolves them there instead of in other packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/component/qelpop3 ${CMAKE_BINARY_DIR}/platform/com)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS "xdg-utils, qt6-qpa-plugins, libqt6svg6, fonts-wine")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
cpack_add_component_group(program)
cpack_add_component_group(development)
cpack_add_component(Unspecified GROUP program)
cpack_add_component(qelpop3 GROUP program)
cpack_add_component(qelpop3_dev GROUP development)
