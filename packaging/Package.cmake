# The Debian package (cpack -G DEB in the build folder; scripts/package does
# it): padocut_<version>_<arch>.deb with everything `cmake --install` puts
# under /usr, the programs stripped, and its library dependencies found by
# dpkg-shlibdeps from the programs and the output plug-in.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME padocut)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Pado Cutter developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "save the part of an MP3 file you choose, without re-encoding")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Pado Cutter developers <padocut@users.noreply.github.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PADOCUT_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Korean glyphs for the window (NanumGothic), and xdg-open for its help page.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-nanum, xdg-utils")
# The long description (CPack puts the summary above it and indents it).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Pado Cutter (파도오디오 자르개) shows the waveform of an MP3 file, plays it,
and saves the stretch marked with the mouse as a new MP3 file made of the
original's frames, copied byte for byte: nothing is encoded again. Cuts
are exact to the frame, or to the sample for gapless players; the tags are
carried over and the cut gets a fresh length header.

padocut-cli does the same from scripts and describes MP3 files (stream
details, byte offsets, waveform peaks, tags, decoded PCM).

The window is in Korean or English, following the user's language.")
include(CPack)
