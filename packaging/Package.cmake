# CPack: a .deb on Linux (cpack -G DEB in the build folder), an archive elsewhere. The .deb's
# dependencies are read from the installed programs by dpkg-shlibdeps, so they name the runtime
# libraries (Qt 6 widgets, RtMidi, the C++ runtime) and nothing that only the build needs.

set(KORVANA_PACKAGE_CONTACT "Korvana developers <maintainers@korvana.invalid>"
    CACHE STRING "Maintainer named in the packages")

set(CPACK_PACKAGE_NAME korvana)
set(CPACK_PACKAGE_VENDOR "Korvana")
set(CPACK_PACKAGE_CONTACT ${KORVANA_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Checks MIDI style patterns and sends them to an arranger keyboard")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvana checks Standard MIDI Files holding accompaniment patterns against an arranger\n\
keyboard's rules, converts accepted files into the keyboard's pattern data, keeps a\n\
repository of accepted songs and moves songs into the keyboard's numbered slots over MIDI\n\
System Exclusive. It comes with korvana-cli for the terminal and korvana-keyboard, a\n\
simulated keyboard.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION sound)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Qt loads its display plugins at run time, so no library link shows that the window needs them.
  if(TARGET korvana)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  endif()
else()
  set(CPACK_GENERATOR ZIP)
endif()

include(CPack)
