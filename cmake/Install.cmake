# What `cmake --install` lays down for a host developer: the two shared
# libraries with their sonames, the two C headers, orvane-host, a CMake
# package (OrvaneNative::OrvaneNative, OrvaneNative::Desktop), pkg-config
# files and the Python package orvane. Every path is relative to the prefix,
# so the tree can be moved.
include(CMakePackageConfigHelpers)

install(TARGETS OrvaneNative OrvaneDesktop EXPORT OrvaneNativeTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS orvane-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES include/orvane.h include/orvane_desktop.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# The Python package, beside the libraries it finds from where it lies:
# PYTHONPATH=<prefix>/lib/python.
install(DIRECTORY python/orvane DESTINATION ${CMAKE_INSTALL_LIBDIR}/python PATTERN __pycache__ EXCLUDE)

set(ORVANE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/OrvaneNative)
install(EXPORT OrvaneNativeTargets NAMESPACE OrvaneNative:: DESTINATION ${ORVANE_CMAKE_DIR})
configure_package_config_file(cmake/OrvaneNativeConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/OrvaneNativeConfig.cmake INSTALL_DESTINATION ${ORVANE_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/OrvaneNativeConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/OrvaneNativeConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/OrvaneNativeConfigVersion.cmake
        DESTINATION ${ORVANE_CMAKE_DIR})

# pkg-config finds the prefix from where the .pc file lies.
file(RELATIVE_PATH ORVANE_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
string(REGEX REPLACE "/$" "" ORVANE_PC_TO_PREFIX "${ORVANE_PC_TO_PREFIX}")
foreach(pc orvane-native orvane-desktop)
  configure_file(cmake/${pc}.pc.in ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()
