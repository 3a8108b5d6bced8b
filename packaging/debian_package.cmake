# The Debian package: `cpack -G DEB` in a build folder (scripts/package.sh) packs what the
# install rules put under /usr. Its dependencies on the Qt 6 and C++ runtime libraries are
# worked out by dpkg-shlibdeps from the programs themselves, so a library a program starts
# to link is declared without anyone listing it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brevandor)
set(CPACK_PACKAGE_VENDOR "The Brevandor developers")
set(CPACK_PACKAGE_CONTACT "The Brevandor developers <developers@brevandor.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "distance spectrum and bit-error-rate bounds of turbo codes")
set(CPACK_PACKAGE_DESCRIPTION
    "Brevandor computes the average distance spectrum of a parallel or serial turbo code over
uniform interleavers, for systematic convolutional constituent codes given as polynomials
or a standard code by name, and the bounds on the error probability of maximum-likelihood
decoding that follow from it, beside simulated iterative decoding. The package holds the desktop program (brevandor), the
command-line program (brevandor-cli), their manual pages and the menu entry.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://brevandor.example.org")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
