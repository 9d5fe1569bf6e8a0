# Installation and the Debian package.
#
# The program finds its settings file beside its executable, so the executable lives in a folder
# of its own, lib/tessaly, with bin/tessaly a relative symbolic link to it. The settings file is a
# configuration file under etc/tessaly (/etc for the /usr prefix), linked from lib/tessaly, so that
# an administrator sets the owner without writing into the program's folders.

set(TESSALY_RESOURCES ${PROJECT_SOURCE_DIR}/resources)
set(TESSALY_METAINFO example.halvorn.tessaly.metainfo.xml)
set(TESSALY_ICON_SIZES 16 22 24 32 48 64 128 256)

# The package is built from an already built tree: cpack and `make install` build nothing.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS tessaly RUNTIME DESTINATION lib/tessaly)
# The program finds LibreOffice's program folder, which holds what the UNO libraries need,
# through the link uno beside it: a search path relative to the program, as Debian wants it.
set_target_properties(tessaly PROPERTIES INSTALL_RPATH "\$ORIGIN/uno")
# The command-line tool needs no settings file: it lives on the search path itself.
install(TARGETS tessaly-xls RUNTIME DESTINATION bin)

set(TESSALY_BIN_LINK ${PROJECT_BINARY_DIR}/packaging/tessaly)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/packaging)
file(CREATE_LINK ../lib/tessaly/tessaly ${TESSALY_BIN_LINK} SYMBOLIC)
install(FILES ${TESSALY_BIN_LINK} DESTINATION bin)

install(FILES ${TESSALY_RESOURCES}/tessaly.desktop DESTINATION share/applications)
install(FILES ${TESSALY_RESOURCES}/${TESSALY_METAINFO} DESTINATION share/metainfo)
foreach(size IN LISTS TESSALY_ICON_SIZES)
    install(FILES ${TESSALY_RESOURCES}/tessaly-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME tessaly.png)
endforeach()
install(FILES ${TESSALY_RESOURCES}/tessaly.svg DESTINATION share/icons/hicolor/scalable/apps)

# Manual pages, the changelog and the copyright file, compressed as Debian keeps them (gzip -9n:
# no name or time stamp, so the same sources give the same package). Made when CMake runs, since
# installing builds nothing.
set(TESSALY_DOC_DIR ${PROJECT_BINARY_DIR}/packaging/doc)
file(MAKE_DIRECTORY ${TESSALY_DOC_DIR})
function(tessaly_gzip source target)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${TESSALY_DOC_DIR}/${target}
                    COMMAND_ERROR_IS_FATAL ANY)
endfunction()
foreach(page tessaly.1 tessaly-xls.1)
    tessaly_gzip(${TESSALY_RESOURCES}/man/${page} ${page}.gz)
    install(FILES ${TESSALY_DOC_DIR}/${page}.gz DESTINATION share/man/man1)
endforeach()
tessaly_gzip(${TESSALY_RESOURCES}/debian/changelog changelog.gz)
install(FILES ${TESSALY_DOC_DIR}/changelog.gz ${TESSALY_RESOURCES}/debian/copyright
        DESTINATION share/doc/tessaly)

# The settings file and its link follow the prefix given at install time (cmake --install
# --prefix, or /usr in the package), so they are placed by code that runs then.
install(CODE "set(TESSALY_INI_SOURCE \"${TESSALY_RESOURCES}/tessaly.INI\")")
install(CODE [[
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
        set(tessaly_etc /etc/tessaly)
    else()
        set(tessaly_etc ${CMAKE_INSTALL_PREFIX}/etc/tessaly)
    endif()
    file(INSTALL ${TESSALY_INI_SOURCE} DESTINATION ${tessaly_etc})
    set(tessaly_ini_link $ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/lib/tessaly/tessaly.INI)
    message(STATUS "Installing: ${tessaly_ini_link} -> ${tessaly_etc}/tessaly.INI")
    file(CREATE_LINK ${tessaly_etc}/tessaly.INI ${tessaly_ini_link} SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES ${tessaly_ini_link})
]])
install(CODE "set(TESSALY_LIBREOFFICE_PROGRAM_DIR \"${LIBREOFFICE_PROGRAM_DIR}\")")
install(CODE [[
    # Relative in the package, where LibreOffice's folder is always /usr/lib/libreoffice.
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
        set(tessaly_uno ../libreoffice/program)
    else()
        set(tessaly_uno ${TESSALY_LIBREOFFICE_PROGRAM_DIR})
    endif()
    set(tessaly_uno_link $ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/lib/tessaly/uno)
    message(STATUS "Installing: ${tessaly_uno_link} -> ${tessaly_uno}")
    file(CREATE_LINK ${tessaly_uno} ${tessaly_uno_link} SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES ${tessaly_uno_link})
]])

# The Debian package: cpack -G DEB in the build folder (scripts/package.sh).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaly)
set(CPACK_PACKAGE_VENDOR "有限会社Halvorn")
set(CPACK_PACKAGE_CONTACT "Halvorn <support@halvorn.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "print many Excel workbooks (.xls) in one run")
set(CPACK_PACKAGE_DESCRIPTION
    "Tessaly prints a list of Excel workbooks in one run, through a hidden\n"
    "LibreOffice Calc or, without LibreOffice, through its own workbook reader\n"
    "and report printer. Workbooks and folders are dropped onto its list or\n"
    "opened with it from the file manager. The user interface is Japanese.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.halvorn.example/)
# Named by hand rather than through dpkg-shlibdeps: LibreOffice's UNO libraries carry no
# dependency information, and the Qt platform plugin, the CUPS client and the fonts are needed
# at run time without being linked. The program links the UNO libraries, so it depends on the
# small packages that hold them; LibreOffice itself is only recommended, since the report path
# prints without it and the program finds out at each run whether it can start it.
set(TESSALY_DEPENDS
    libc6
    libstdc++6
    "libqt6core6 (>= 6.4)"
    "libqt6gui6 (>= 6.4)"
    "libqt6widgets6 (>= 6.4)"
    "libqt6printsupport6 (>= 6.4)"
    "libqt6svg6 (>= 6.4)"
    qt6-qpa-plugins
    libgsf-1-114
    libnettle8
    libwmf-0.2-7
    libharfbuzz0b
    libharfbuzz-subset0
    libfontconfig1
    zlib1g
    libcups2
    libuno-cppu3
    libuno-cppuhelpergcc3-3
    libuno-sal3
    cups-client
    xdg-utils
    ${TESSALY_FONT_PACKAGES})
list(JOIN TESSALY_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# Printing through LibreOffice needs the full suite: the -nogui build cannot print.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-calc, libreoffice-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${TESSALY_RESOURCES}/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
