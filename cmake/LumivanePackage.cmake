# The Debian package: `cpack -G DEB` in the build folder (or scripts/package.sh).
# Library dependencies come from dpkg-shlibdeps; the rest are what Qt loads at run time.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumivane)
set(CPACK_PACKAGE_VENDOR "The Lumivane developers")
set(CPACK_PACKAGE_CONTACT "The Lumivane developers <dev@lumivane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "floating always-on-top media and web player")
set(CPACK_PACKAGE_DESCRIPTION "Lumivane keeps video, music and web pages in small floating,
always-on-top windows above your other work. Local files and direct media
links play in libmpv; other web pages play in a built-in web engine whose
page scripts find the page's main video and take over its controls.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://lumivane.org/")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SVG icon engine, and the web engine's helper process and resources.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, libqt6webenginecore6-bin, libqt6webengine6-data")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "yt-dlp, vlc | mpv")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Packaging builds only what it installs, not the test suites.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
