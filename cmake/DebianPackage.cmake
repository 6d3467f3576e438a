# make deb: typoscan-zindel_<version>_<arch>.deb of the installed layout under
# /usr. The library dependencies come from the binaries (dpkg-shlibdeps); the
# MIME, desktop, icon and manual-page caches are refreshed by the triggers of
# the packages that own them, so the package has no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME typoscan-zindel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quillmoor)
set(CPACK_PACKAGE_CONTACT "Typoscan Zindel developers <typoscan-zindel@example.org>" CACHE STRING
  "Maintainer of the Debian package")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "font collection manager and sample sheet maker")
set(CPACK_PACKAGE_DESCRIPTION "Typoscan Zindel gathers font files into font lists: TrueType files and
collections, OpenType fonts with TrueType outlines, fonts inside ZIP, LZH,
CAB and self-extracting archives, Macintosh font files and the installed
fonts. Lists are sorted, searched and saved as .tzl files, and turned into
sample sheets that are shown, printed, exported as images or written as PDF
catalogs. The user interface is in Japanese.

The tzind command does the same work from the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TZ_PROJECT_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libarchive is opened at run time (LZH, CAB and self-extracting archives);
# the Japanese texts of the windows need a Japanese font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libarchive13, fonts-ipafont-gothic | fonts-vlgothic | fonts-noto-cjk")
include(CPack)
