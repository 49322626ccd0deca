# What `cmake --install` puts where: the programs, the desktop entry with its
# icon in every size, the .tw file type, and the example automata.

install(TARGETS tarnwell tarnwell-run RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(tarnwell_resources ${PROJECT_SOURCE_DIR}/resources)
foreach(size IN LISTS TARNWELL_ICON_SIZES)
    install(FILES ${tarnwell_resources}/icons/tarnwell-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tarnwell.png)
endforeach()
install(FILES ${tarnwell_resources}/icons/tarnwell.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${tarnwell_resources}/desktop/tarnwell.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${tarnwell_resources}/desktop/tarnwell.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

file(GLOB tarnwell_examples CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.tw)
if(tarnwell_examples)
    install(FILES ${tarnwell_examples} DESTINATION ${CMAKE_INSTALL_DATADIR}/tarnwell/examples)
endif()

# A package's own triggers refresh the desktop's databases. A plain install into
# a prefix refreshes them itself, so the desktop knows the .tw type at once and
# offers Tarnwell to open it; the icon cache only where the prefix keeps one.
install(CODE "set(tarnwell_datadir \"${CMAKE_INSTALL_DATADIR}\")")
install(CODE [[
    if("$ENV{DESTDIR}" STREQUAL "")
        if(IS_ABSOLUTE "${tarnwell_datadir}")
            set(tarnwell_share "${tarnwell_datadir}")
        else()
            set(tarnwell_share "${CMAKE_INSTALL_PREFIX}/${tarnwell_datadir}")
        endif()
        find_program(tarnwell_update_mime update-mime-database)
        if(tarnwell_update_mime)
            message(STATUS "Updating: ${tarnwell_share}/mime")
            execute_process(COMMAND "${tarnwell_update_mime}" "${tarnwell_share}/mime")
        endif()
        find_program(tarnwell_update_desktop update-desktop-database)
        if(tarnwell_update_desktop)
            message(STATUS "Updating: ${tarnwell_share}/applications")
            execute_process(COMMAND "${tarnwell_update_desktop}" -q "${tarnwell_share}/applications")
        endif()
        find_program(tarnwell_update_icons gtk-update-icon-cache)
        if(tarnwell_update_icons AND EXISTS "${tarnwell_share}/icons/hicolor/icon-theme.cache")
            message(STATUS "Updating: ${tarnwell_share}/icons/hicolor")
            execute_process(COMMAND "${tarnwell_update_icons}" -q -t -f "${tarnwell_share}/icons/hicolor")
        endif()
    endif()
]])
