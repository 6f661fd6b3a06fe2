# The rules' own GoogleTests for a cross build, run by the build's runner: the Windows
# exe under Wine, the WebAssembly program under node. GoogleTest is built from Debian's
# sources with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_CURRENT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_library(test_support INTERFACE)
target_include_directories(test_support INTERFACE ${CMAKE_CURRENT_LIST_DIR}/support)

file(GLOB rules_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/rules/*_test.cpp)
add_executable(rules_tests ${rules_test_sources})
target_link_libraries(rules_tests PRIVATE rules layout test_support GTest::gtest_main project_warnings)

# The case that needs a locale with a decimal comma; the runner decides whether it can run.
set(comma_case StrictConversion.IgnoresTheUsersDecimalComma)

# Adds <prefix>_rules_tests: every case but the decimal-comma one, run as `runner... rules_tests`.
function(tornel_add_cross_rules_tests prefix)
    add_test(NAME ${prefix}_rules_tests
        COMMAND ${ARGN} $<TARGET_FILE:rules_tests> --gtest_filter=-${comma_case})
endfunction()
