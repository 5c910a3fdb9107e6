# Test registration: native tests run directly, Windows tests run under wine with a throw-away
# prefix (wine64 for the 64-bit build, the 32-bit wine for the 32-bit test build).
enable_testing()

set(FWT_RUN_TESTS ON)
if(FWT_SHIPPED_BUILD)
    # The shipped build's tests are the 32-bit test build's (same compiler, flags and ABI, with
    # the layer's test controls): here they are compiled only, and the binaries gathered.
    set(FWT_RUN_TESTS OFF)
endif()

if(WIN32 AND FWT_RUN_TESTS)
    set(FWT_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(FWT_XVFB_DISPLAY_FILE ${CMAKE_BINARY_DIR}/xvfb.display)
    # The loader that runs a program of this build's ABI; the prefix is a 64-bit one either way
    # (32-bit programs run in it as on 64-bit Windows).
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(FWT_WINE_LOADER /usr/lib/wine/wine)
    else()
        set(FWT_WINE_LOADER /usr/lib/wine/wine64)
    endif()
    if(NOT EXISTS ${FWT_WINE_LOADER})
        message(WARNING "${FWT_WINE_LOADER} is missing: the tests of this build cannot run here "
                        "(tools/install-deps installs it)")
    endif()
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${FWT_WINEPREFIX})
    add_test(NAME wine.prefix.init
             COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-prefix.sh init ${FWT_WINEPREFIX})
    add_test(NAME wine.prefix.stop
             COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-prefix.sh stop ${FWT_WINEPREFIX})
    # Every wine process of a run shares one wineserver and its desktop process; whichever starts
    # first decides whether windows can be shown, so all of them see the same X server.
    set_tests_properties(wine.prefix.init PROPERTIES FIXTURES_SETUP wine FIXTURES_REQUIRED xvfb)
    set_property(TEST wine.prefix.init PROPERTY ENVIRONMENT
        "FWT_XVFB_DISPLAY_FILE=${FWT_XVFB_DISPLAY_FILE}" "FWT_WINE_LOADER=${FWT_WINE_LOADER}")
    set_tests_properties(wine.prefix.stop PROPERTIES FIXTURES_CLEANUP wine)
    add_test(NAME xvfb.start
             COMMAND ${CMAKE_SOURCE_DIR}/cmake/xvfb.sh start ${FWT_XVFB_DISPLAY_FILE})
    add_test(NAME xvfb.stop
             COMMAND ${CMAKE_SOURCE_DIR}/cmake/xvfb.sh stop ${FWT_XVFB_DISPLAY_FILE})
    set_tests_properties(xvfb.start PROPERTIES FIXTURES_SETUP xvfb)
    set_tests_properties(xvfb.stop PROPERTIES FIXTURES_CLEANUP xvfb)
endif()

# Marks a test registered elsewhere (add_test) as a Windows test: it gets the wine prefix and the
# run's X server (every wine test sees the display, since the first wine process of a run starts
# the desktop process that all later windows use). NEEDS_DISPLAY marks a program that shows
# windows: those run one at a time.
function(fwt_windows_test_properties test_name)
    cmake_parse_arguments(P "NEEDS_DISPLAY" "" "" ${ARGN})
    if(NOT WIN32)
        return()
    endif()
    set_property(TEST ${test_name} APPEND PROPERTY FIXTURES_REQUIRED wine xvfb)
    if(P_NEEDS_DISPLAY)
        # Window tests share one desktop: its foreground window, focus, capture and cursor.
        # One such program at a time, so that none takes the foreground from another.
        set_property(TEST ${test_name} APPEND PROPERTY RESOURCE_LOCK desktop_input)
    endif()
    set_property(TEST ${test_name} APPEND PROPERTY ENVIRONMENT
        "FWT_XVFB_DISPLAY_FILE=${FWT_XVFB_DISPLAY_FILE}" "FWT_WINE_LOADER=${FWT_WINE_LOADER}")
endfunction()

# Libraries that drive the platform layer's test controls, which the shipped 32-bit build lacks:
# a test that links one of them is built only where the layer has them.
set(FWT_CONTROL_LIBS w32_controls boards board_session simhost_core simhost_testing loadhost_core
                     loadhost_testing)

