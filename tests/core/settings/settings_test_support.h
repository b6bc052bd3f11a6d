#pragma once

// The settings tests' helpers now live with the shared ones.
#include "test_support.h"
