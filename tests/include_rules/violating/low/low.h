#pragma once

#include <windows.h>
#include "high/high.h"
