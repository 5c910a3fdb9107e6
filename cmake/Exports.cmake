# Export tables of the DLLs: each DLL names a file of expected export names beside its sources;
# tools/check-exports.sh compares them with what the linker produced. The shipped 32-bit build
# checks the deliverables; the 64-bit Windows build checks the platform layer's DLL, which exists
# only there, and runs that check as a test.
define_property(GLOBAL PROPERTY FWT_EXPORT_CHECKS BRIEF_DOCS "dll|expected pairs"
                FULL_DOCS "Pairs of a DLL target and its expected export list.")

# fwt_expected_exports(<target> <win32|win64> <file>): on that Windows build, check <target>'s
# export table against <file> (one name per line, '#' comments).
function(fwt_expected_exports target build file)
    if(build STREQUAL "win32")
        set(applies ${FWT_WIN32_ABI})
    elseif(build STREQUAL "win64")
        set(applies OFF)
        if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
            set(applies ON)
        endif()
    else()
        message(FATAL_ERROR "fwt_expected_exports: build is win32 or win64, not '${build}'")
    endif()
    if(applies)
        get_filename_component(abs ${file} ABSOLUTE)
        set_property(GLOBAL APPEND PROPERTY FWT_EXPORT_CHECKS "$<TARGET_FILE:${target}>|${abs}")
    endif()
endfunction()

function(fwt_write_exports_manifest)
    get_property(checks GLOBAL PROPERTY FWT_EXPORT_CHECKS)
    if(NOT checks)
        return()
    endif()
    list(JOIN checks "\n" content)
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/exports-manifest.txt CONTENT "${content}\n")
    set(check ${CMAKE_COMMAND} -E env OBJDUMP=${CMAKE_OBJDUMP}
        ${CMAKE_SOURCE_DIR}/tools/check-exports.sh ${CMAKE_BINARY_DIR}/exports-manifest.txt)
    add_custom_target(check-exports COMMAND ${check} VERBATIM)
    if(FWT_RUN_TESTS)
        add_test(NAME check_exports COMMAND ${check})
    endif()
endfunction()
