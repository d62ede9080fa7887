#pragma once

#include <string>

#include "low/low.h"
