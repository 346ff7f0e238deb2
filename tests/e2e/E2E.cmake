# Cases that limit the address space are skipped in a build whose sanitizers reserve shadow
# memory far beyond any such limit.
if("${CMAKE_CXX_FLAGS} ${CMAKE_EXE_LINKER_FLAGS}" MATCHES "-fsanitize=[^ ]*(address|memory|thread)")
    set(E2E_ENVIRONMENT E2E_NO_ADDRESS_SPACE_LIMIT=1)
else()
    set(E2E_ENVIRONMENT "")
endif()

# A program built for Windows writes its text the Windows way; one built for another system than
# this one runs through the emulator that CMake was given for it.
set(E2E_RUNNER_OPTIONS "")
if(WIN32)
    list(APPEND E2E_RUNNER_OPTIONS --windows)
endif()
if(CMAKE_CROSSCOMPILING AND CMAKE_CROSSCOMPILING_EMULATOR)
    foreach(word IN LISTS CMAKE_CROSSCOMPILING_EMULATOR)
        list(APPEND E2E_RUNNER_OPTIONS --emulator=${word})
    endforeach()
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
                     COMMAND Python3::Interpreter "${PROJECT_SOURCE_DIR}/tests/e2e/run_case.py"
                             ${E2E_RUNNER_OPTIONS} "$<TARGET_FILE:${target}>" "${case_dir}")
            set_tests_properties(${target}.e2e.${case_name} PROPERTIES
                LABELS "e2e;${target}" SKIP_RETURN_CODE 77 ENVIRONMENT "${E2E_ENVIRONMENT}")
        endif()
    endforeach()
endfunction()
