# Tests run on a private fontconfig that offers only the fonts the package depends on, so that
# neither our pages nor LibreOffice's exports depend on which other fonts a machine has.
set(font_dirs "")
foreach(package IN LISTS TESSALY_FONT_PACKAGES)
    execute_process(COMMAND dpkg-query -L ${package} OUTPUT_VARIABLE files RESULT_VARIABLE failed
                    ERROR_QUIET)
    string(REGEX MATCHALL "[^\n]+\\.(ttf|otf|ttc)" fonts "${files}")
    if(failed OR NOT fonts)
        message(FATAL_ERROR "The tests need the font package ${package} (scripts/test.sh installs it)")
    endif()
    foreach(font IN LISTS fonts)
        get_filename_component(dir "${font}" DIRECTORY)
        list(APPEND font_dirs "${dir}")
    endforeach()
endforeach()
list(REMOVE_DUPLICATES font_dirs)
list(TRANSFORM font_dirs REPLACE "(.+)" "  <dir>\\1</dir>")
list(JOIN font_dirs "\n" TESSALY_TEST_FONT_DIRS)
# Fontconfig's own default rules (aliases, generic families, synthetic styles), without the
# user's and the machine's local files that /etc/fonts/conf.d also names.
set(font_rules 10-hinting-slight 10-scale-bitmap-fonts 10-yes-antialias 11-lcdfilter-default
    30-metric-aliases 40-nonlatin 45-generic 45-latin 48-spacing 49-sansserif 60-generic
    60-latin 65-nonlatin 70-no-bitmaps 90-synthetic)
list(TRANSFORM font_rules REPLACE "(.+)"
     "  <include ignore_missing=\"yes\">/usr/share/fontconfig/conf.avail/\\1.conf</include>")
list(JOIN font_rules "\n" TESSALY_TEST_FONT_RULES)
set(TESSALY_TEST_FONTS ${CMAKE_CURRENT_BINARY_DIR}/fonts.conf)
configure_file(fonts.conf.in ${TESSALY_TEST_FONTS} @ONLY)
