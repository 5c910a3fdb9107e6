# Export tables of the shipped 32-bit DLLs: each DLL names a file of expected export names beside
# its sources; tools/check-exports.sh compares them with what the linker produced.
define_property(GLOBAL PROPERTY FWT_EXPORT_CHECKS BRIEF_DOCS "dll|expected pairs"
                FULL_DOCS "Pairs of a DLL target and its expected export list.")

# fwt_expected_exports(<target> <file>): on the win32 build, check <target>'s export table
# against <file> (one name per line, '#' comments).
function(fwt_expected_exports target file)
    if(FWT_WIN32_ABI)
        get_filename_component(abs ${file} ABSOLUTE)
        set_property(GLOBAL APPEND PROPERTY FWT_EXPORT_CHECKS "$<TARGET_FILE:${target}>|${abs}")
    endif()
endfunction()

function(fwt_write_exports_manifest)
    if(NOT FWT_WIN32_ABI)
        return()
    endif()
    get_property(checks GLOBAL PROPERTY FWT_EXPORT_CHECKS)
    list(JOIN checks "\n" content)
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/exports-manifest.txt CONTENT "${content}\n")
    add_custom_target(check-exports
        COMMAND ${CMAKE_SOURCE_DIR}/tools/check-exports.sh ${CMAKE_BINARY_DIR}/exports-manifest.txt
        VERBATIM)
endfunction()
