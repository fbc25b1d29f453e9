# Turns a text file into a C++ source that defines `const char NAME[]` holding its bytes.
# Usage: cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=symbol -P embed.cmake
file(READ "${INPUT}" content HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
file(WRITE "${OUTPUT}"
  "// Generated from ${INPUT}; do not edit.\n"
  "namespace lumvane {\nextern const char ${NAME}[] = {${bytes} 0x00};\n}\n")
