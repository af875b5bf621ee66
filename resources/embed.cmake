# Writes a C++ source that holds a binary file as a byte array.
# cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DSYMBOL=<name> -P embed.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    "
       bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
     "// Generated from ${INPUT}; do not edit.\n"
     "#include <cstddef>\n"
     "namespace resources::embedded {\n"
     "extern const unsigned char ${SYMBOL}[${size}] = {\n    ${bytes}\n};\n"
     "extern const std::size_t ${SYMBOL}_size = ${size};\n"
     "}  // namespace resources::embedded\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
