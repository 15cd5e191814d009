#pragma once
// Runs `body(row)` for every row in [0, rows) on all the machine's cores. For loops whose rows
// are independent (each writes only its own row), so the result is the same as run in order
// whatever the number of threads.
#include <functional>

void forEachRowInParallel(int rows, const std::function<void(int row)>& body);
