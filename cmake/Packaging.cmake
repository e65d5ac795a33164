# The release packages, named after PROJECT_VERSION: from the windows preset a
# zip to unpack and run, from a Linux build a Debian package with the manual page.
set(CPACK_PACKAGE_NAME kestrova)
set(CPACK_PACKAGE_VENDOR "The Kestrova developers")
set(CPACK_PACKAGE_CONTACT "The Kestrova developers <kestrova@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX "${CMAKE_BINARY_DIR}/packages")

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "kestrova-${PROJECT_VERSION}-win32")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  install(TARGETS kestrova RUNTIME DESTINATION .)
  # The window program's folder may come later in the build; look once all are read.
  function(kestrova_install_window_program)
    if(TARGET velmora)
      install(TARGETS velmora RUNTIME DESTINATION .)
    endif()
  endfunction()
  cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL kestrova_install_window_program)
  foreach(text README.md:README.txt LICENSE:LICENSE.txt)
    string(REPLACE ":" ";" text "${text}")
    list(GET text 0 source)
    list(GET text 1 destination)
    install(CODE "
      set(SOURCE \"${PROJECT_SOURCE_DIR}/${source}\")
      set(DESTINATION \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}\")
      include(\"${PROJECT_SOURCE_DIR}/cmake/CrLfText.cmake\")")
  endforeach()
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The libraries kestrova links against, as dpkg-shlibdeps finds them.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "kestrova turns a comma-separated text file into a tab-delimited one, exactly
to the byte: every comma becomes a TAB, every double quote is deleted, every
line ends with CR LF, and the records are appended to the output file.
Double-byte text in code pages 932, 936, 949 and 950 is kept intact.")

  install(TARGETS kestrova RUNTIME DESTINATION bin)

  find_program(GZIP_PROGRAM gzip REQUIRED)
  configure_file(man/kestrova.1 ${CMAKE_BINARY_DIR}/man/kestrova.1 @ONLY)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/man/kestrova.1.gz
    COMMAND ${GZIP_PROGRAM} -9 -n -f -k ${CMAKE_BINARY_DIR}/man/kestrova.1
    DEPENDS ${CMAKE_BINARY_DIR}/man/kestrova.1
    COMMENT "Compressing the manual page")
  add_custom_target(kestrova_manual_page ALL DEPENDS ${CMAKE_BINARY_DIR}/man/kestrova.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/kestrova.1.gz DESTINATION share/man/man1)
  install(FILES LICENSE DESTINATION share/doc/kestrova RENAME copyright)
endif()

include(CPack)
