# The Debian package for the desks: what is installed where, and CPack's settings. Build it with
# `cpack -G DEB` in the build folder, or scripts/paquete.sh.

set(PAQUETE_FUENTES ${CMAKE_SOURCE_DIR}/packaging)
set(PAQUETE_GENERADOS ${CMAKE_BINARY_DIR}/paquete)

# Debian wants the manual page and the changelog gzipped; -n keeps name and time out of them, so
# the same sources give the same package.
find_program(GZIP_PROGRAMA gzip REQUIRED)
configure_file(${PAQUETE_FUENTES}/solicitudes.1 ${PAQUETE_GENERADOS}/solicitudes.1 @ONLY)
configure_file(${PAQUETE_FUENTES}/changelog ${PAQUETE_GENERADOS}/changelog COPYONLY)
set(PAQUETE_ARCHIVOS)
foreach(archivo solicitudes.1 changelog)
  add_custom_command(
    OUTPUT ${PAQUETE_GENERADOS}/${archivo}.gz
    COMMAND ${GZIP_PROGRAMA} -9nkf ${PAQUETE_GENERADOS}/${archivo}
    DEPENDS ${PAQUETE_GENERADOS}/${archivo}
    VERBATIM)
  list(APPEND PAQUETE_ARCHIVOS ${PAQUETE_GENERADOS}/${archivo}.gz)
endforeach()

# The menu's PNG icons are drawn from the SVG one.
find_program(RSVG_CONVERT rsvg-convert)
set(TAMANOS_ICONO 48 256)
if(RSVG_CONVERT)
  foreach(tamano ${TAMANOS_ICONO})
    add_custom_command(
      OUTPUT ${PAQUETE_GENERADOS}/solicitudes-${tamano}.png
      COMMAND ${RSVG_CONVERT} -w ${tamano} -h ${tamano} -o
              ${PAQUETE_GENERADOS}/solicitudes-${tamano}.png ${PAQUETE_FUENTES}/solicitudes.svg
      DEPENDS ${PAQUETE_FUENTES}/solicitudes.svg
      VERBATIM)
    list(APPEND PAQUETE_ARCHIVOS ${PAQUETE_GENERADOS}/solicitudes-${tamano}.png)
    install(FILES ${PAQUETE_GENERADOS}/solicitudes-${tamano}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${tamano}x${tamano}/apps
            RENAME solicitudes.png)
  endforeach()
  # The window icon, inside the program: window managers show it even where the icon theme
  # has none of the program's.
  qt_add_resources(solicitudes icono PREFIX "/" BASE ${PAQUETE_GENERADOS}
                   FILES ${PAQUETE_GENERADOS}/solicitudes-256.png)
else()
  message(STATUS "Sin rsvg-convert (librsvg2-bin) el paquete no lleva los íconos PNG")
endif()
add_custom_target(archivos_paquete ALL DEPENDS ${PAQUETE_ARCHIVOS})

install(TARGETS solicitudes RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES recursos/Msn2008.skn DESTINATION ${CMAKE_INSTALL_DATADIR}/solicitudes)
install(FILES ${PAQUETE_FUENTES}/solicitudes.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PAQUETE_FUENTES}/solicitudes.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME mx.com.empresa.solicitudes.metainfo.xml)
install(FILES ${PAQUETE_FUENTES}/solicitudes.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PAQUETE_GENERADOS}/solicitudes.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PAQUETE_FUENTES}/copyright ${PAQUETE_GENERADOS}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME solicitudes)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Equipo de Sistemas")
set(CPACK_PACKAGE_CONTACT "Equipo de Sistemas <sistemas@empresa.com.mx>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "registro y verificación de solicitudes de crédito")
# Wrapped by hand: Debian wants the lines of the description within 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Programa de escritorio con el que las sucursales y la oficina de crédito"
  "registran las solicitudes de crédito de los clientes, las agrupan en relaciones"
  "de verificación, registran lo que encontró el verificador y rechazan o"
  "reactivan solicitudes."
  "."
  "Los datos viven en el SQL Server de la empresa, al que llega por ODBC con"
  "FreeTDS; trae además un motor integrado sobre SQLite para probar y capacitar.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The program goes stripped; its symbols go to solicitudes-dbgsym, for support to read a
# crash. (CPack strips it itself for that: CPACK_STRIP_FILES would leave it nothing to keep.)
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries come from dpkg-shlibdeps (Qt Charts' libqt6charts6 among them, for the
# office dashboard); the rest is what the program loads or runs without linking it: Qt's ODBC
# plugin, unixODBC with its odbcinst (the maintainer scripts use it) and FreeTDS's driver.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Spanish (menus, standard buttons, dialogs) is a dependency, not a recommendation: desks
# installed without recommended packages would show them in English.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-odbc, unixodbc, odbcinst, tdsodbc, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PAQUETE_FUENTES}/postinst ${PAQUETE_FUENTES}/prerm ${PAQUETE_FUENTES}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The same sources give the same package: every time inside it is the date of the last
# changelog entry, unless the builder sets SOURCE_DATE_EPOCH itself.
file(STRINGS ${PAQUETE_FUENTES}/changelog FECHA_CAMBIOS REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX REPLACE "^ -- [^>]*>  " "" FECHA_CAMBIOS "${FECHA_CAMBIOS}")
execute_process(COMMAND date -d "${FECHA_CAMBIOS}" +%s OUTPUT_VARIABLE EPOCA_PAQUETE
                OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE sin_fecha)
if(sin_fecha)
  message(FATAL_ERROR "No se entiende la fecha del changelog: ${FECHA_CAMBIOS}")
endif()
configure_file(${PAQUETE_FUENTES}/epoca.cmake.in ${PAQUETE_GENERADOS}/epoca.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PAQUETE_GENERADOS}/epoca.cmake)
include(CPack)
