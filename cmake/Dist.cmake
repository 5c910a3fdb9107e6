# The set a Windows user installs: target `dist` of the shipped 32-bit build gathers the
# deliverables, stripped, with the files they load at run time, into one folder and prints its
# listing with their sizes; their debug information goes to a folder beside it (<folder>.debug).

# Each deliverable as <target>|<file name>: the device programmer, the serial library, the three
# debugger plug-ins, the seven loader plug-ins and the console redirector.
set(FWT_DELIVERABLES
    tarnel|tarnel.exe
    comms|comms.dll
    Ostrel|Ostrel.dll
    Yardlow|Yardlow.dll
    Pelmor|Pelmor.dll
    Wendra|Wendra.dll
    Corvane|Corvane.dll
    Tuvmar|Tuvmar.dll
    Zeppra|Zeppra.dll
    Lomrik|Lomrik.dll
    Frandle|Frandle.dll
    Gristan|Gristan.dll
    conredir|conredir.exe)

# What the deliverables read beside the host program: Ostrel's simulation kernel and the two
# debug kernels Yardlow downloads. (The HC908 chip's resident loader is compiled into Tarnel.)
set(FWT_RUNTIME_FILES
    ${CMAKE_SOURCE_DIR}/targets/ostrel/kernel/Pindrake.hex
    ${CMAKE_SOURCE_DIR}/boards/kernel/t89c51rx2_kernel.hex
    ${CMAKE_SOURCE_DIR}/boards/kernel/corvanec_kernel.hex)

function(fwt_add_dist_target)
    if(NOT FWT_SHIPPED_BUILD)
        return()
    endif()
    cmake_path(ABSOLUTE_PATH CMAKE_BINARY_DIR NORMALIZE OUTPUT_VARIABLE binary)
    cmake_path(GET binary PARENT_PATH build_root)
    set(FWT_DIST_DIR ${build_root}/dist/win32 CACHE PATH "Folder of the gathered deliverables")
    set(files)
    set(targets)
    set(absent)
    foreach(entry IN LISTS FWT_DELIVERABLES)
        string(REPLACE "|" ";" pair "${entry}")
        list(GET pair 0 target)
        list(GET pair 1 name)
        if(TARGET ${target})
            list(APPEND files $<TARGET_FILE:${target}>)
            list(APPEND targets ${target})
        else()
            # Listed as missing, so that the folder's gaps show while the tree is being built.
            list(APPEND absent --absent ${name})
        endif()
    endforeach()
    add_custom_target(dist
        COMMAND ${CMAKE_COMMAND} -E env OBJDUMP=${CMAKE_OBJDUMP}
                OBJCOPY=${CMAKE_OBJCOPY}
                ${CMAKE_SOURCE_DIR}/tools/gather-dist ${FWT_DIST_DIR} ${absent} ${files}
                ${FWT_RUNTIME_FILES}
        DEPENDS ${targets}
        COMMENT "Gathering the deliverables into ${FWT_DIST_DIR}"
        VERBATIM)
endfunction()
