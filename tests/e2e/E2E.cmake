# Cases that limit the address space are skipped in a build whose sanitizers reserve shadow
# memory far beyond any such limit.
if("${CMAKE_CXX_FLAGS} ${CMAKE_EXE_LINKER_FLAGS}" MATCHES "-fsanitize=[^ ]*(address|memory|thread)")
    set(E2E_ENVIRONMENT E2E_NO_ADDRESS_SPACE_LIMIT=1)
else()
    set(E2E_ENVIRONMENT "")
endif()

# add_e2e_cases(NAME CASES_DIR [COMMAND PATH [RUN_OPTIONS ...] [ENVIRONMENT ...]]): registers every
# folder below CASES_DIR as one end-to-end test, NAME.e2e.<case>, of the executable target NAME,
# or of the program at PATH, run with RUN_OPTIONS (default: PROGRAM_RUN_OPTIONS) in the
# ENVIRONMENT given (see e2e_case.py for what a case folder holds). The runner needs no site
# packages, and starts in a third of the time without them. Left out without Python.
function(add_e2e_cases name cases_dir)
    if(NOT TESTS_HAVE_PYTHON)
        return()
    endif()
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "COMMAND" "RUN_OPTIONS;ENVIRONMENT")
    set(program "$<TARGET_FILE:${name}>")
    set(run_options ${PROGRAM_RUN_OPTIONS})
    if(arg_COMMAND)
        set(program ${arg_COMMAND})
        set(run_options ${arg_RUN_OPTIONS})
    endif()
    file(GLOB case_dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS "${cases_dir}/*")
    foreach(case_dir IN LISTS case_dirs)
        if(IS_DIRECTORY "${case_dir}")
            get_filename_component(case_name "${case_dir}" NAME)
            add_test(NAME ${name}.e2e.${case_name}
                     COMMAND ${TESTS_PYTHON} -S "${PROJECT_SOURCE_DIR}/tests/e2e/run_case.py"
                             ${run_options} "${program}" "${case_dir}")
            set_tests_properties(${name}.e2e.${case_name} PROPERTIES
                LABELS "e2e;${name}" SKIP_RETURN_CODE 77
                ENVIRONMENT "${E2E_ENVIRONMENT};${arg_ENVIRONMENT}")
        endif()
    endforeach()
endfunction()
