# The walls between the core and the front-ends, checked on every configure (and so at
# every build after a source of the core or of a front-end has changed): the rules
# and the layout include only their own headers and the C++ standard library, so they
# build with no toolkit on every platform; each front-end (the Qt window, the Win32
# window, the web page) includes neither another front-end's headers nor another
# toolkit's: no Qt, no Win32 API. A source that crosses a wall stops the build with its name and line.

# Fails the configure for each #include in `folder` whose target matches `forbidden`, or,
# when `allowed` is given, does not match it.
function(tornel_check_wall folder forbidden allowed)
    file(GLOB sources CONFIGURE_DEPENDS
        ${PROJECT_SOURCE_DIR}/${folder}/*.h ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
    # An include added to a source after configuring is checked at the next build too.
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${sources})
    foreach(source IN LISTS sources)
        file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" header "${line}")
            if(header MATCHES "${forbidden}" OR (allowed AND NOT header MATCHES "${allowed}"))
                file(RELATIVE_PATH where ${PROJECT_SOURCE_DIR} ${source})
                message(FATAL_ERROR "${where} includes <${header}>, which ${folder}/ may not use")
            endif()
        endforeach()
    endforeach()
endfunction()

# The standard library's headers have no file ending; the project's own are named by folder.
set(standard_header "^[a-z_]+$")
tornel_check_wall(rules "^$" "${standard_header}|^rules/")
tornel_check_wall(layout "^$" "${standard_header}|^rules/|^layout/")
tornel_check_wall(qt "^win32/|^web/|^windows\\.h$|^win[a-z]*\\.h$" "")
tornel_check_wall(win32 "^Q|^qt/|^web/" "")
tornel_check_wall(web "^Q|^qt/|^win32/|^windows\\.h$|^win[a-z]*\\.h$" "")
