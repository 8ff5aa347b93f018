#pragma once

#include "tests/support/fakeclock.h"
#include "tests/support/recordingdialogs.h"
