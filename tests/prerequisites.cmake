# Finds what the tests need beyond a C++ compiler and CMake. Each set of tests whose prerequisite
# is missing is left out, and configuration says so in one line; the programs never need any of
# it. Sets TESTS_HAVE_PYTHON, TESTS_HAVE_GROFF and TESTS_HAVE_GTEST.

find_package(Python3 COMPONENTS Interpreter)
set(TESTS_HAVE_PYTHON ${Python3_Interpreter_FOUND})
if(TESTS_HAVE_PYTHON)
    # The tests run the interpreter itself, not a launcher that leads to it (such as pyenv's),
    # which would add a third of a second to each of a few hundred runs.
    execute_process(COMMAND ${Python3_EXECUTABLE} -c "import sys; print(sys.executable)"
                    OUTPUT_VARIABLE interpreter OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(EXISTS "${interpreter}")
        set_property(TARGET Python3::Interpreter PROPERTY IMPORTED_LOCATION "${interpreter}")
    endif()
else()
    message(STATUS "Python 3 not found: the end-to-end, hostile-input and manual-page tests "
                   "are left out")
endif()

find_program(GROFF_EXECUTABLE groff)
set(TESTS_HAVE_GROFF FALSE)
if(GROFF_EXECUTABLE)
    set(TESTS_HAVE_GROFF TRUE)
elseif(TESTS_HAVE_PYTHON)
    message(STATUS "groff not found: the manual-page tests are left out")
endif()

# GoogleTest comes from the distribution's library, or, for a build against another standard
# library or for another system than the one it was compiled for, from its sources, built with
# the tests (see tests/CMakeLists.txt).
set(GTEST_SOURCE_DIR "" CACHE PATH
    "GoogleTest's source folder (such as /usr/src/googletest/googletest) to build it from")
if(GTEST_SOURCE_DIR)
    set(TESTS_HAVE_GTEST TRUE)
else()
    find_package(GTest)
    set(TESTS_HAVE_GTEST ${GTest_FOUND})
    if(NOT TESTS_HAVE_GTEST)
        message(STATUS "GoogleTest not found: the unit tests are left out")
    endif()
endif()