# The tests that run several threads carry the label "threads"; the ThreadSanitizer build
# (preset linux-tsan) builds them through this target and runs only them.
add_custom_target(fwt_threaded_tests)

# fwt_add_test(<name> SOURCES ... [LIBS ...] [NEEDS_DISPLAY] [WINDOWS_ONLY] [NATIVE_ONLY]
#              [LABELS ...] [TIMEOUT s])
# One GoogleTest program per call, registered as one test (one wine start per program).
function(fwt_add_test name)
    cmake_parse_arguments(T "NEEDS_DISPLAY;WINDOWS_ONLY;NATIVE_ONLY" "TIMEOUT"
                          "SOURCES;LIBS;LABELS;DEFINITIONS" ${ARGN})
    if(T_WINDOWS_ONLY AND NOT WIN32)
        return()
    endif()
    if(T_NATIVE_ONLY AND WIN32)
        return()
    endif()
    if(NOT FWT_W32_CONTROLS)
        foreach(lib IN LISTS T_LIBS)
            if(lib IN_LIST FWT_CONTROL_LIBS)
                return()
            endif()
        endforeach()
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
    if("threads" IN_LIST T_LABELS)
        add_dependencies(fwt_threaded_tests ${name})
    endif()
    target_compile_definitions(${name} PRIVATE FWT_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                               ${T_DEFINITIONS})
    if(NOT FWT_RUN_TESTS)
        return()
    endif()
    add_test(NAME ${name} COMMAND ${name})
    if(T_TIMEOUT)
        set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
    endif()
    if(T_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
    endif()
    if(T_NEEDS_DISPLAY)
        fwt_windows_test_properties(${name} NEEDS_DISPLAY)
    else()
        fwt_windows_test_properties(${name})
    endif()
endfunction()

# fwt_loader_session_test(<name> PLUGIN <target> PROGRAM <name> SOURCE <file.c>
#                         [CODE_LOC <address>] [SOURCES ...] [LIBS ...] [INCLUDES ...])
# A loader's downloads in the stand-in host: transcript_test.cpp and session_test.cpp beside the
# further SOURCES, with the plug-in built first (the sessions load it from the program's folder)
# and an 8051 program built from C whose path <PLUGIN>_PROGRAM holds (in capitals; "" without
# sdcc, and the cases that need it are skipped).
function(fwt_loader_session_test name)
    cmake_parse_arguments(L "" "PLUGIN;PROGRAM;SOURCE;CODE_LOC" "SOURCES;LIBS;INCLUDES" ${ARGN})
    fwt_add_test(${name}
        SOURCES transcript_test.cpp session_test.cpp ${L_SOURCES}
        LIBS loadhost_testing ${L_LIBS})
    if(NOT TARGET ${name})
        return()
    endif()
    target_include_directories(${name} PRIVATE ${L_INCLUDES})
    add_dependencies(${name} ${L_PLUGIN})
    set(code_loc)
    if(L_CODE_LOC)
        set(code_loc CODE_LOC ${L_CODE_LOC})
    endif()
    fwt_8051_program(${L_PROGRAM} SOURCE ${L_SOURCE} ${code_loc} OUTPUT_VARIABLE program)
    string(TOUPPER ${L_PLUGIN} prefix)
    target_compile_definitions(${name} PRIVATE ${prefix}_PROGRAM="${program}")
    if(program)
        add_dependencies(${name} ${L_PROGRAM}_8051)
    endif()
endfunction()

# fwt_add_fuzzer(<name> SOURCES ... [LIBS ...] [SEEDS <dir>])
# A libFuzzer target, built in the linux-fuzz build only; tools/run-fuzzers runs each one for a
# bounded time starting from its committed seed corpus.
if(FWT_FUZZ)
    add_custom_target(fuzzers)
endif()
function(fwt_add_fuzzer name)
    cmake_parse_arguments(F "" "SEEDS" "SOURCES;LIBS" ${ARGN})
    if(NOT FWT_FUZZ)
        return()
    endif()
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzzers ${name})
    if(F_SEEDS)
        get_filename_component(seeds ${F_SEEDS} ABSOLUTE)
        file(WRITE ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name}.seeds "${seeds}")
    endif()
endfunction()
