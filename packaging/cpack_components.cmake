# Read by cpack for each generator: the Windows zip takes the "windows" component alone,
# the Debian package the "deb" component alone (packaging/debian.cmake).
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_VELMOR_BUILD_DIR};Velmor;deb;/")
else()
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_VELMOR_BUILD_DIR};Velmor;windows;/")
endif()
