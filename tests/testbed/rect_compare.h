// Comparison and printing of the platform's RECT and POINT, for GoogleTest assertions.
#pragma once

#include <windows.h>

#include <ostream>

inline bool operator==(const RECT &a, const RECT &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const RECT &a, const RECT &b) {
    return !(a == b);
}
inline std::ostream &operator<<(std::ostream &os, const RECT &rc) {
    return os << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}

inline bool operator==(const POINT &a, const POINT &b) {
    return a.x == b.x && a.y == b.y;
}
inline bool operator!=(const POINT &a, const POINT &b) {
    return !(a == b);
}
inline std::ostream &operator<<(std::ostream &os, const POINT &pt) {
    return os << "(" << pt.x << ", " << pt.y << ")";
}
