#include "FileSpec.h"
