# A Debian package of what the native build installs (velmora-scan and its manual page):
#   cpack --config build/native/CPackConfig.cmake
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora-scan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "command-line scanner for autorun malware on removable media")
set(CPACK_PACKAGE_DESCRIPTION
    "velmora-scan checks USB sticks, memory cards and folders for what autorun-style malware\n\
leaves behind, with the rules of the Velmora guard, and reports in lines or JSON.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmora developers <velmora@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
