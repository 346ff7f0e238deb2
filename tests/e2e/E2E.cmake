# Cases that limit the address space are skipped in a build whose sanitizers reserve shadow
# memory far beyond any such limit.
if("${CMAKE_CXX_FLAGS} ${CMAKE_EXE_LINKER_FLAGS}" MATCHES "-fsanitize=[^ ]*(address|memory|thread)")
    set(E2E_ENVIRONMENT E2E_NO_ADDRESS_SPACE_LIMIT=1)
else()
    set(E2E_ENVIRONMENT "")
endif()

# add_e2e_cases(TARGET CASES_DIR): registers every folder below CASES_DIR as one end-to-end test
# of the executable TARGET (see e2e_case.py for what a case folder holds). Left out without
# Python.
function(add_e2e_cases target cases_dir)
    if(NOT TESTS_HAVE_PYTHON)
        return()
    endif()
    file(GLOB case_dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS "${cases_dir}/*")
    foreach(case_dir IN LISTS case_dirs)
        if(IS_DIRECTORY "${case_dir}")
            get_filename_component(case_name "${case_dir}" NAME)
            add_test(NAME ${target}.e2e.${case_name}
                     COMMAND ${TESTS_PYTHON} "${PROJECT_SOURCE_DIR}/tests/e2e/run_case.py"
                             ${PROGRAM_RUN_OPTIONS} "$<TARGET_FILE:${target}>" "${case_dir}")
            set_tests_properties(${target}.e2e.${case_name} PROPERTIES
                LABELS "e2e;${target}" SKIP_RETURN_CODE 77 ENVIRONMENT "${E2E_ENVIRONMENT}")
        endif()
    endforeach()
endfunction()
