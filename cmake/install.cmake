# Installing Reelwright as a desktop program, and its Debian package (cpack, or the "package"
# target). The ready program folder is installed whole, whatever it holds at build time, as
# /usr/lib/reelwright: a private folder of the package, beside which nothing else is installed.
# The program finds everything relative to its own folder, so /usr/bin/reelwright is a link to it.
# When the program folder cannot be written (the installed case), the program keeps its settings
# and its encoder's progress file in the user's folders (platform/user_files.h).
include_guard(GLOBAL)

set(REELWRIGHT_INSTALL_DIR lib/reelwright)
set(PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${PACKAGING_OUT})

# The program folder. Files the program writes for itself while it runs from build/reelwright/
# (a portable copy) belong to whoever ran it there, not to the package.
install(DIRECTORY ${PROGRAM_DIR}/
  DESTINATION ${REELWRIGHT_INSTALL_DIR}
  USE_SOURCE_PERMISSIONS
  REGEX "^${PROGRAM_DIR}/(reelwright\\.ini|affiliate\\.cfg|stat)$" EXCLUDE)
# In its place the shipped presets: what every user starts with until they keep their own.
install(FILES ${CMAKE_SOURCE_DIR}/res/reelwright.ini DESTINATION ${REELWRIGHT_INSTALL_DIR})

# install(DIRECTORY) copies files as they are: strip the programs in it when asked (cpack does).
install(CODE [[
  if(CMAKE_INSTALL_DO_STRIP)
    file(GLOB_RECURSE installed LIST_DIRECTORIES false
      "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/lib/reelwright/*")
    foreach(path IN LISTS installed)
      if(NOT IS_SYMLINK "${path}")
        file(READ "${path}" magic LIMIT 4 HEX)
        if(magic STREQUAL "7f454c46")
          execute_process(COMMAND strip --strip-unneeded --remove-section=.comment
            --remove-section=.note "${path}" COMMAND_ERROR_IS_FATAL ANY)
        endif()
      endif()
    endforeach()
  endif()
]])

# The commands on the PATH: links into the program folder.
file(CREATE_LINK ../lib/reelwright/reelwright ${PACKAGING_OUT}/reelwright SYMBOLIC)
file(CREATE_LINK ../lib/reelwright/reelwright-batch ${PACKAGING_OUT}/reelwright-batch SYMBOLIC)
install(FILES ${PACKAGING_OUT}/reelwright ${PACKAGING_OUT}/reelwright-batch DESTINATION bin)

# The menu entry, the project file type, the software-centre description and the manual page.
install(FILES ${PACKAGING_DIR}/reelwright.desktop DESTINATION share/applications)
install(FILES ${PACKAGING_DIR}/reelwright-mime.xml
  DESTINATION share/mime/packages RENAME reelwright.xml)
install(FILES ${PACKAGING_DIR}/org.reelwright.Reelwright.metainfo.xml DESTINATION share/metainfo)

# The icon at the usual sizes, drawn by the skin generator like every other picture.
set(DESKTOP_ICONS_DIR ${PACKAGING_OUT}/icons)
add_custom_command(
  OUTPUT ${DESKTOP_ICONS_DIR}/256x256/apps/reelwright.png
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
    $<TARGET_FILE:reelwright_skin> --fonts ${DEJAVU_FONT_DIR} --icons ${DESKTOP_ICONS_DIR}
  DEPENDS reelwright_skin
  COMMENT "Drawing the desktop icons"
  VERBATIM)

# Debian wants the manual page and the changelog compressed, without a time stamp.
foreach(document reelwright.1 reelwright-batch.1 changelog)
  add_custom_command(
    OUTPUT ${PACKAGING_OUT}/${document}.gz
    COMMAND gzip -9nc ${PACKAGING_DIR}/${document} > ${PACKAGING_OUT}/${document}.gz
    DEPENDS ${PACKAGING_DIR}/${document}
    VERBATIM)
endforeach()
add_custom_target(reelwright_desktop_files ALL DEPENDS
  ${DESKTOP_ICONS_DIR}/256x256/apps/reelwright.png
  ${PACKAGING_OUT}/reelwright.1.gz ${PACKAGING_OUT}/reelwright-batch.1.gz
  ${PACKAGING_OUT}/changelog.gz)

install(DIRECTORY ${DESKTOP_ICONS_DIR}/ DESTINATION share/icons/hicolor)
install(FILES ${PACKAGING_OUT}/reelwright.1.gz ${PACKAGING_OUT}/reelwright-batch.1.gz
  DESTINATION share/man/man1)
install(FILES ${PACKAGING_DIR}/copyright ${PACKAGING_OUT}/changelog.gz
  DESTINATION share/doc/reelwright)

# The Debian package: reelwright_VERSION_ARCH.deb in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME reelwright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns a video into an FLV file and a web page with a player")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Reelwright turns a video (AVI, MPEG, WMV) into a Flash Video (FLV) file and a
ready web page with a player, and gives you the embed code to paste into your
own site. One window, three steps: choose the video, encode it, produce the
page.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Reelwright developers <reelwright@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps over every program in the package; the dialogs load
# their font from fonts-wine (ui/CMakeLists.txt); Help and Preview open pages with xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-wine)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
