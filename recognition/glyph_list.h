// The glyphs of a set in index order, each with the name its image files carry
// (recognition/glyphs/set<set>_<name>.bmp): the digits 0 to 9, then the delimiter. Plain
// preprocessor text, so that the resource script expands the same list as the code.
#pragma once

#define QV_GLYPHS_OF_A_SET(X)                                                                      \
    X(0, 0) X(1, 1) X(2, 2) X(3, 3) X(4, 4) X(5, 5) X(6, 6) X(7, 7) X(8, 8) X(9, 9) X(10, delim)
