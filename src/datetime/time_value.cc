#include "datetime/time_value.h"
