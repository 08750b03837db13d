#pragma once
// The resource ids the program uses: the resource script's own header.

#include "resources/resource_ids.h"
