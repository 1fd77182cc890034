/* The public header compiled as C: its layout checks hold there too, and the exports link through
 * the import library from C code. */
#include "spxhk110.h"

#include "header_c_check.h"

size_t HostRecordSizeFromC(void) {
    return sizeof(HostRecord);
}

size_t ShapeOffsetFromC(void) {
    return offsetof(HostRecord, shape);
}

int DrawAndEraseBoxFromC(int x1, int y1, int x2, int y2) {
    int nDrawn = XorBox(x1, y1, x2, y2, 0);
    int nErased = XorRectBox(x1, y1, x2, y2, 0);
    return nDrawn && nErased;
}
