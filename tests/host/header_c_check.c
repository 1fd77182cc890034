#include "spxhk110.h"
