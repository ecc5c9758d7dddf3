# Writes a C++ source holding a text file as a NUL-terminated array of bytes.
# Variables: INPUT, OUTPUT, SYMBOL.
file(READ "${INPUT}" bytes HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${bytes}")
file(WRITE "${OUTPUT}" "// Made by the build from ${INPUT}; do not edit.\nextern \"C\" const char ${SYMBOL}[] = {${bytes}'\\0'};\n")
