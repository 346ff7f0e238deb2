# Writes OUTPUT, a module that gives the page the files listed in FILES, each under its own name
# in hex: CMake strings cannot hold every byte, and the page decodes hex in one line.
set(entries "")
foreach(path IN LISTS FILES)
    get_filename_component(name ${path} NAME)
    file(READ ${path} hex HEX)
    string(APPEND entries "  \"${name}\": \"${hex}\",\n")
endforeach()
file(WRITE ${OUTPUT} "// Generated from examples/ at build time: each sample file's bytes in hex.\n"
                     "export const EXAMPLE_FILES = {\n${entries}};\n")
