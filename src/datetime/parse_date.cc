#include "datetime/parse_date.h"
