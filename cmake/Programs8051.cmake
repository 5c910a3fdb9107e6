# 8051 programs built from C sources with sdcc, so that tests download real programs into the
# simulated boards.
find_program(FWT_SDCC sdcc)

# fwt_8051_program(<name> SOURCE <file.c> [CODE_LOC <address>] OUTPUT_VARIABLE <var>): builds
# <name>.ihx (Intel HEX) in the current binary folder and sets <var> to its path; sets it empty
# when sdcc is missing (tests then skip what needs the program).
function(fwt_8051_program name)
    cmake_parse_arguments(P "" "SOURCE;CODE_LOC;OUTPUT_VARIABLE" "" ${ARGN})
    if(NOT FWT_SDCC)
        set(${P_OUTPUT_VARIABLE} "" PARENT_SCOPE)
        return()
    endif()
    get_filename_component(source ${P_SOURCE} ABSOLUTE)
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/${name})
    set(output ${folder}/${name}.ihx)
    set(options -mmcs51)
    if(P_CODE_LOC)
        list(APPEND options --code-loc ${P_CODE_LOC})
    endif()
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${FWT_SDCC} ${options} -o ${output} ${source}
        DEPENDS ${source}
        COMMENT "Building the 8051 program ${name}"
        VERBATIM)
    add_custom_target(${name}_8051 DEPENDS ${output})
    set(${P_OUTPUT_VARIABLE} ${output} PARENT_SCOPE)
endfunction()
