// The report as text: the headline figures, then one block per scene.
#pragma once

#include "programme_figures.h"

#include <cstdio>

namespace soundtrack {

void printReport(std::FILE* out, const std::string& fileName, const ProgrammeFigures& figures);

}  // namespace soundtrack
