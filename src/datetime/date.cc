#include "datetime/date.h"
