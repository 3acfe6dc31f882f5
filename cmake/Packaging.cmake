# cpack -G DEB: a Debian package of what `cmake --install` puts in place.
# Its dependencies come from the programs' shared libraries, so they name
# the Qt 6 libraries the build linked against.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME olmirafm)
set(CPACK_PACKAGE_CONTACT "${OLMIRAFM_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Dateimanager für die Laufwerke eines Linux-Receivers")
set(CPACK_PACKAGE_DESCRIPTION [[
Meldet sich über Telnet an der Box an, einem Linux-Receiver, zeigt zwei
der Laufwerke, die sie unter /var/media eingebunden hat, nebeneinander
und lässt die Box Dateien und Ordner selbst kopieren, ohne dass Daten
über den PC laufen.
Dazu gehört olmirafm-cli: dieselbe Sitzung ohne Fenster, für Skripte.]])
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${OLMIRAFM_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt draws the SVG pictures through a plugin of this library, which no link
# of the programs shows; Qt's own dialogs speak German with the other.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-translations-l10n")
include(CPack)
