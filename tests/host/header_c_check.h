#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

size_t HostRecordSizeFromC(void);
size_t ShapeOffsetFromC(void);
int DrawAndEraseBoxFromC(int x1, int y1, int x2, int y2);

#ifdef __cplusplus
}
#endif
