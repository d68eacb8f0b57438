#include "datetime/mbf.h"
