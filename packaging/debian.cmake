# The Debian package (scripts/package, cpack -G DEB): both widths of the program and of its
# Win32 companions, the run command's scripts, /usr/bin/velmor, the menu entry, icons,
# AppStream metainfo, man page, copyright and changelog, in the "deb" component.
set(PKG ${CMAKE_SOURCE_DIR}/packaging)
set(PKG_OUT ${CMAKE_BINARY_DIR}/packaging)

# The package's version is the changelog's top entry: the program's version and a Debian
# revision. Its date is the release date in the metainfo.
file(STRINGS ${PKG}/changelog CHANGELOG_TOP LIMIT_COUNT 1)
string(REGEX REPLACE "^velmor \\(([^)]+)\\).*" "\\1" VELMOR_DEB_VERSION "${CHANGELOG_TOP}")
if(NOT VELMOR_DEB_VERSION MATCHES "^${VELMOR_VERSION}-[0-9]+$")
  message(FATAL_ERROR "packaging/changelog's top entry is ${VELMOR_DEB_VERSION}, res/version.h says ${VELMOR_VERSION}")
endif()
file(STRINGS ${PKG}/changelog CHANGELOG_TRAILER REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX MATCH "([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9])" _ "${CHANGELOG_TRAILER}")
set(day ${CMAKE_MATCH_1})
set(year ${CMAKE_MATCH_3})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
math(EXPR month "${month} + 1")
string(REGEX REPLACE "^([0-9])$" "0\\1" month "${month}")
string(REGEX REPLACE "^([0-9])$" "0\\1" day "${day}")
set(VELMOR_RELEASE_DATE "${year}-${month}-${day}")

# Where the project is published (the metainfo's screenshots are fetched from there), and
# the AppStream id made from that address.
set(VELMOR_HOMEPAGE "https://velmor.example" CACHE STRING "the project's web page")
set(VELMOR_APPSTREAM_ID example.velmor.velmor)

configure_file(${PKG}/velmor.in ${PKG_OUT}/velmor @ONLY)
configure_file(${PKG}/velmor.metainfo.xml.in ${PKG_OUT}/${VELMOR_APPSTREAM_ID}.metainfo.xml @ONLY)

# The hicolor icons, from the program's own icon 118: its 16 and 32 pixel images, and the
# 32 pixel one scaled to 48.
find_program(CONVERT convert REQUIRED)
set(ICON ${CMAKE_SOURCE_DIR}/res/velmor.ico)
set(ICONS)
foreach(size_frame_scale 16:1:16 32:0:32 48:0:48)
  string(REPLACE ":" ";" sfs ${size_frame_scale})
  list(GET sfs 0 size)
  list(GET sfs 1 frame)
  add_custom_command(OUTPUT ${PKG_OUT}/icons/${size}/velmor.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PKG_OUT}/icons/${size}
    COMMAND ${CONVERT} "${ICON}[${frame}]" -resize ${size}x${size} -strip PNG32:${PKG_OUT}/icons/${size}/velmor.png
    DEPENDS ${ICON})
  list(APPEND ICONS ${PKG_OUT}/icons/${size}/velmor.png)
  install(FILES ${PKG_OUT}/icons/${size}/velmor.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps COMPONENT deb)
endforeach()

# Debian's compressed man page and changelog: gzip -n, so no time stamp in them.
add_custom_command(OUTPUT ${PKG_OUT}/velmor.1.gz
  COMMAND gzip -9n -c ${PKG}/velmor.1 > ${PKG_OUT}/velmor.1.gz DEPENDS ${PKG}/velmor.1)
add_custom_command(OUTPUT ${PKG_OUT}/changelog.Debian.gz
  COMMAND gzip -9n -c ${PKG}/changelog > ${PKG_OUT}/changelog.Debian.gz DEPENDS ${PKG}/changelog)
add_custom_target(debian_files ALL DEPENDS ${ICONS} ${PKG_OUT}/velmor.1.gz ${PKG_OUT}/changelog.Debian.gz)

# The programs of each width with their companions, where the launcher picks them.
install(TARGETS velmor velmor-panels velmor-ontop RUNTIME DESTINATION lib/velmor/win32 COMPONENT deb
  PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${VELMOR_TWIN_DIR}/velmor.exe ${VELMOR_TWIN_DIR}/velmor-panels.exe
  ${VELMOR_TWIN_DIR}/velmor-ontop.exe DESTINATION lib/velmor/win64 COMPONENT deb)
# The run command's scripts, in the same places relative to each other as in a checkout.
install(FILES ${CMAKE_SOURCE_DIR}/scripts/common.sh DESTINATION share/velmor/scripts COMPONENT deb)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/scripts/run_velmor.sh DESTINATION share/velmor/scripts COMPONENT deb)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/companions.sh ${CMAKE_SOURCE_DIR}/desktop/strut.py
  ${CMAKE_SOURCE_DIR}/desktop/stacking.py DESTINATION share/velmor/desktop COMPONENT deb)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/desktop/close_bar.py DESTINATION share/velmor/desktop COMPONENT deb)
install(PROGRAMS ${PKG_OUT}/velmor DESTINATION bin COMPONENT deb)
install(FILES ${PKG}/velmor.desktop DESTINATION share/applications COMPONENT deb)
install(FILES ${PKG_OUT}/${VELMOR_APPSTREAM_ID}.metainfo.xml DESTINATION share/metainfo COMPONENT deb)
install(FILES ${PKG_OUT}/velmor.1.gz DESTINATION share/man/man1 COMPONENT deb)
install(FILES ${PKG}/copyright ${PKG_OUT}/changelog.Debian.gz DESTINATION share/doc/velmor COMPONENT deb)
install(FILES ${PKG}/lintian-overrides DESTINATION share/lintian/overrides RENAME velmor COMPONENT deb)

set(CPACK_DEBIAN_PACKAGE_NAME velmor)
set(CPACK_DEBIAN_PACKAGE_VERSION ${VELMOR_DEB_VERSION})
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmor maintainers <maintainers@users.noreply.c-seed-787f733f.example>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VELMOR_HOMEPAGE})
# What the launcher and the companions run: Wine, Python with its X library, xprop and
# xdpyinfo, xdotool (awk is there on every Debian system, and lintian rejects it here).
# Wine's 32-bit half runs the shipped program; without it the 64-bit build runs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "wine, python3, python3-xlib, x11-utils, xdotool")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "wine32, fonts-liberation")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "world clock in a bar at the edge of the screen")
set(CPACK_PACKAGE_DESCRIPTION "Velmor shows four clocks, each set to one of 58 time zones, in one bar
that docks along the top or bottom edge of the screen or floats as a small
window with an icon in the notification area. A map of the world picks each
clock's zone.
.
Velmor is a program for Windows 95 and NT 4.0; this package runs it under
Wine on an X desktop, with companions that keep the bar's strip free of
maximised windows and keep it on top. The velmor command keeps its settings
in ~/.config/velmor.")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
  GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
