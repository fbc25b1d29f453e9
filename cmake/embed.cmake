# SPDX-License-Identifier: GPL-3.0-or-later
# Turns a text file into a C++ source that defines `const char NAME[]` holding its bytes.
# "@NAME_ALPHABET@" in the text becomes NAME_ALPHABET, the alphabet of generated file names.
# Usage: cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=symbol -DNAME_ALPHABET=text -P embed.cmake
cmake_minimum_required(VERSION 3.25)
file(READ "${INPUT}" text)
string(REPLACE "@NAME_ALPHABET@" "${NAME_ALPHABET}" text "${text}")
file(WRITE "${OUTPUT}.txt" "${text}")
file(READ "${OUTPUT}.txt" content HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
file(WRITE "${OUTPUT}"
  "// Generated from ${INPUT}; do not edit.\n"
  "namespace lumvane {\nextern const char ${NAME}[] = {${bytes} 0x00};\n}\n")
