#include "ZibDll.h"
