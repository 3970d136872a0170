#include "convert/AddRemove.h"
