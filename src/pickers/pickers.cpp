#include "pickers/pickers.h"
