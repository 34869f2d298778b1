# The Debian package "orvane", made by CPack from what `cmake --install`
# installs (`make package`, or `cmake --build BUILD --target package`). Its
# dependencies on the Qt 6 runtime are read off the installed programs and the
# library by dpkg-shlibdeps; what they load without linking is named here.
set(ORVANE_PACKAGE_MAINTAINER "Orvane developers <developers@orvane.example>"
    CACHE STRING "The Maintainer line of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR "the Orvane developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "check HTML pages for accessibility problems and repair them")
set(CPACK_PACKAGE_DESCRIPTION
  "Orvane checks HTML pages against WCAG 1.0 (levels A, AA and AAA) and
Section 508, with the priorities also given in BITV terms, and guides the
user through repairing each problem in a wizard of repair pages.

The package holds the checker library libORVANE.so with its C interface and
header, the desktop program Tamsel that browses a site's folders and checks
their pages, the command-line checker orvane for batch and CI use (text, JSON,
SARIF, JUnit and HTML reports), their resource bundles and help, and an
example host of the library.")
set(CPACK_PACKAGE_CONTACT "${ORVANE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debugging information stays in the build folder: a package of the
# unstripped programs is several times as large.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORVANE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The help collections (Orvane.qhc, Tamsel.qhc) are SQLite databases, which
# Qt's help reads through its driver plugin, which nothing links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
# Qt's own dialogs in German.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")

include(CPack)
