# The Debian package built by `make package` (cpack -G DEB): graphmat_<version>_<arch>.deb
# holding what `cmake --install` installs, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME graphmat)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "match class diagrams of two software versions by graph edit distance")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "graphmat matches two labelled, directed graphs - above all class diagrams of two\n\
versions of a software system - under a graph-edit-distance cost model, and writes\n\
the matching, its cost and the per-node and per-arc differences as CSV files.\n\
It also carries a greedy edge-subgraph matcher and benchmark graph generators.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "graphmat developers <graphmat@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The shared libraries the programs link (libc, libstdc++, libgcc) become versioned
# Depends through dpkg-shlibdeps. What an installed script calls at run time is added by
# its fragment: list(APPEND GRAPHMAT_DEB_DEPENDS "parallel").
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
list(JOIN GRAPHMAT_DEB_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
