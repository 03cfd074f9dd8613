# `cpack -G DEB` in the build tree makes veltrane_<version>_<arch>.deb from the
# install rules: the program on the desktop's menu through its .desktop entry,
# its resources, the component and its development files. The libraries the
# program links are declared as dependencies by dpkg-shlibdeps; what it only
# starts (the desktop's opener) or reads (the face its windows are drawn in)
# is declared by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrane)
set(CPACK_PACKAGE_VENDOR "Veltrane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "E-mail notifier for the tray that watches POP3 accounts")
set(CPACK_PACKAGE_DESCRIPTION
    "Veltrane watches several POP3 accounts on a schedule, lists their messages, applies the user's rules\n(delete on the server, mark as spam) and tells the user by pop-up, tray icon and sound.")
set(CPACK_PACKAGE_CONTACT "Veltrane developers <veltrane@localhost>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program's own libraries live in <libdir>/veltrane and are found by
# RUNPATH; dpkg-shlibdeps resolves them there instead of in other packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/component/qelpop3 ${CMAKE_BINARY_DIR}/platform/com)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils, qt6-qpa-plugins, libqt6svg6, fonts-wine")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
