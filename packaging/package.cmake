# The Debian package: `cpack -G DEB` in a build folder makes kestrel_<version>_<arch>.deb from what
# `cmake --install` installs, under /usr. Its dependencies are read from the libraries the program
# links (dpkg-shlibdeps), plus what is loaded without being linked.

set(CPACK_PACKAGE_NAME "kestrel")
set(CPACK_PACKAGE_VENDOR "Kestrel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "video and audio tools behind one home screen")
set(CPACK_PACKAGE_DESCRIPTION
    "Kestrel is a suite of twenty video and audio tools: cutters, joiner, splitter, crop, watermark, subtitle, music, filter, speed, rotation, picture-in-picture, reverse, image enhancement, split-screen collage, GIF maker, video to pictures, 3D converter and face beauty. Pick a file, set a range or an effect with a live preview, export a finished file.")
if(KESTREL_SUPPORT_EMAIL)
  set(CPACK_PACKAGE_CONTACT "Kestrel developers <${KESTREL_SUPPORT_EMAIL}>")
else()
  set(CPACK_PACKAGE_CONTACT "Kestrel developers")
endif()
set(CPACK_PACKAGE_INSTALL_DIRECTORY "kestrel")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")

set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "video")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, never linked: Qt's window-system plugins. The face model, Qt's own
# translations and the CJK and Arabic fonts make the program whole without being required.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libdlib-data, qt6-translations-l10n, fonts-noto-core, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
