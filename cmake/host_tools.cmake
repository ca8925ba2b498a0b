# SPDX-License-Identifier: GPL-2.0-or-later
# In a cross build the picture renderer and the maker of the tests' pictures are built for this
# machine (host_tools/), as a project of their own, and run here. Sets QUORVEL_HOST_TOOLS (the
# folder of the programs) and the target host_tools that builds them.
include(ExternalProject)
set(QUORVEL_HOST_TOOLS ${PROJECT_BINARY_DIR}/host_tools CACHE INTERNAL "")
ExternalProject_Add(host_tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/cmake/host_tools
    BINARY_DIR ${QUORVEL_HOST_TOOLS}
    CMAKE_ARGS -DQUORVEL_SOURCE_DIR=${PROJECT_SOURCE_DIR} -DCMAKE_BUILD_TYPE=Release
               -DQUORVEL_TEST_PICTURES=${BUILD_TESTING}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${QUORVEL_HOST_TOOLS}/render_pictures ${QUORVEL_HOST_TOOLS}/make_test_pictures)
