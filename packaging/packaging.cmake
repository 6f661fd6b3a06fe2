# Hardening, installation and packages of the game. On Linux the layout is
# Debian's for a game (executable in games/, menu entry, icons, AppStream
# metainfo, manual page, copyright and changelog) and `cpack` makes a .deb; on
# macOS the Qt build gets the program's icon and the bundle data (the Windows build
# is the Win32 front-end, packed by scripts/build-windows.sh).

include(GNUInstallDirs)
set(packaging_dir ${CMAKE_CURRENT_LIST_DIR})
set(TORNEL_APP_ID org.tornel.tornel)

# Debian's hardening flags (dpkg-buildflags, hardening=+all), set directly so
# that any Linux build gets them. CMake ignores CPPFLAGS, so fortify goes in as
# a compile option; it needs optimisation, and ASan does its own checking.
option(TORNEL_HARDENING "Build the game with Debian's hardening flags" ON)
set(TORNEL_HARDENED OFF)
if(TORNEL_HARDENING AND NOT TORNEL_SANITIZE AND CMAKE_SYSTEM_NAME STREQUAL "Linux"
        AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    include(CheckCXXCompilerFlag)
    include(CheckPIESupported)
    check_pie_supported(LANGUAGES CXX)
    set(TORNEL_HARDENING_FLAGS -Wformat -Werror=format-security -fstack-protector-strong)
    foreach(flag IN ITEMS -fstack-clash-protection -fcf-protection)
        string(MAKE_C_IDENTIFIER "TORNEL_HAS${flag}" supported)
        check_cxx_compiler_flag(${flag} ${supported})
        if(${supported})
            list(APPEND TORNEL_HARDENING_FLAGS ${flag})
        endif()
    endforeach()
    set(optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
    foreach(target IN ITEMS rules layout qt_window tornel)
        set_property(TARGET ${target} PROPERTY POSITION_INDEPENDENT_CODE ON)
        target_compile_options(${target} PRIVATE ${TORNEL_HARDENING_FLAGS}
            $<${optimised}:-U_FORTIFY_SOURCE> $<${optimised}:-D_FORTIFY_SOURCE=2>)
    endforeach()
    target_link_options(tornel PRIVATE LINKER:-z,relro LINKER:-z,now)
    set(TORNEL_HARDENED ON)
endif()

if(UNIX AND NOT APPLE)
    set(TORNEL_INSTALL_GAMESDIR games CACHE STRING
        "Directory of the game's executable, relative to the prefix (Debian: games)")
    # Qt's system libraries need no search path; Debian forbids a custom one.
    set_property(TARGET tornel PROPERTY INSTALL_RPATH "")
    install(TARGETS tornel RUNTIME DESTINATION ${TORNEL_INSTALL_GAMESDIR})
    # A stripped install (cpack, --strip) also drops the compilers' names, as Debian's own
    # packages do.
    if(CMAKE_STRIP)
        install(CODE "if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TORNEL_INSTALL_GAMESDIR}/tornel\"
                COMMAND_ERROR_IS_FATAL ANY)
        endif()")
    endif()

    set(linux_dir ${packaging_dir}/linux)
    install(FILES ${linux_dir}/${TORNEL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${linux_dir}/${TORNEL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    set(icon_theme ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    foreach(size IN ITEMS 16 32 48 64 128)
        install(FILES ${packaging_dir}/icons/tornel-${size}.png
            DESTINATION ${icon_theme}/${size}x${size}/apps RENAME tornel.png)
    endforeach()
    install(FILES ${packaging_dir}/icons/tornel.svg DESTINATION ${icon_theme}/scalable/apps)

    # Compressed as Debian wants them: best ratio, no name or time stamp inside.
    find_program(TORNEL_GZIP gzip REQUIRED)
    set(compressed_dir ${PROJECT_BINARY_DIR}/packaging)
    file(MAKE_DIRECTORY ${compressed_dir})
    foreach(name IN ITEMS tornel.6 changelog)
        execute_process(COMMAND ${TORNEL_GZIP} -9n -c
            INPUT_FILE ${linux_dir}/${name} OUTPUT_FILE ${compressed_dir}/${name}.gz
            COMMAND_ERROR_IS_FATAL ANY)
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${linux_dir}/${name})
    endforeach()
    install(FILES ${compressed_dir}/tornel.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
    install(FILES ${linux_dir}/copyright ${compressed_dir}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tornel)
elseif(APPLE)
    set(icns ${packaging_dir}/macos/tornel.icns)
    target_sources(tornel PRIVATE ${icns})
    set_source_files_properties(${icns} TARGET_DIRECTORY tornel
        PROPERTIES MACOSX_PACKAGE_LOCATION Resources)
    set_target_properties(tornel PROPERTIES
        MACOSX_BUNDLE_BUNDLE_NAME Tornel
        MACOSX_BUNDLE_GUI_IDENTIFIER ${TORNEL_APP_ID}
        MACOSX_BUNDLE_ICON_FILE tornel.icns
        MACOSX_BUNDLE_BUNDLE_VERSION ${PROJECT_VERSION}
        MACOSX_BUNDLE_SHORT_VERSION_STRING ${PROJECT_VERSION}
        MACOSX_BUNDLE_COPYRIGHT "Copyright The Tornel developers")
    install(TARGETS tornel BUNDLE DESTINATION .)
endif()

# macOS has no system Qt: copy Qt's libraries and plugins beside the game.
if(APPLE)
    qt_generate_deploy_app_script(TARGET tornel FILENAME_VARIABLE deploy_script
        NO_UNSUPPORTED_PLATFORM_ERROR)
    install(SCRIPT ${deploy_script})
endif()

set(CPACK_PACKAGE_NAME tornel)
set(CPACK_PACKAGE_VENDOR "The Tornel developers")
set(CPACK_PACKAGE_CONTACT "The Tornel developers <developers@tornel.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tornel.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-player dice game")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
if(UNIX AND NOT APPLE)
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION games)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # On a Wayland desktop Qt runs the game as a native client only with its Wayland platform.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
    # The first line of the Description field is the summary above.
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[Tornel is a dice game for two players who share one window and one mouse.
They take turns rolling six dice; every pair, triple or longer group of
equal dice scores, as does a straight. After fifty rounds the higher
score wins and a fresh game begins.]=])
else()
    set(CPACK_GENERATOR DragNDrop)
endif()
include(CPack)
