# The Debian package, built by `cpack -G DEB` in a build tree configured with
# the prefix the package installs into (kalvo.sh package uses /usr), so that
# the program knows its installed bin folder.
set(KALVO_PACKAGE_MAINTAINER "Kalvo Project <kalvo@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvo)
set(CPACK_PACKAGE_VENDOR "${KALVO_COMPANY_NAME}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KALVO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links, found by dpkg-shlibdeps, a Gothic font for
# the Japanese texts of the windows, and Qt's own Japanese texts (its buttons
# and dialogs).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The certificates let the lookup reach MusicBrainz over HTTPS.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n, ca-certificates")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ID3v1.1 tag editor for the MP3 files of a CD")
set(CPACK_PACKAGE_DESCRIPTION "Kalvo edits the ID3 version 1.1 tag, the 128-byte block at the end of an
MP3 file, of the files ripped from one audio CD: edit one tag after another,
number the tracks, fill whole columns at once, save, and rename the files
from their tags. Tag text is kept in the CP932 (Shift-JIS) code page, so
Japanese titles read and write the way Windows tools expect. Saving and
numbering write only the 128-byte block. Saving into the ID3v2 tags too
also writes the tag at the front of the file: a file whose ID3v2 tag changes
is written anew beside the old one and takes its place. The audio bytes
never change. Kalvo can look the CD up at MusicBrainz (musicbrainz.org)
from the files' exact lengths; it talks to the network only then.")
include(CPack)
