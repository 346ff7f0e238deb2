# Finds what the tests need beyond a C++ compiler and CMake. Each set of tests whose prerequisite
# is missing is left out, and configuration says so in one line; the programs never need any of
# it. Sets TESTS_HAVE_PYTHON with TESTS_PYTHON, TESTS_HAVE_GROFF and TESTS_HAVE_GTEST.

find_package(Python3 COMPONENTS Interpreter)
set(TESTS_HAVE_PYTHON ${Python3_Interpreter_FOUND})
if(TESTS_HAVE_PYTHON)
    # The tests run the interpreter itself, TESTS_PYTHON, not a launcher that leads to it (such
    # as pyenv's), which would add a third of a second to each of a few hundred runs. A path,
    # not the imported target: CTest would run a target through the emulator of a cross build.
    execute_process(COMMAND ${Python3_EXECUTABLE} -c "import sys; print(sys.executable)"
                    OUTPUT_VARIABLE TESTS_PYTHON OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT EXISTS "${TESTS_PYTHON}")
        set(TESTS_PYTHON ${Python3_EXECUTABLE})
    endif()
else()
    message(STATUS "Python 3 not found: the end-to-end, hostile-input and manual-page tests "
                   "are left out")
endif()

# A WebAssembly build has only the browser tests, which look for the rest they need (tests/web/).
if(EMSCRIPTEN)
    return()
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

# Wine starts its server and its services on the first run in a prefix, and they outlive that
# run: handed the output pipes of a test, they would keep it waiting until they end. So the
# server is started here, kept for ten minutes after the last program ends (across the build
# and the tests that follow a configuration), and the services with it, their output going to a
# file; a new prefix is made on the way.
if(WINE_PREFIX)
    set(wine_log ${CMAKE_BINARY_DIR}/wine.log)
    file(MAKE_DIRECTORY ${WINE_PREFIX})
    execute_process(COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${WINE_PREFIX}
                            ${WINESERVER_EXECUTABLE} --persistent=600
                    OUTPUT_FILE ${wine_log} ERROR_FILE ${wine_log})
    execute_process(COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} wineboot
                    OUTPUT_FILE ${wine_log} ERROR_FILE ${wine_log})
endif()
